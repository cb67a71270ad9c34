#include "quilo_test/support.h"

#include <QDir>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace quilo::test {

std::string fixture(const std::string& name, const std::vector<std::string>& ffmpegArgs) {
    const char* folderValue = std::getenv("QUILO_FIXTURE_DIR");
    std::string folder = folderValue && *folderValue ? folderValue : "/tmp/quilo-fixtures";
    if (folder.back() != '/')
        folder += '/';
    const std::string path = folder + name;
    if (fileExists(path))
        return path;
    std::filesystem::create_directories(folder);

    // Written under a private name and renamed, so a parallel test never sees half a file.
    // The private name keeps the extension because ffmpeg picks the container by it.
    const std::string partial = folder + ".part-" + std::to_string(getpid()) + "-" + name;
    std::vector<std::string> args = {"-y", "-hide_banner", "-loglevel", "error"};
    args.insert(args.end(), ffmpegArgs.begin(), ffmpegArgs.end());
    args.push_back(partial);
    ProcessResult made = runProcess("ffmpeg", args, 300000);
    if (made.exitCode != 0 || !fileExists(partial)) {
        std::filesystem::remove(partial);
        throw std::runtime_error("ffmpeg could not make fixture " + name + ": " + made.err);
    }
    std::filesystem::rename(partial, path);
    return path;
}

std::string secondsClip() {
    return fixture("window-colour-seconds.mp4",
                   {"-f", "lavfi", "-i", "nullsrc=s=160x120:r=10:d=30", "-f", "lavfi", "-i",
                    "sine=frequency=440:duration=30", "-vf",
                    "geq=r='8*floor(T)':g='255-8*floor(T)':b=100,format=yuv420p", "-c:v", "libx264",
                    "-preset", "ultrafast", "-g", "20", "-c:a", "aac", "-shortest"});
}

std::string sixtySecondClip() {
    return fixture("ui-sixty-seconds.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f",
                                            "lavfi", "-i", "sine=frequency=440", "-t", "60", "-c:v",
                                            "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
}

std::string twoLanguageClip() {
    return fixture("two-languages.mkv", {"-f",
                                         "lavfi",
                                         "-i",
                                         "testsrc2=size=160x120:rate=25",
                                         "-f",
                                         "lavfi",
                                         "-i",
                                         "sine=frequency=440",
                                         "-f",
                                         "lavfi",
                                         "-i",
                                         "sine=frequency=660",
                                         "-t",
                                         "2",
                                         "-map",
                                         "0:v",
                                         "-map",
                                         "1:a",
                                         "-map",
                                         "2:a",
                                         "-c:v",
                                         "libx264",
                                         "-preset",
                                         "ultrafast",
                                         "-c:a",
                                         "aac",
                                         "-metadata:s:a:0",
                                         "language=eng",
                                         "-metadata:s:a:1",
                                         "language=ger",
                                         "-shortest"});
}

} // namespace quilo::test
