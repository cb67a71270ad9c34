// quilo-convert with names, folders and runs a hostile user makes: a line
// break in a name, a job that makes nothing, a full disk, a killed run, names
// at the file system's limit.
#include "cli_support.h"

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

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

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().filename() != "kavotempfile.tmp") // the engine's working file
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

TEST(CliUnusualInput, AJobThatMakesNothingFailsWithItsReason) {
    ConverterHome home;
    TempDir work;
    // The output "folder" is a file: a DVD job made nothing and says why.
    writeFile(work.file("taken"), "not a folder");
    ProcessResult run = home.convert({"--output", work.file("taken"), "/DVD_Folder", sixSecondClip()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("failed: the output folder " + work.file("taken") + "/ is not a folder"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("quilo-convert: no clip could be converted"), std::string::npos) << run.err;

    // A full disk (here a file size limit): the engine's reason in one line,
    // and nothing half-written left in the folder.
    const std::string out = work.file("full/");
    fs::create_directories(out);
    run = runProcess("sh",
                     {"-c", "trap '' XFSZ; ulimit -f 64; exec \"$0\" \"$@\"", programDir() + "quilo-convert",
                      "--output", out, "/MP4", sixSecondClip()},
                     300000, home.environment());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("failed: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("File too large (log: " + home.dataFolder() + "tamberlog.log)"), std::string::npos)
        << run.err;
    EXPECT_EQ(entries(out), std::vector<std::string>{});

    // Files that are no media give their reason at once.
    run = home.convert({"--output", out, "/MP4", work.file("missing.mp4"), work.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(work.file("missing.mp4") + " : no such file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(work.path() + " : a folder, not a file"), std::string::npos) << run.err;
}

TEST(CliUnusualInput, AKilledRunLeavesNothingThatLooksFinishedAndTheNextRunClearsIt) {
    ConverterHome home;
    TempDir work;
    const std::string out = work.file("out/");
    const std::string longClip =
        fixture("cli-forty-seconds.mp4",
                {"-f", "lavfi", "-i", "testsrc2=size=640x480:rate=25", "-f", "lavfi", "-i", "sine", "-t",
                 "40", "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
    QProcess killed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : home.environment())
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    killed.setProcessEnvironment(environment);
    killed.start(QString::fromStdString(programDir() + "quilo-convert"),
                 {"--output", QString::fromStdString(out), "/MP4", QString::fromStdString(longClip)});
    ASSERT_TRUE(killed.waitForStarted());
    // Killed once the engine has written into its file.
    bool writing = false;
    for (int i = 0; i < 1200 && !writing; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (const auto& name : entries(out)) {
            std::error_code error;
            if (name.rfind(".quilo-partial-", 0) == 0 && name.ends_with(".mp4") &&
                fs::file_size(out + name, error) > 100000)
                writing = true;
        }
    }
    killed.kill();
    killed.waitForFinished();
    ASSERT_TRUE(writing) << "the conversion never wrote";
    EXPECT_FALSE(fileExists(out + "cli-forty-seconds.mp4")); // nothing under the finished name

    // The next run in that folder removes the leftovers and takes the plain name.
    const ProcessResult next = home.convert({"--output", out, "/MP4", twoSecondClip()});
    ASSERT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(entries(out), std::vector<std::string>{"cli-two-seconds.mp4"});
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
