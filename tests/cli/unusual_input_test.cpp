// quilo-convert with names a hostile user makes: a line break in a name,
// names at the file system's limit.
#include "cli_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace quilo::test {
namespace {

namespace fs = std::filesystem;

std::string twoSecondClip() {
    return fixture("cli-two-seconds.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi", "-i",
                    "sine=sample_rate=44100", "-t", "2", "-ac", "2", "-c:v", "libx264", "-preset",
                    "ultrafast", "-c:a", "aac", "-shortest"});
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

TEST(CliUnusualInput, ALineBreakInANameNamesOneFile) {
    // Joined, the two halves of the name are other files of the working folder.
    ConverterHome home;
    TempDir work;
    fs::copy_file(sixSecondClip(), work.file("a.mp4"));
    fs::copy_file(sixSecondClip(), work.file("b.mp4"));
    fs::copy_file(twoSecondClip(), work.file("a.mp4\nb.mp4"));
    const ProcessResult run =
        runProcess(programDir() + "quilo-convert", {"--output", work.file("out"), "/MP4", "a.mp4\nb.mp4"},
                   300000, home.environment(), work.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> written = lines(run.out);
    ASSERT_EQ(written.size(), 1u) << run.out;
    EXPECT_EQ(written[0], work.file("out/a.mp4_b.mp4"));
    EXPECT_NEAR(durationSeconds(ffprobe(written[0])), 2.0, 0.2); // the named file, not 6 + 6 s
}

TEST(CliUnusualInput, TwoOutputsOfANameAtTheLimitBothFit) {
    ConverterHome home;
    TempDir work;
    const std::string longest = work.file(std::string(251, 'n') + ".mp4");
    fs::copy_file(twoSecondClip(), longest);
    const ProcessResult run = home.convert({"--output", work.file("out"), "/MP4", longest, longest});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> written = lines(run.out);
    ASSERT_EQ(written.size(), 2u) << run.out;
    EXPECT_EQ(fs::path(written[1]).filename().string(), "1-" + std::string(249, 'n') + ".mp4");
    for (const auto& path : written)
        EXPECT_NEAR(durationSeconds(ffprobe(path)), 2.0, 0.2) << path;
}

} // namespace
} // namespace quilo::test
