// The burner settings dialog's model on scripted drives: the first scan, the
// drive it picks, the transport switch and the loops of the disc check.
#include "burn_support.h"
#include "dvd/burning/burner_settings.h"
#include "dvd/burning/disc_device.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "scripted_drives.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

using test::ScriptedDisc;
using test::ScriptedDrives;

const std::string EraseQuestion = "You need erase disc before burning!\nClick Yes to start erasing disc, or "
                                  "Click No to change another writable DVD disc and try again!\nOr Click "
                                  "Cancel to abort!";

class BurnerSettingsOnScriptedDrives : public ::testing::Test {
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
    // Shows the dialog the first time and lets its timer fire.
    void open(std::vector<std::string> drives) {
        CDevice::SetPseudoDrives(std::move(drives));
        dialog.FormShow();
        ASSERT_TRUE(dialog.timerOn());
        dialog.TimerTimer();
        ASSERT_TRUE(dialog.initialised());
        EXPECT_FALSE(dialog.timerOn());
        EXPECT_FALSE(dialog.infoPanelVisible());
    }
    test::TempDir work;
    IniFile options{work.file("Option.ini")};
    test::RecordingWindow window;
    ScriptedPrompter prompter;
    BurnerControl burner;
    BurnerSettingsModel dialog{burner, options, prompter, window.port()};
};

TEST_F(BurnerSettingsOnScriptedDrives, FirstScanPicksTheFirstDriveWithAWritableDisc) {
    ScriptedDrives()["cd"] = {};
    ScriptedDrives()["cd"].discType = 14; // no disc
    ScriptedDrives()["dvd"] = {};
    ScriptedDrives()["dvd"].discType = 9;
    ScriptedDrives()["dvd"].maxWrite = 5540;
    ScriptedDrives()["dvd"].usedBytes = 3 * 1048576;
    ScriptedDrives()["dvd"].freeBytes = 1048576 + 524288;
    ScriptedDrives()["dvd"].trackCount = 2;
    ScriptedDrives()["dvd"].sessionCount = 1;
    open({"cd", "dvd"});

    // Without the key in Option.ini the library's own search (ASPI) is used.
    EXPECT_FALSE(dialog.sptiChecked());
    EXPECT_TRUE(dialog.aspiChecked());
    EXPECT_EQ(dialog.drives().items,
              (std::vector<std::string>{"cd Scripted 1.0", "dvd Scripted 1.0", ImageFileEntry}));
    EXPECT_EQ(dialog.drives().selected, 1);
    EXPECT_TRUE(dialog.drives().enabled);
    EXPECT_EQ(dialog.writeSpeeds().items, (std::vector<std::string>{"1.0x", "2.0x", "2.4x", "3.0x", "4.0x"}));
    EXPECT_EQ(dialog.writeSpeeds().selected, 4);
    EXPECT_TRUE(dialog.writeSpeeds().enabled);
    EXPECT_EQ(dialog.discInfo().type, "DVD+RW");
    EXPECT_EQ(dialog.discInfo().availableSize, "1.50");
    EXPECT_EQ(dialog.discInfo().usedSize, "3.00");
    EXPECT_EQ(dialog.discInfo().tracks, "2");
    EXPECT_EQ(dialog.discInfo().sessions, "1");

    // The other drive: no disc, no speeds.
    dialog.DriveSelected(0);
    EXPECT_EQ(dialog.writeSpeeds().items, std::vector<std::string>{"Unsupported"});
    EXPECT_FALSE(dialog.writeSpeeds().enabled);
    EXPECT_EQ(dialog.discInfo().type, "Empty");
    EXPECT_EQ(dialog.discInfo().availableSize, "0.00");

    // A disc arrives in it: the device message refreshes the selected drive.
    ScriptedDrives()["cd"].discType = 6;
    dialog.DeviceChange(0x8000);
    EXPECT_EQ(dialog.discInfo().type, "DVD-RAM");
    EXPECT_TRUE(dialog.writeSpeeds().enabled);

    // Later showings reuse the scan.
    dialog.FormShow();
    EXPECT_FALSE(dialog.timerOn());
}

TEST_F(BurnerSettingsOnScriptedDrives, NoDriveKeepsTheDialogOpen) {
    open({});
    // Only the image file is offered, and it is not chosen for the user.
    EXPECT_EQ(dialog.drives().items, std::vector<std::string>{ImageFileEntry});
    EXPECT_EQ(dialog.drives().selected, -1);
    EXPECT_TRUE(dialog.drives().enabled);
    EXPECT_EQ(dialog.writeSpeeds().items, std::vector<std::string>{"Unsupported"});
    EXPECT_EQ(dialog.discInfo().type, "");
    EXPECT_EQ(dialog.discInfo().availableSize, "0.00");
    EXPECT_EQ(dialog.discInfo().usedSize, "0.00");

    EXPECT_FALSE(dialog.NextClicked());
    EXPECT_FALSE(dialog.closed());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.shown()[0].text, "Cannot find your burner, cannot create DVD disc.\nPlease seletct a "
                                        "writable DVD driver and try again!");
    dialog.CancelClicked();
    EXPECT_TRUE(dialog.cancelled());
    EXPECT_TRUE(dialog.closed());
}

TEST_F(BurnerSettingsOnScriptedDrives, TransportSwitchAsksBeforeRescanning) {
    ScriptedDrives()["a"] = {};
    ScriptedDrives()["b"] = {};
    open({"a"});
    CDevice::SetPseudoDrives({"b"});

    prompter.script({PromptAnswer::No});
    dialog.TransportClicked(true);
    EXPECT_FALSE(dialog.sptiChecked());
    EXPECT_TRUE(dialog.aspiChecked());
    EXPECT_EQ(dialog.drives().items,
              (std::vector<std::string>{"a Scripted 1.0", ImageFileEntry})); // no rescan
    // Clicking the transport already in use asks nothing.
    dialog.TransportClicked(false);
    EXPECT_EQ(prompter.shown().size(), 1u);

    prompter.clear();
    prompter.script({PromptAnswer::Yes});
    dialog.TransportClicked(true);
    EXPECT_TRUE(dialog.sptiChecked());
    EXPECT_FALSE(dialog.aspiChecked());
    EXPECT_EQ(dialog.drives().items, (std::vector<std::string>{"b Scripted 1.0", ImageFileEntry}));
    EXPECT_TRUE(dialog.transportEnabled());
    EXPECT_TRUE(dialog.dialogEnabled());
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[1].text, "Reinitial successfully!");

    // The choice outlives the dialog, and the next first showing starts with it.
    dialog.FormDestroy();
    EXPECT_TRUE(IniFile(work.file("Option.ini")).readBool("Option", "SPTI", false));
    BurnerControl nextRun;
    ScriptedPrompter quiet;
    BurnerSettingsModel next(nextRun, options, quiet);
    next.FormShow();
    next.TimerTimer();
    EXPECT_TRUE(next.sptiChecked());
    nextRun.UninitBurner();
}

TEST_F(BurnerSettingsOnScriptedDrives, FullRewritableDiscIsErasedOnYes) {
    ScriptedDrives()["rw"] = {};
    ScriptedDisc& disc = ScriptedDrives()["rw"];
    disc.discType = 8;
    disc.blank = false;
    disc.usedBytes = 4000000000ull;
    disc.freeBytes = 0;
    open({"rw"});

    // Cancel: nothing happens, the dialog stays.
    prompter.script({PromptAnswer::Cancel});
    EXPECT_EQ(dialog.CheckDisc(), 2);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{EraseQuestion});
    EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(disc.blanks, 0);
    EXPECT_EQ(disc.ejects, 0);
    EXPECT_FALSE(dialog.closed());
    prompter.clear();

    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(dialog.NextClicked());
    EXPECT_EQ(disc.blanks, 1);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{EraseQuestion});
    EXPECT_TRUE(dialog.closed());
    EXPECT_FALSE(dialog.cancelled());
    EXPECT_TRUE(disc.blank);
    EXPECT_TRUE(dialog.dialogEnabled());
    EXPECT_TRUE(dialog.drives().enabled);
    EXPECT_GE(disc.locks, 1);
    // The chosen speed and the label went to the burner control.
    EXPECT_EQ(burner.burnParams().writeSpeedName, dialog.writeSpeeds().items.back());
    EXPECT_EQ(burner.burnParams().volumeLabel, "DVD_DISC");
}

TEST_F(BurnerSettingsOnScriptedDrives, ChangingTheDiscTriesAgain) {
    ScriptedDrives()["rw"] = {};
    ScriptedDisc& disc = ScriptedDrives()["rw"];
    disc.discType = 9;
    disc.blank = false;
    open({"rw"});

    // No: eject, wait for the user, load and check the new disc (still full), then Cancel.
    prompter.script({PromptAnswer::No, PromptAnswer::Ok, PromptAnswer::Cancel});
    EXPECT_FALSE(dialog.NextClicked());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{EraseQuestion,
                                                          "Please change another DVD disc and then click OK "
                                                          "to try again!",
                                                          EraseQuestion}));
    EXPECT_EQ(disc.ejects, 1);
    EXPECT_EQ(disc.loads, 1);
    EXPECT_EQ(disc.blanks, 0);
    EXPECT_FALSE(dialog.closed());

    // A written DVD-R cannot be used: OK retries, Cancel gives up.
    disc.discType = 5;
    prompter.clear();
    prompter.script({PromptAnswer::Ok, PromptAnswer::Cancel});
    EXPECT_EQ(dialog.CheckDisc(), 3);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].text, "Your DVD disc is not writable!\nPlease change another writable DVD "
                                        "disc and then click OK to try again!\nOr Click Cancel to abort!");
    EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(disc.ejects, 3);
}

TEST_F(BurnerSettingsOnScriptedDrives, DrivesComingAndGoingRescanAndKeepTheChoice) {
    ScriptedDrives()["a"] = {};
    ScriptedDrives()["b"] = {};
    open({"a", "b"});
    dialog.DriveSelected(1);

    // A drive arrives ahead of the chosen one: the list is new, the choice stays.
    ScriptedDrives()["usb"] = {};
    CDevice::SetPseudoDrives({"usb", "a", "b"});
    dialog.DevicesChanged();
    EXPECT_EQ(dialog.drives().items, (std::vector<std::string>{"usb Scripted 1.0", "a Scripted 1.0",
                                                               "b Scripted 1.0", ImageFileEntry}));
    EXPECT_EQ(dialog.drives().selected, 2);
    EXPECT_EQ(burner.selectedDrive()->GetDeviceName(), "b");

    // The chosen drive goes away: the first one left is chosen.
    CDevice::SetPseudoDrives({"usb", "a"});
    dialog.DevicesChanged();
    EXPECT_EQ(dialog.drives().items,
              (std::vector<std::string>{"usb Scripted 1.0", "a Scripted 1.0", ImageFileEntry}));
    EXPECT_EQ(dialog.drives().selected, 0);
    EXPECT_FALSE(dialog.infoPanelVisible());
}

TEST_F(BurnerSettingsOnScriptedDrives, DecliningTheImageFileKeepsTheDrive) {
    ScriptedDrives()["a"] = {};
    open({"a"});
    int asked = 0;
    dialog.chooseImageFile = [&] {
        ++asked;
        return std::string();
    };
    dialog.DriveSelected(dialog.imageFileEntry());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dialog.drives().selected, 0);
    EXPECT_FALSE(dialog.imageFileChosen());
    EXPECT_EQ(dialog.hint(), InsertDiscHint);
    EXPECT_EQ(burner.selectedDrive()->GetDeviceName(), "a");
}

TEST_F(BurnerSettingsOnScriptedDrives, BurnProgressReachesTheProgressWindow) {
    std::vector<int> shown;
    dialog.showPercent = [&](int percent) { shown.push_back(percent); };
    dialog.BurnerNotify(BurnerProgress, 42);
    dialog.BurnerNotify(BurnerBurnDone, 1);
    dialog.BurnerNotify(BurnerEraseDone, 1);
    EXPECT_EQ(shown, std::vector<int>{42});
}

} // namespace
} // namespace quilo
