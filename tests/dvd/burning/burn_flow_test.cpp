// The burner control and the burn step on scripted drives: the disc checks,
// the capacity limits, erase and burn results, and what reaches the windows.
#include "burn_support.h"
#include "dvd/burning/disc_device.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "scripted_drives.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quilo {
namespace {

using test::ScriptedDisc;
using test::ScriptedDrives;

constexpr uint64_t MiB = 1024 * 1024;

class BurnFlowOnScriptedDrives : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedDrives().clear();
        CDevice::UseDiscLibrary(&test::ScriptedLibrary());
    }
    void TearDown() override {
        burner.UninitBurner();
        CDevice::Devices().clear();
        CDevice::SetPseudoDrives({});
        CDevice::UseDiscLibrary(nullptr);
    }
    // Scans the given drives and selects the first; returns SelectBurner's answer.
    int scanAndSelect(std::vector<std::string> addresses) {
        CDevice::SetPseudoDrives(std::move(addresses));
        burner.InitBurner(window.port());
        EXPECT_TRUE(burner.ScanBurners(true, true));
        return burner.SelectBurner(0);
    }
    // A VIDEO_TS folder of exactly `bytes`, spread over a file and a sub-folder.
    std::string dvdFolderOf(uint64_t bytes) {
        const std::string folder = work.file("job/DVD_DISC");
        std::filesystem::create_directories(folder + "/VIDEO_TS/more");
        // Sparse: the size counts, not the blocks.
        test::writeFile(folder + "/VIDEO_TS/VTS_01_1.VOB", "");
        std::filesystem::resize_file(folder + "/VIDEO_TS/VTS_01_1.VOB", bytes - 10);
        test::writeFile(folder + "/VIDEO_TS/more/VIDEO_TS.IFO", std::string(10, 'i'));
        return folder;
    }
    test::TempDir work;
    test::RecordingWindow window;
    test::RecordingProgressWindow progress;
    ScriptedPrompter prompter;
    BurnerControl burner;
};

TEST_F(BurnFlowOnScriptedDrives, DiscKindsDecideWhetherADriveCanBeUsed) {
    struct Case {
        int type;
        bool blank;
        int expected;
    } cases[] = {
        {8, false, BurnerNeedsErase},  {9, false, BurnerNeedsErase}, {7, true, BurnerUsable},
        {5, false, BurnerNotWritable}, {5, true, BurnerUsable},      {13, false, BurnerNotWritable},
        {6, false, BurnerUsable},      {6, true, BurnerUsable},      {16, true, BurnerNotWritable},
        {14, true, BurnerNotWritable}, {2, true, BurnerNotWritable}, {19, true, BurnerNotWritable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ScriptedDrives()["drive"] = {};
        ScriptedDrives()["drive"].discType = c.type;
        ScriptedDrives()["drive"].blank = c.blank;
        burner.UninitBurner();
        EXPECT_EQ(scanAndSelect({"drive"}), c.expected);
    }
    EXPECT_EQ(burner.SelectBurner(-1), BurnerMissing);
    EXPECT_EQ(burner.SelectBurner(1), BurnerMissing); // past the end of the list
    EXPECT_EQ(burner.GetBurnerName(1), "");
    EXPECT_EQ(burner.GetWriteSpeedNames(1, true), nullptr);
}

TEST_F(BurnFlowOnScriptedDrives, ASecondScanWaitsForUninit) {
    ScriptedDrives()["first"] = {};
    ScriptedDrives()["second"] = {};
    ASSERT_EQ(scanAndSelect({"first"}), BurnerUsable);
    EXPECT_EQ(burner.GetBurnerName(0), "first Scripted 1.0");
    EXPECT_TRUE(window.received(BurnerScanDone, 0));

    CDevice::SetPseudoDrives({"second", "first"});
    EXPECT_TRUE(burner.ScanBurners(true, true));
    EXPECT_EQ(burner.GetBurnerName(0), "first Scripted 1.0");
    EXPECT_NE(burner.selectedDrive(), nullptr);

    burner.UninitBurner();
    EXPECT_EQ(burner.selectedDrive(), nullptr);
    burner.InitBurner(window.port());
    EXPECT_TRUE(burner.ScanBurners(false, true)); // through the library's own search
    EXPECT_EQ(burner.GetBurnerName(0), "second Scripted 1.0");
    EXPECT_EQ(burner.GetBurnerName(1), "first Scripted 1.0");
    EXPECT_EQ(burner.GetBurnerName(2), "");
}

TEST_F(BurnFlowOnScriptedDrives, CapacityDecidesWhetherTheBurnStarts) {
    ScriptedDrives()["drive"] = {};
    ScriptedDrives()["drive"].freeBytes = 200 * MiB;
    ASSERT_EQ(scanAndSelect({"drive"}), BurnerUsable);
    const std::string tooLarge =
        "The size of the DVD file you are burning is larger than the size of the blank DVD!";
    const std::string nearlyFull = "The size of the DVD file you are burning is approximate to the size of "
                                   "the blank DVD.\nThen the burned DVD might not play properly. Do you want "
                                   "to continue?";

    // One byte too many.
    std::filesystem::remove_all(work.file("job"));
    EXPECT_EQ(RunBurnStep(burner, dvdFolderOf(200 * MiB + 1), prompter, progress), BurnResult::NotStarted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{tooLarge});
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Warning);
    EXPECT_EQ(burner.GetFolderSize(work.file("job/DVD_DISC/VIDEO_TS")), 200 * MiB + 1);

    // Exactly the free space: asks, and No means no burn.
    prompter.clear();
    std::filesystem::remove_all(work.file("job"));
    prompter.script({PromptAnswer::No});
    EXPECT_EQ(RunBurnStep(burner, dvdFolderOf(200 * MiB), prompter, progress), BurnResult::NotStarted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{nearlyFull});
    EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(ScriptedDrives()["drive"].writes, 0);
    EXPECT_EQ(progress.timerStarts, 0);

    // Just within the margin: still asks; Yes burns.
    prompter.clear();
    std::filesystem::remove_all(work.file("job"));
    prompter.script({PromptAnswer::Yes});
    EXPECT_EQ(RunBurnStep(burner, dvdFolderOf(150 * MiB + 1), prompter, progress), BurnResult::Burned);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{nearlyFull});
    EXPECT_EQ(ScriptedDrives()["drive"].writes, 1);

    // The margin left exactly: no question at all.
    prompter.clear();
    std::filesystem::remove_all(work.file("job"));
    EXPECT_EQ(RunBurnStep(burner, dvdFolderOf(150 * MiB), prompter, progress), BurnResult::Burned);
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_EQ(ScriptedDrives()["drive"].writes, 2);
}

TEST_F(BurnFlowOnScriptedDrives, MissingFolderOrDriveNeverReachesTheDrive) {
    ScriptedDrives()["drive"] = {};
    EXPECT_EQ(RunBurnStep(burner, work.file("nothing"), prompter, progress), BurnResult::FolderMissing);

    // Authored, but no drive was chosen: refused without a misleading size warning.
    const std::string folder = dvdFolderOf(1000);
    EXPECT_EQ(RunBurnStep(burner, folder, prompter, progress), BurnResult::NotStarted);
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_FALSE(burner.BurnDVDFolder());
    EXPECT_FALSE(burner.EraseDisc());

    ASSERT_EQ(scanAndSelect({"drive"}), BurnerUsable);
    std::filesystem::remove_all(work.file("job"));
    EXPECT_EQ(RunBurnStep(burner, work.file("job/DVD_DISC/"), prompter, progress), BurnResult::FolderMissing);
    const ScriptedDisc& disc = ScriptedDrives()["drive"];
    EXPECT_EQ(disc.writes + disc.ejects + disc.locks, 0);
    EXPECT_EQ(progress.timerStarts, 0);
}

TEST_F(BurnFlowOnScriptedDrives, BurnReportsItsEndAndAFailureStillEjects) {
    ScriptedDrives()["drive"] = {};
    ASSERT_EQ(scanAndSelect({"drive"}), BurnerUsable);
    burner.SetWriteSpeed(static_cast<int>(burner.speeds().size()) - 1);
    EXPECT_EQ(burner.burnParams().writeSpeedName, "16.0x");
    burner.SetVolumeLabel("  MY DISC \t");
    EXPECT_EQ(burner.burnParams().volumeLabel, "MY DISC");

    const std::string folder = dvdFolderOf(4096);
    EXPECT_EQ(RunBurnStep(burner, folder, prompter, progress), BurnResult::Burned);
    EXPECT_EQ(burner.folderToBurn(), folder + "/VIDEO_TS");
    ScriptedDisc& disc = ScriptedDrives()["drive"];
    EXPECT_EQ(disc.ejects, 1);
    EXPECT_EQ(disc.locks, disc.unlocks);
    EXPECT_FALSE(progress.animation.running());
    EXPECT_EQ(progress.label, "");
    // The burn's end, its padding events through the drive hook, and the final percent.
    EXPECT_TRUE(window.received(BurnerBurnDone, 1));
    EXPECT_TRUE(window.received(BurnerEraseDone, 0));
    EXPECT_TRUE(window.received(BurnerEraseDone, 1));
    EXPECT_EQ(window.posted().back(), std::make_pair(long{BurnerProgress}, 100L));

    disc.writeFails = true;
    progress.label = "Burning DVD ...";
    EXPECT_EQ(RunBurnStep(burner, folder, prompter, progress), BurnResult::Failed);
    EXPECT_EQ(disc.ejects, 2);
    EXPECT_EQ(disc.locks, disc.unlocks);
    EXPECT_FALSE(progress.animation.running());
    EXPECT_EQ(progress.label, "");
    EXPECT_TRUE(window.received(BurnerBurnDone, 0));
    EXPECT_EQ(burner.lastResult(), 0);
}

TEST_F(BurnFlowOnScriptedDrives, EraseUsesTheFastestSpeedAndReportsItsResult) {
    ScriptedDrives()["drive"] = {};
    ScriptedDisc& disc = ScriptedDrives()["drive"];
    disc.discType = 8;
    disc.blank = false;
    disc.maxWrite = 5540;
    disc.usedBytes = 1000;
    ASSERT_EQ(scanAndSelect({"drive"}), BurnerNeedsErase);
    EXPECT_TRUE(burner.EraseDisc());
    EXPECT_EQ(burner.eraseParams().speedName, "4.0x");
    EXPECT_EQ(burner.eraseParams().eraseType, 1u);
    EXPECT_TRUE(window.received(BurnerEraseDone, 1));
    EXPECT_EQ(burner.SelectBurner(0), BurnerUsable);

    disc.blank = false;
    disc.blankWorks = false;
    EXPECT_FALSE(burner.EraseDisc());
    EXPECT_TRUE(window.received(BurnerEraseDone, 0));
    EXPECT_EQ(burner.SelectBurner(0), BurnerNeedsErase);

    // A drive that names no speeds: the erase lets the drive choose instead of
    // reading past the end of an empty list.
    ScriptedDrives()["bare"] = disc;
    ScriptedDrives()["bare"].blankWorks = true;
    ScriptedDrives()["bare"].maxWrite = 0;
    burner.UninitBurner();
    ASSERT_EQ(scanAndSelect({"bare"}), BurnerNeedsErase);
    EXPECT_TRUE(burner.EraseDisc());
    EXPECT_TRUE(burner.speeds().empty());
    EXPECT_EQ(burner.eraseParams().speedName, "");
    burner.SetWriteSpeed(0);
    EXPECT_EQ(burner.burnParams().writeSpeedName, "");
}

TEST_F(BurnFlowOnScriptedDrives, WorksWithoutANotifyWindow) {
    ScriptedDrives()["drive"] = {};
    CDevice::SetPseudoDrives({"drive"});
    burner.InitBurner(nullptr);
    ASSERT_TRUE(burner.ScanBurners(true, true));
    ASSERT_EQ(burner.SelectBurner(0), BurnerUsable);
    EXPECT_EQ(RunBurnStep(burner, dvdFolderOf(4096), prompter, progress), BurnResult::Burned);
    EXPECT_TRUE(window.posted().empty());
}

TEST(BurnAnimation, AddsADotEachTickAndStartsOverAfterForty) {
    BurnAnimation animation;
    EXPECT_EQ(animation.Tick(), "Burning DVD .");
    EXPECT_EQ(animation.Tick(), "Burning DVD ..");
    for (int i = 0; i < 37; ++i)
        animation.Tick();
    EXPECT_EQ(animation.Tick(), "Burning DVD ");
    animation.Reset();
    EXPECT_EQ(animation.Tick(), "Burning DVD .");

    ScriptedPrompter prompter;
    ExplainBurnCannotStop(prompter);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Information);
}

} // namespace
} // namespace quilo
