#include "conversion/engine_log.h"
#include "conversion/user_log.h"
#include "platform/ini_file.h"
#include "quilo_test/support.h"

#include <gtest/gtest.h>
#include <thread>

namespace quilo {
namespace {

TEST(ConversionUserLog, RecordsAClipFromStartToEnd) {
    test::TempDir data;
    UserLog log(data.path());
    EXPECT_TRUE(log.lastConversionFinished()); // no log yet: nothing was interrupted

    EngineParameterSet parameters;
    parameters.StartTime = "5";
    parameters.OutputName = "/out/clip.avi";
    parameters.VideoResolution = "320:240";
    log.LogClipStart(parameters, 0);

    IniFile file(data.file("UserLog.log"));
    EXPECT_FALSE(log.lastConversionFinished());
    EXPECT_FALSE(file.find("UserLog", "ReturnValue"));
    EXPECT_EQ(file.readString("ProcessingInfo", "StartTime"), "5");
    EXPECT_EQ(file.readString("ProcessingInfo", "OutputName"), "/out/clip.avi");
    EXPECT_EQ(file.readString("ProcessingInfo", "GenreName"), "MyVideo");
    EXPECT_EQ(file.readInteger("ProcessingInfo", "ConvertType", -5), 0);
    EXPECT_EQ(file.readString("RunningInfo", "FPS"), "-1");
    EXPECT_EQ(file.readString("ConversionWrongInfo", "RemainTime"), "-1");
    EXPECT_FALSE(file.readString("ProcessingInfo", "SystemTime_Start").empty());

    log.LogClipEnd(-1);
    EXPECT_TRUE(log.lastConversionFinished());
    EXPECT_EQ(file.readInteger("UserLog", "ReturnValue", 99), -1);

    // The next clip clears the previous result.
    log.LogClipStart(parameters, 0);
    EXPECT_FALSE(file.find("UserLog", "ReturnValue"));
}

TEST(ConversionUserLog, NumbersErrorsAfterTheRecordedOnes) {
    test::TempDir data;
    UserLog log(data.path());
    for (int i = 0; i < 3; ++i)
        log.LogError("failure " + std::to_string(i), {"00:00:0" + std::to_string(i), "25", "00:01:00"});
    IniFile file(data.file("UserLog.log"));
    EXPECT_EQ(file.readString("Error", "ProgramError0"), "failure 0");
    EXPECT_EQ(file.readString("Error", "ProgramError2"), "failure 2");
    EXPECT_EQ(file.readString("Error", "CurrentTime2"), "00:00:02");
    EXPECT_EQ(file.readString("Error", "FPS1"), "25");
    EXPECT_TRUE(file.find("Error", "Time1"));
    EXPECT_FALSE(file.find("Error", "ProgramError3"));
}

TEST(ConversionEngineLog, KeepsOnlyTheLastClipAndDropsStatusBeats) {
    test::TempDir data;
    ASSERT_TRUE(OpenEngineLog(data.path()));
    EngineLogCallback("first clip\n");
    CloseEngineLog();
    EXPECT_EQ(test::readFile(data.file("tamberlog.log")), "first clip\n");

    ASSERT_TRUE(OpenEngineLog(data.path()));
    EngineLogCallback(std::string(23, 'x').c_str());
    EngineLogCallback(std::string(22, 'a').c_str());
    EngineLogCallback(std::string(24, 'b').c_str());
    EngineLogCallback(nullptr);
    CloseEngineLog();
    EngineLogCallback("after close");
    EXPECT_EQ(test::readFile(data.file("tamberlog.log")), std::string(22, 'a') + std::string(24, 'b'));
}

TEST(ConversionEngineLog, TakesTextsFromSeveralThreads) {
    test::TempDir data;
    ASSERT_TRUE(OpenEngineLog(data.path()));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 200; ++i)
                EngineLogCallback("line\n");
        });
    for (auto& thread : threads)
        thread.join();
    CloseEngineLog();
    EXPECT_EQ(test::readFile(data.file("tamberlog.log")).size(), 4u * 200u * 5u);
}

} // namespace
} // namespace quilo
