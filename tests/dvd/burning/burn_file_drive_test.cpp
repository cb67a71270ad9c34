// The burn flow on the real disc library: a DVD folder authored by dvdauthor
// is burned to a file drive and read back by lsdvd.
#include "quilo_test/dvd_folder.h"
#include "burn_support.h"
#include "dvd/burning/burner_settings.h"
#include "dvd/burning/disc_device.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"

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

// The drive list's image file: offered with no drive at all, written through
// the library's file drive with the same checks as a disc.
class ImageFileDrive : public BurnOnFileDrive {
protected:
    // The dialog after its first scan, finding no drive: this machine has none.
    void open() {
        dialog.chooseImageFile = [this] { return image; };
        dialog.FormShow();
        dialog.TimerTimer();
    }
    void chooseImage(const std::string& path) {
        image = path;
        dialog.DriveSelected(dialog.imageFileEntry());
        ASSERT_TRUE(dialog.imageFileChosen());
    }
    IniFile options{work.file("Option.ini")};
    BurnerSettingsModel dialog{burner, options, prompter, window.port()};
    std::string image;
};

TEST_F(ImageFileDrive, WithoutADriveTheImageFileIsOfferedAndWrittenLikeADisc) {
    std::filesystem::create_directories(work.file("job"));
    ASSERT_EQ(test::MakeDvdFolder(work.file("job/DVD_DISC"), 2), "");
    open();
    ASSERT_TRUE(CDevice::Devices().empty()) << "this test expects a machine without optical drives";
    EXPECT_EQ(dialog.drives().items, std::vector<std::string>{ImageFileEntry});
    EXPECT_EQ(dialog.writeSpeeds().items, std::vector<std::string>{"Unsupported"});
    EXPECT_FALSE(dialog.NextClicked());
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Cannot find your burner, cannot create DVD "
                                       "disc.\nPlease seletct a writable DVD driver and try "
                                       "again!"});
    prompter.clear();

    chooseImage(work.file("disc.iso"));
    EXPECT_EQ(dialog.drives().selected, dialog.imageFileEntry());
    EXPECT_EQ(dialog.hint(), "* The disc image will be written to " + image + ", click Next");
    EXPECT_EQ(dialog.discInfo().type, "DVD-RAM");
    // No more room than a single-layer DVD, however large the file system.
    const double available = std::stod(dialog.discInfo().availableSize);
    EXPECT_GT(available, 0.0);
    EXPECT_LE(available, 4482.63);
    EXPECT_TRUE(dialog.writeSpeeds().enabled);
    ASSERT_TRUE(dialog.NextClicked()) << ::testing::PrintToString(prompter.texts());

    EXPECT_EQ(RunBurnStep(burner, work.file("job/DVD_DISC"), prompter, progress), BurnResult::Burned);
    EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
    EXPECT_EQ(window.posted().back(), std::make_pair(long{BurnerProgress}, 100L));
    const auto lsdvd = test::runProcess("lsdvd", {"-Oy", image});
    ASSERT_EQ(lsdvd.exitCode, 0) << lsdvd.err;
    EXPECT_NE(lsdvd.out.find("'ix' : 2"), std::string::npos) << lsdvd.out;
    EXPECT_EQ(lsdvd.out.find("'ix' : 3"), std::string::npos) << lsdvd.out;

    // Choosing again replaces the file drive rather than adding one.
    chooseImage(work.file("second.iso"));
    EXPECT_EQ(CDevice::Devices().size(), 1u);
    EXPECT_EQ(CDevice::Devices()[0].GetDeviceName(), "stdio:" + image);
}

TEST_F(ImageFileDrive, AnImageLargerThanADvdIsRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directories(work.file("job"));
    ASSERT_EQ(test::MakeDvdFolder(work.file("job/DVD_DISC"), 1), "");
    // A sparse file: five gigabytes to measure, nothing on the disk.
    test::writeFile(work.file("job/DVD_DISC/VIDEO_TS/VTS_02_1.VOB"), "");
    std::filesystem::resize_file(work.file("job/DVD_DISC/VIDEO_TS/VTS_02_1.VOB"), 5000000000ull);
    open();
    chooseImage(work.file("big.iso"));
    ASSERT_TRUE(dialog.NextClicked());

    EXPECT_EQ(RunBurnStep(burner, work.file("job/DVD_DISC"), prompter, progress), BurnResult::NotStarted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"The size of the DVD file you are burning is larger "
                                                         "than the size of the blank DVD!"});
    EXPECT_EQ(progress.timerStarts, 0);
    EXPECT_FALSE(test::fileExists(image) && std::filesystem::file_size(image) > 0);
}

TEST_F(ImageFileDrive, AnImageThatCannotBeWrittenFailsTheBurn) {
    std::filesystem::create_directories(work.file("job"));
    ASSERT_EQ(test::MakeDvdFolder(work.file("job/DVD_DISC"), 1), "");
    open();
    // The drive opens (the folder exists) but no file can be made there.
    chooseImage("/proc/quilo-burn-test.iso");
    ASSERT_TRUE(dialog.NextClicked()) << ::testing::PrintToString(prompter.texts());

    EXPECT_EQ(RunBurnStep(burner, work.file("job/DVD_DISC"), prompter, progress), BurnResult::Failed);
    EXPECT_TRUE(window.received(BurnerBurnDone, 0));
    EXPECT_EQ(progress.timerStarts, 1);
    EXPECT_FALSE(progress.animation.running());
}

} // namespace
} // namespace quilo
