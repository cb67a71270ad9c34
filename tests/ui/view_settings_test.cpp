// What the windows keep in the settings file and read from it: the file
// dialog's filter and the progress window's end-action boxes.
#include "platform/ini_file.h"
#include "quilo_test/support.h"
#include "conversion/job_end_settings.h"
#include "ui/open_dialog_filter.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(OpenDialogFilter, PairsBecomeQtEntriesAndTheShippedFilterKeepsAllFour) {
    EXPECT_EQ(QtFileDialogFilter("Video Files|*.avi;*.mp4|All Files (*.*)|*.*"),
              "Video Files (*.avi *.mp4);;All Files (*)");

    const std::string shipped =
        IniFile(sourceDir() + "data/Option.ini").readString("Option", "OpenDialogFilter", "");
    ASSERT_FALSE(shipped.empty());
    const QStringList entries = QtFileDialogFilter(shipped).split(";;");
    ASSERT_EQ(entries.size(), 4);
    EXPECT_TRUE(entries[0].startsWith("All Supported Files (*.3g2 *.3gp "));
    EXPECT_TRUE(entries[0].contains(" *.mkv ") && entries[0].contains(" *.wav "));
    EXPECT_TRUE(entries[1].startsWith("Video Files ("));
    EXPECT_TRUE(entries[2].startsWith("Audio Files ("));
    EXPECT_EQ(entries[3], "All Files (*)");
}

TEST(OpenDialogFilter, UnusableFiltersStillLetTheUserPickFiles) {
    EXPECT_EQ(QtFileDialogFilter(""), "All Files (*)");
    EXPECT_EQ(QtFileDialogFilter("Video Files"), "All Files (*)");
    // A name whose patterns are missing is dropped; empty patterns are skipped.
    EXPECT_EQ(QtFileDialogFilter("Movies|*.mkv;;*.webm|Orphan"), "Movies (*.mkv *.webm)");
    EXPECT_EQ(QtFileDialogFilter("|*.avi|Clips| ; "), "All Files (*)");
}

TEST(JobEndSettings, DefaultsWithoutTheSectionThenWhatWasSavedComesBack) {
    TempDir folder;
    IniFile options(folder.file("Option.ini"));
    JobEndChoices fresh = LoadJobEndChoices(options);
    EXPECT_FALSE(fresh.powerOff);
    EXPECT_TRUE(fresh.openFolder);
    EXPECT_FALSE(fresh.upload);

    SaveJobEndChoices(options, {true, true, false});
    EXPECT_EQ(options.readString("Option", "PowerOff"), "1");
    EXPECT_EQ(options.readString("Option", "Upload"), "1");
    EXPECT_EQ(options.readString("Option", "OpenFolder"), "0");
    const JobEndChoices saved = LoadJobEndChoices(IniFile(folder.file("Option.ini")));
    EXPECT_TRUE(saved.powerOff);
    EXPECT_TRUE(saved.upload);
    EXPECT_FALSE(saved.openFolder);

    // Other keys of the section stay, and any non-zero number counts as checked.
    options.writeString("Option", "OutputFolder", "/videos/");
    options.writeString("Option", "OpenFolder", "7");
    SaveJobEndChoices(options, LoadJobEndChoices(options));
    EXPECT_EQ(options.readString("Option", "OutputFolder"), "/videos/");
    EXPECT_EQ(options.readString("Option", "OpenFolder"), "1");
}
