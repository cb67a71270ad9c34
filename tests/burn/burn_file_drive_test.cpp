// The burn flow on the real disc library: a DVD folder authored by dvdauthor
// is burned to a file drive and read back by lsdvd.
#include "../disc/dvd_folder.h"
#include "burn_support.h"
#include "dvd/burner_settings.h"
#include "dvd/disc_device.h"
#include "quilo_test/support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quilo {
namespace {

class BurnOnFileDrive : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CDevice::LoadDiscLibrary(test::programDir())); }
    void TearDown() override {
        burner.UninitBurner();
        CDevice::Devices().clear();
        CDevice::SetPseudoDrives({});
    }
    int indexOf(const std::string& address) {
        const auto& drives = CDevice::Devices();
        for (size_t i = 0; i < drives.size(); ++i)
            if (drives[i].GetDeviceName() == address)
                return static_cast<int>(i);
        return -1;
    }
    test::TempDir work;
    test::RecordingWindow window;
    test::RecordingProgressWindow progress;
    ScriptedPrompter prompter;
    BurnerControl burner;
};

TEST_F(BurnOnFileDrive, DialogThenBurnStepWriteADiscLsdvdReads) {
    std::filesystem::create_directories(work.file("job"));
    ASSERT_EQ(test::MakeDvdFolder(work.file("job/DVD_DISC"), 2), "");
    const std::string image = work.file("disc.iso");
    CDevice::SetPseudoDrives({"stdio:" + image});

    // The dialog scans, finds the file drive and closes on Next.
    IniFile options(work.file("Option.ini"));
    options.writeBool("Option", "SPTI", true);
    BurnerSettingsModel dialog(burner, options, prompter, window.port());
    dialog.FormShow();
    dialog.TimerTimer();
    const int index = indexOf("stdio:" + image);
    ASSERT_GE(index, 0);
    dialog.DriveSelected(index);
    EXPECT_EQ(dialog.discInfo().type, "DVD-RAM");
    EXPECT_TRUE(dialog.writeSpeeds().enabled);
    ASSERT_TRUE(dialog.NextClicked()) << ::testing::PrintToString(prompter.texts());
    EXPECT_TRUE(window.received(BurnerScanDone, 0));

    EXPECT_EQ(RunBurnStep(burner, work.file("job/DVD_DISC/"), prompter, progress), BurnResult::Burned);
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_EQ(progress.timerStarts, 1);
    EXPECT_FALSE(progress.animation.running());
    EXPECT_EQ(progress.label, "");
    EXPECT_TRUE(window.received(BurnerBurnDone, 1));
    EXPECT_EQ(window.posted().back(), std::make_pair(long{BurnerProgress}, 100L));

    const auto lsdvd = test::runProcess("lsdvd", {"-v", "-Oy", image});
    ASSERT_EQ(lsdvd.exitCode, 0) << lsdvd.err;
    EXPECT_NE(lsdvd.out.find("'ix' : 2"), std::string::npos) << lsdvd.out;
    EXPECT_EQ(lsdvd.out.find("'ix' : 3"), std::string::npos) << lsdvd.out;
}

TEST_F(BurnOnFileDrive, ADriveThatCannotWriteFailsTheStep) {
    std::filesystem::create_directories(work.file("job"));
    ASSERT_EQ(test::MakeDvdFolder(work.file("job/DVD_DISC"), 1), "");
    CDevice::SetPseudoDrives({"stdio:/proc/version"});
    burner.InitBurner(window.port());
    ASSERT_TRUE(burner.ScanBurners(true, true));
    const int index = indexOf("stdio:/proc/version");
    ASSERT_GE(index, 0);
    burner.SelectBurner(index);
    prompter.script({PromptAnswer::Yes});
    const int result = RunBurnStep(burner, work.file("job/DVD_DISC"), prompter, progress);
    // The file's "disc" is too small for any DVD, or the write fails: either way no success.
    EXPECT_TRUE(result == BurnResult::Failed || result == BurnResult::NotStarted) << result;
    EXPECT_FALSE(progress.animation.running());
}

} // namespace
} // namespace quilo
