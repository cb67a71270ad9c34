// Adding clips against the two command-line programs that learn the same:
// `mediainfo <file>` for the analysis and one `ffmpeg` run for a 240 x 180
// thumbnail a tenth into the file. Both sides read the same 100 files (ten
// kinds of file, ten copies each) in the same run, after a pass that brings
// them into the page cache.
//
//   load_bench [files]
#include "media/clip_loader.h"
#include "quilo_test/test_doubles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Kind {
    const char* extension;
    std::vector<std::string> args; // ffmpeg arguments between the inputs and the output
    bool video = true;
};

constexpr int Seconds = 5;

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"mp4", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}},
        {"mkv", {"-c:v", "mpeg4", "-c:a", "mp2"}},
        {"avi", {"-c:v", "mpeg4", "-c:a", "libmp3lame"}},
        {"mov", {"-c:v", "mpeg4", "-c:a", "aac"}},
        {"ts", {"-c:v", "mpeg2video", "-c:a", "mp2"}},
        {"mpg", {"-c:v", "mpeg2video", "-aspect", "16:9", "-c:a", "mp2"}},
        {"wmv", {"-c:v", "wmv2", "-c:a", "wmav2"}},
        {"flv", {"-c:v", "flv1", "-c:a", "libmp3lame", "-ar", "44100"}},
        {"m4v", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-an"}},
        {"mp3", {"-vn", "-c:a", "libmp3lame"}, false},
    };
    return all;
}

const char* const sizes[] = {"320x240", "640x480", "720x576", "352x288", "640x360"};

bool run(const QString& program, const QStringList& args, QByteArray* out = nullptr) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted(10000))
        return false;
    process.closeWriteChannel();
    process.waitForFinished(120000);
    if (out)
        *out = process.readAllStandardOutput();
    else
        process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

std::string makeSample(const std::string& folder, size_t index) {
    const Kind& kind = kinds()[index];
    const std::string path = folder + "sample" + std::to_string(index) + "." + kind.extension;
    if (std::filesystem::exists(path))
        return path;
    const std::string seconds = std::to_string(Seconds);
    QStringList args = {"-y",
                        "-v",
                        "error",
                        "-f",
                        "lavfi",
                        "-i",
                        QString::fromStdString("testsrc=size=" + std::string(sizes[index % 5]) +
                                               ":rate=25:duration=" + seconds),
                        "-f",
                        "lavfi",
                        "-i",
                        QString::fromStdString("sine=frequency=500:duration=" + seconds)};
    for (const std::string& arg : kind.args)
        args << QString::fromStdString(arg);
    const std::string partial = folder + "part-" + std::to_string(index) + "." + kind.extension;
    args << QString::fromStdString(partial);
    if (!run("ffmpeg", args)) {
        std::fprintf(stderr, "ffmpeg could not make %s\n", path.c_str());
        std::exit(2);
    }
    std::filesystem::rename(partial, path);
    return path;
}

class FirstRate : public quilo::FrameRateChooser {
public:
    float ChooseFrameRate(const std::string&, float first, float) override { return first; }
};

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;

    const std::string work = std::string(QUILO_BENCH_WORK_DIR) + "load-media/";
    std::filesystem::create_directories(work + "copies");
    std::vector<std::string> samples;
    for (size_t i = 0; i < kinds().size(); ++i)
        samples.push_back(makeSample(work, i));
    std::vector<std::string> files;
    std::vector<bool> hasVideo;
    for (int i = 0; i < count; ++i) {
        const size_t kind = static_cast<size_t>(i) % samples.size();
        const std::string copy = work + "copies/clip" + std::to_string(i) + "." + kinds()[kind].extension;
        std::filesystem::copy_file(samples[kind], copy, std::filesystem::copy_options::overwrite_existing);
        files.push_back(copy);
        hasVideo.push_back(kinds()[kind].video);
    }
    for (const std::string& file : files) {
        QFile warm(QString::fromStdString(file));
        if (warm.open(QIODevice::ReadOnly))
            warm.readAll();
    }

    // Ours: the whole add, as the add button runs it.
    quilo::ScriptedPrompter prompter;
    quilo::ClipList list(prompter);
    quilo::TranzelClipEngine engine(std::string(QUILO_BENCH_PROGRAM_DIR) +
                                    quilo::TranzelClipEngine::LibraryName);
    quilo::MediaInfoProbe probe;
    FirstRate chooser;
    quilo::ClipLoader loader(list, engine, probe, chooser, prompter);
    loader.setDataFolder(work);
    std::vector<std::string> paths = files;
    // The first probe loads MediaInfo for the whole process; the programs pay
    // their own loading every time, which is their real cost.
    const Clock::time_point oursStart = Clock::now();
    loader.AddFiles(paths);
    const double ours = millisecondsSince(oursStart);
    if (list.Count() != count) {
        std::fprintf(stderr, "only %d of %d files were added: %s\n", list.Count(), count,
                     prompter.texts().empty() ? engine.error().c_str() : prompter.texts()[0].c_str());
        return 1;
    }

    // The programs: the analysis text, then one thumbnail a tenth into the file.
    const QString seek = QString::number(Seconds / 10.0);
    const QString thumbnail = QString::fromStdString(work + "thumb.bmp");
    int failures = 0;
    const Clock::time_point theirsStart = Clock::now();
    for (size_t i = 0; i < files.size(); ++i) {
        const QString file = QString::fromStdString(files[i]);
        QByteArray analysis;
        failures += !run("mediainfo", {file}, &analysis) || analysis.isEmpty();
        if (hasVideo[i])
            failures += !run("ffmpeg", {"-y", "-v", "error", "-ss", seek, "-i", file, "-frames:v", "1", "-s",
                                        "240x180", thumbnail});
    }
    const double theirs = millisecondsSince(theirsStart);
    if (failures)
        std::fprintf(stderr, "%d program runs failed\n", failures);

    std::printf("load: %d files (%zu kinds, %d s each)\n", count, samples.size(), Seconds);
    std::printf("  AddFiles (engine + MediaInfo library): %8.1f ms  %6.2f ms/file\n", ours, ours / count);
    std::printf("  mediainfo + ffmpeg thumbnail programs: %8.1f ms  %6.2f ms/file\n", theirs, theirs / count);
    std::printf("  ratio ours/programs: %.3f\n", ours / theirs);
    return failures ? 1 : 0;
}
