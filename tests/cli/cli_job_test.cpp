// The converter without windows as a user meets it: trim and crop reaching
// the file, the user log, a killed conversion and its report, Ctrl-C.
#include "cli_support.h"
#include "platform/ini_file.h"
#include "quilo_test/output_folder.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <gtest/gtest.h>
#include <regex>

using namespace quilo;
using namespace quilo::test;

namespace {

std::string longClip() {
    return fixture("cli-long.mp4", {"-f", "lavfi", "-i", "testsrc2=size=640x480:rate=25", "-f", "lavfi", "-i",
                                    "sine=frequency=500", "-t", "300", "-c:v", "libx264", "-preset",
                                    "ultrafast", "-c:a", "aac", "-shortest"});
}

// The bytes the clips under construction below `folder` hold.
std::uintmax_t partialBytesUnder(const std::string& folder) {
    std::uintmax_t bytes = 0;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (isPartialOutput(it->path().filename().string()) && it->is_regular_file(error))
            bytes += it->file_size(error);
    return bytes;
}

// Starts the converter on `output` and waits until its first clip has written
// frames: the first progress line comes before the engine has read any.
void startConverting(QProcess& process, const ConverterHome& home, const std::string& output,
                     const std::vector<std::string>& arguments) {
    std::string seen;
    ASSERT_TRUE(startConverter(process, home.environment(), arguments, seen)) << seen;
    for (int i = 0; i < 600 && partialBytesUnder(output) < 200 * 1024; ++i)
        process.waitForFinished(100);
    ASSERT_GE(partialBytesUnder(output), 200u * 1024) << "nothing written after a minute";
}

// A 1280 x 720 test picture with sound, `seconds` long.
std::string hdClip(int seconds) {
    return fixture("cli-hd-" + std::to_string(seconds) + "s.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25", "-f", "lavfi", "-i",
                    "sine=frequency=500", "-t", std::to_string(seconds), "-c:v", "libx264", "-preset",
                    "ultrafast", "-c:a", "aac", "-shortest"});
}

int secondsOf(const std::string& time) {
    return std::stoi(time.substr(0, time.size() - 6)) * 3600 +
           std::stoi(time.substr(time.size() - 5, 2)) * 60 + std::stoi(time.substr(time.size() - 2));
}

} // namespace

TEST(ConverterWithoutWindows, TheWholeJobsPercentRisesToAHundredAsItsRemainingTimeFalls) {
    ConverterHome home;
    TempDir out;
    const ProcessResult run =
        home.convert({"--output", out.path(), "/MP4", hdClip(5), hdClip(15), hdClip(10)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const int seconds : {5, 15, 10})
        EXPECT_NEAR(durationSeconds(ffprobe(out.file("cli-hd-" + std::to_string(seconds) + "s.mp4"))),
                    seconds, 0.3);

    // "  41%  fps 160  remaining 00:00:02  job 26%  job remaining 00:00:06"
    const std::regex jobFigures("job (\\d+)%  job remaining (\\S+)");
    std::vector<int> percents;
    std::vector<int> remaining;
    for (std::sregex_iterator it(run.err.begin(), run.err.end(), jobFigures), end; it != end; ++it) {
        percents.push_back(std::stoi((*it)[1]));
        if ((*it)[2] != "Estimating...")
            remaining.push_back(secondsOf((*it)[2]));
    }
    ASSERT_GE(percents.size(), 3u) << run.err;
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << run.err;
    EXPECT_LT(percents.front(), 50) << run.err;
    EXPECT_EQ(percents.back(), 100) << run.err;
    ASSERT_GE(remaining.size(), 2u) << run.err;
    EXPECT_GT(remaining.front(), remaining.back()) << run.err;
    EXPECT_EQ(remaining.back(), 0) << run.err;
    // Each clip keeps its own figures beside the job's.
    EXPECT_NE(run.err.find("fps "), std::string::npos) << run.err;
}

TEST(ConverterWithoutWindows, TheUserLogRecordsTheClipAndAKillIsReportedNextTime) {
    ConverterHome home;
    TempDir out;
    ProcessResult run = home.convert({"--output", out.path(), "/MP4", sixSecondClip()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    IniFile log(home.dataFolder() + "UserLog.log");
    EXPECT_EQ(log.readInteger("UserLog", "FinishLast", -1), 1);
    EXPECT_EQ(log.readInteger("UserLog", "ReturnValue", -1), 0);
    EXPECT_EQ(log.readString("ProcessingInfo", "OutputName", ""), run.out.substr(0, run.out.find('\n')));
    EXPECT_EQ(log.readString("ProcessingInfo", "ConvertType", ""), "1");
    EXPECT_EQ(run.err.find("did not end normally"), std::string::npos);
    // The job's target is the last used one now: a run without a switch takes it.
    EXPECT_EQ(IniFile(home.dataFolder() + "Option.ini").readString("ConvertParam", "Format", ""), "MP4");

    QProcess killed;
    startConverting(killed, home, out.path(), {"--output", out.path(), "/MP4", longClip()});
    ::kill(static_cast<pid_t>(killed.processId()), SIGKILL);
    killed.waitForFinished();
    EXPECT_EQ(log.readInteger("UserLog", "FinishLast", -1), 0);
    EXPECT_EQ(log.readString("UserLog", "ReturnValue", "none"), "none");
    // The killed clip's file never got a name that looks finished.
    const std::string firstOutput = run.out.substr(0, run.out.find('\n'));
    const std::string folder = firstOutput.substr(0, firstOutput.rfind('/') + 1);
    EXPECT_EQ(finishedNamesIn(folder), (std::vector<std::string>{"cli-six-seconds.mp4"}))
        << "beside partial outputs";
    EXPECT_EQ(partialOutputsIn(folder), 1u);

    run = home.convert({"--output", out.path(), sixSecondClip()});
    EXPECT_NE(run.err.find("the previous conversion did not end normally"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("to MP4 in"), std::string::npos) << run.err;
    EXPECT_EQ(log.readInteger("UserLog", "FinishLast", -1), 1);
    // The next run in that folder removed what the killed one left.
    EXPECT_EQ(partialOutputsIn(folder), 0u);
    EXPECT_EQ(finishedNamesIn(folder),
              (std::vector<std::string>{"1-cli-six-seconds.mp4", "cli-six-seconds.mp4"}));
}

TEST(ConverterWithoutWindows, CtrlCStopsTheRunningClipAndLeavesAPlayableFile) {
    ConverterHome home;
    TempDir out;
    QProcess converting;
    startConverting(converting, home, out.path(), {"--output", out.path(), "/MP4", longClip()});
    ::kill(static_cast<pid_t>(converting.processId()), SIGINT);
    ASSERT_TRUE(converting.waitForFinished(20000));
    EXPECT_EQ(converting.exitCode(), 1); // not every clip was converted
    const std::string output = converting.readAllStandardOutput().toStdString();
    const std::string path = output.substr(0, output.find('\n'));
    ASSERT_TRUE(fileExists(path)) << output;
    const double seconds = durationSeconds(ffprobe(path));
    EXPECT_GT(seconds, 0.0);
    EXPECT_LT(seconds, 300.0);
}

TEST(ConverterWithoutWindows, ListsAndRefusals) {
    ConverterHome home;
    ProcessResult run = home.convert({"--list-targets"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 43);
    EXPECT_EQ(run.out.rfind("AVI\nMP4\n", 0), 0u);

    run = home.convert({"--list-profiles", "/iPhone"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(run.out.empty());

    run = home.convert({"/MP4", "--profile", "No such profile", sixSecondClip()});
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_NE(run.err.find("no saved profile"), std::string::npos);

    EXPECT_EQ(home.convert({"/Mp4", "a.avi"}).exitCode, 64);
    TempDir dir;
    writeFile(dir.file("text.avi"), "no video here");
    run = home.convert({"--output", dir.path(), "/AVI", dir.file("text.avi")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("UNSUPPORTED"), std::string::npos) << run.err;
}
