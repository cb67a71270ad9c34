// How soon the preview shows a frame after a seek: 50 random seconds of a
// 1080p H.264 clip with a key frame every 2 seconds, asked of the frame
// grabber one after the other, each timed from the request to the picture in
// the clip's thumbnail. The yardstick is one `ffmpeg -ss T -i FILE
// -frames:v 1` run per second asked, in the same run on the same file.
//
//   preview_bench [seeks]
#include "media/clip_loader.h"
#include "media/preview_grabber.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ClipSeconds = 30;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool run(const QStringList& args) {
    QProcess process;
    process.start("ffmpeg", args);
    if (!process.waitForStarted(10000))
        return false;
    process.closeWriteChannel();
    process.waitForFinished(-1);
    process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

std::string makeClip(const std::string& folder) {
    const std::string path = folder + "preview-1080p.mp4";
    if (std::filesystem::exists(path))
        return path;
    // Made under another name first: a run cut short leaves no half clip behind.
    const std::string partial = folder + "preview-1080p.part.mp4";
    const QStringList args = {"-y",
                              "-v",
                              "error",
                              "-f",
                              "lavfi",
                              "-i",
                              QString("testsrc2=size=1920x1080:rate=25:duration=%1").arg(ClipSeconds),
                              "-c:v",
                              "libx264",
                              "-preset",
                              "veryfast",
                              "-g",
                              "50",
                              "-keyint_min",
                              "50",
                              "-sc_threshold",
                              "0",
                              "-pix_fmt",
                              "yuv420p",
                              QString::fromStdString(partial)};
    if (!run(args))
        return {};
    std::filesystem::rename(partial, path);
    return path;
}

struct Figures {
    double median = 0, p95 = 0;
};

Figures figuresOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const auto at = [&](double fraction) {
        const auto index = static_cast<std::size_t>(fraction * static_cast<double>(times.size() - 1) + 0.5);
        return times[std::min(index, times.size() - 1)];
    };
    return {at(0.5), at(0.95)};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seeks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const std::string work = QUILO_BENCH_WORK_DIR;
    const std::string clipPath = makeClip(work);
    if (clipPath.empty()) {
        std::fprintf(stderr, "preview_bench: cannot make the 1080p clip with ffmpeg\n");
        return 1;
    }

    // Seconds 1 ... 28, never the one shown last (the session starts at the
    // middle), which would not be a seek.
    std::mt19937 random(1080);
    std::uniform_int_distribution<int> second(1, ClipSeconds - 2);
    std::vector<int> seconds;
    int previous = ClipSeconds / 2;
    while (static_cast<int>(seconds.size()) < seeks) {
        const int next = second(random);
        if (next == previous)
            continue;
        seconds.push_back(next);
        previous = next;
    }

    quilo::TVideoInfo clip;
    clip.FilePath = clipPath;
    // A long record keeps the asked seconds as they are (no step back from the end).
    clip.SetDuration(ClipSeconds * 100);
    clip.SetEndTime(ClipSeconds * 100);
    clip.Width = 1920;
    clip.Height = 1080;
    const auto [thumbWidth, thumbHeight] = quilo::ThumbnailSize(1920, 1080, false, 0);
    clip.Thumbnail = quilo::Bitmap24(thumbWidth, thumbHeight);

    quilo::PreviewGrabber grabber(QUILO_BENCH_PROGRAM_DIR "libTranzel.so", work);
    QEventLoop loop;
    // Seeking ends with the picture, or with the engine's word that there is none.
    grabber.SetMessageListener([&] {
        if (!grabber.LabelVisible())
            loop.quit();
    });
    grabber.SetClip(&clip);
    const auto showFrame = [&](int at) {
        const auto start = Clock::now();
        grabber.ShowSeeking();
        grabber.RequestFrame(at);
        if (grabber.LabelVisible())
            loop.exec();
        return millisecondsSince(start);
    };
    const double startup = showFrame(ClipSeconds / 2);
    if (grabber.LastFrameTime() != ClipSeconds / 2) {
        std::fprintf(stderr, "preview_bench: the engine showed no frame\n");
        return 1;
    }

    std::vector<double> ours, theirs;
    for (int at : seconds) {
        ours.push_back(showFrame(at));
        if (grabber.LastFrameTime() != at) {
            std::fprintf(stderr, "preview_bench: asked for %d, shown %d\n", at, grabber.LastFrameTime());
            return 1;
        }
    }
    grabber.StopGrabber();

    const std::string picture = work + "preview-frame.bmp";
    for (int at : seconds) {
        const auto start = Clock::now();
        if (!run({"-y", "-v", "error", "-ss", QString::number(at), "-i", QString::fromStdString(clipPath),
                  "-frames:v", "1", QString::fromStdString(picture)})) {
            std::fprintf(stderr, "preview_bench: ffmpeg failed at %d\n", at);
            return 1;
        }
        theirs.push_back(millisecondsSince(start));
    }

    const Figures a = figuresOf(ours), b = figuresOf(theirs);
    std::printf("preview seeks on a 1080p H.264 clip, key frame every 2 s, %d seeks\n", seeks);
    std::printf("  grabber session start (open + first frame): %.1f ms\n", startup);
    std::printf("  frame grabber:             median %7.1f ms   95th percentile %7.1f ms\n", a.median, a.p95);
    std::printf("  ffmpeg -ss T -i FILE -frames:v 1: median %7.1f ms   95th percentile %7.1f ms\n", b.median,
                b.p95);
    std::printf("  ratio grabber / ffmpeg:    median %.2f   95th percentile %.2f\n", a.median / b.median,
                a.p95 / b.p95);
    return 0;
}
