// The options dialog's model: settings file loading and saving, the output
// folder fallback, the template page, the profile page, the default audio
// language and the update reminder.
#include "profiles/audio_language.h"
#include "profiles/options_model.h"
#include "profiles/update_reminder.h"
#include "quilo_test/test_doubles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <quilo_test/support.h>

using namespace quilo;
using quilo::test::TempDir;
using quilo::test::writeFile;

namespace {

const char* Definitions = R"([Tamber-AVI]
ProfileName=AVI-Profile
OutputFormatCount=1
OutputFormatDefault=0
OutputFormatText0=avi
VideoCodecCount=2
VideoCodecText0=Xvid
VideoCodecText1=H.264
VideoCodecDefault=0
VideoResolutionCount=2
VideoResolutionText0=320:240
VideoResolutionText1=640:480
VideoResolutionDefault=1
VideoFrameRateText=Auto
VideoBitRateMin=200
VideoBitRateMax=8000
VideoBitRateDefault=1200
AudioCodecText=MP3
AudioBitrateCount=2
AudioBitrateText0=96
AudioBitrateText1=128
AudioBitrateDefault=1
AudioSampleRateText=44100
AudioVolumeMin=0
AudioVolumeMax=10

[Tamber-MP4]
OutputFormatCount=1

[Tamber-Xbox]
ProfileName=Xbox-Profile
OutputFormatCount=2
OutputFormatDefault=0
OutputFormatText0=mp4
OutputFormatText1=wmv

[Tamber-Xbox-mp4]
VideoCodecText=H.264
AudioCodecText=AAC
VideoBitRateText=2500

[Tamber-Xbox-wmv]
VideoCodecCount=2
VideoCodecText0=WMV8
VideoCodecText1=WMV7
VideoCodecDefault=1
AudioCodecText=WMA
VideoBitRateMin=500
VideoBitRateMax=4000
VideoBitRateDefault=2000
)";

class Options : public ::testing::Test {
protected:
    Options() {
        writeFile(dir.file("PfDef.dll"), Definitions);
        std::filesystem::create_directory(dir.file("home"));
        fallback = {dir.file("home/Videos/"), dir.file("home/")};
    }
    OptionsModel::Files files() const {
        return {dir.file("Option.ini"), dir.file("PfDef.dll"), dir.file("PfSetting.ini")};
    }
    std::string option(const std::string& key) const {
        return IniFile(dir.file("Option.ini")).readString("Option", key, "?");
    }

    TempDir dir;
    OutputFolderFallback fallback;
    ScriptedPrompter prompter;
};

TEST_F(Options, FreshStartTakesDefaultsAndTheHomeOutputFolder) {
    OptionsModel model(files(), prompter, fallback);
    EXPECT_EQ(model.settings().OutputFolder, dir.file("home/OutputFolder/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("home/OutputFolder")));
    EXPECT_EQ(model.audioLanguage(), 1);
    EXPECT_EQ(model.settings().DefaultAudioText(), "English");
    EXPECT_EQ(model.naming().Template, "#Name");
    EXPECT_EQ(model.naming().SerialStart, 1);
    EXPECT_EQ(model.naming().FixedDigits, 3);
    EXPECT_EQ(model.settings().MinDuration, -1);
    EXPECT_EQ(model.settings().OpenDialogFilter, "");
    EXPECT_EQ(model.templateText, "#Name");
    EXPECT_EQ(model.page(), OptionsModel::Page::FileName);
    EXPECT_FALSE(model.pageButtonEnabled(OptionsModel::Page::FileName));
    EXPECT_TRUE(model.pageButtonEnabled(OptionsModel::Page::Profile));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Option.ini"))); // nothing written yet
}

TEST_F(Options, OutputFolderPrefersTheStoredThenTheVideosFolder) {
    std::filesystem::create_directory(dir.file("home/Videos"));
    {
        OptionsModel model(files(), prompter, fallback);
        EXPECT_EQ(model.settings().OutputFolder, dir.file("home/Videos/"));
    }
    std::filesystem::create_directory(dir.file("Out"));
    writeFile(dir.file("Option.ini"), "[Option]\nOutputFolder=" + dir.file("Out") + "\nDefaultAudio=42\n");
    OptionsModel model(files(), prompter, fallback);
    EXPECT_EQ(model.outputFolderText(), dir.file("Out/"));
    EXPECT_EQ(model.audioLanguage(), 1); // no such language: the default
    EXPECT_TRUE(model.SaveLanguageAndFolder());
    EXPECT_EQ(option("OutputFolder"), dir.file("Out/"));
    EXPECT_EQ(option("DefaultAudio"), "1");

    std::filesystem::remove(dir.file("Out"));
    model.Open(); // a vanished folder falls back without a word
    EXPECT_EQ(model.outputFolderText(), dir.file("home/Videos/"));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(Options, ChosenFolderIsSavedAtOnceWithItsDownloadFolder) {
    OptionsModel model(files(), prompter, fallback);
    std::filesystem::create_directory(dir.file("Chosen"));
    model.SelectAudioLanguage(3);
    model.ChooseOutputFolder(dir.file("Chosen"));
    EXPECT_EQ(model.outputFolderText(), dir.file("Chosen/"));
    EXPECT_EQ(option("OutputFolder"), dir.file("Chosen/"));
    EXPECT_EQ(option("DefaultAudio"), "3");
    EXPECT_EQ(model.settings().DownloadFolder, dir.file("Chosen/Download/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Chosen/Download")));
}

TEST_F(Options, TagLabelsAppendWithTheChosenSeparator) {
    OptionsModel model(files(), prompter, fallback);
    model.SetAdd1(true);
    model.ClickTag(4);
    EXPECT_EQ(model.templateText, "#Name-#Time");
    model.SetAdd2(true);
    EXPECT_FALSE(model.add1());
    model.ClickTag(5);
    EXPECT_EQ(model.templateText, "#Name-#Time_#SN");
    model.templateText.clear();
    model.ClickTag(1);
    EXPECT_EQ(model.templateText, "#ClipID");
    model.ClickTag(6); // no such label
    EXPECT_EQ(model.templateText, "#ClipID");
}

TEST_F(Options, CancelKeepsTypedTextOkTakesItAndShutdownWritesIt) {
    {
        OptionsModel model(files(), prompter, fallback);
        model.Open();
        model.serialStartText = "5";
        model.Cancel();
        EXPECT_EQ(model.naming().SerialStart, 1);
        model.Open();
        EXPECT_EQ(model.serialStartText, "5");
        EXPECT_FALSE(model.changed());

        model.templateText = "#SN-#Name";
        model.fixedDigitsText = "4.9";
        model.SetAdd2(true);
        model.Ok();
        EXPECT_TRUE(model.changed());
        EXPECT_EQ(model.naming().SerialStart, 5);
        EXPECT_EQ(model.naming().FixedDigits, 4);
        EXPECT_TRUE(model.naming().Add2);
        EXPECT_EQ(option("Template"), "?"); // naming settings wait for shutdown
        EXPECT_NE(option("OutputFolder"), "?");
    }
    EXPECT_EQ(option("Template"), "#SN-#Name");
    EXPECT_EQ(option("OutputPSPSerialNumber"), "5");
    EXPECT_EQ(option("FitDigi"), "4");
    EXPECT_EQ(option("Add2"), "1");
    OptionsModel again(files(), prompter, fallback);
    EXPECT_EQ(again.templateText, "#SN-#Name");
    EXPECT_TRUE(again.add2());
}

TEST_F(Options, AJobsSerialNumbersAreStoredAtOnceAndNeverCountedBack) {
    OptionsModel model(files(), prompter, fallback);
    model.Open();
    model.ContinueSerialAt(4);
    EXPECT_EQ(model.naming().SerialStart, 4);
    EXPECT_EQ(model.serialStartText, "4");
    EXPECT_EQ(option("OutputPSPSerialNumber"), "4");
    model.ContinueSerialAt(3);
    EXPECT_EQ(model.naming().SerialStart, 4);
    // OK with the page as it shows keeps the count.
    model.Ok();
    EXPECT_EQ(model.naming().SerialStart, 4);
    EXPECT_EQ(OptionsModel(files(), prompter, fallback).naming().SerialStart, 4);
}

TEST_F(Options, ShutdownWithoutChangesLeavesAnotherProgramsNamingSettingsAlone) {
    {
        OptionsModel model(files(), prompter, fallback);
        // Meanwhile the other program of the product saved its own template.
        IniFile(dir.file("Option.ini")).writeString("Option", "Template", "#ClipID");
        model.Open();
        model.Cancel();
    }
    EXPECT_EQ(option("Template"), "#ClipID");
}

TEST_F(Options, ProfilePageListsTypesWithProfilesAndFillsFormatDependents) {
    OptionsModel model(files(), prompter, fallback);
    EXPECT_EQ(model.profileEditor().types(), (std::vector<std::string>{"AVI", "Xbox"}));
    model.Open();
    ProfileEditor& editor = model.profileEditor();
    EXPECT_EQ(editor.outputFormat.items, (std::vector<std::string>{"avi"}));
    EXPECT_EQ(editor.resolution.selected, 1);
    EXPECT_EQ(editor.audioBitrate.selected, 1);
    EXPECT_EQ(editor.volume.items.size(), 11u);
    EXPECT_EQ(editor.videoBitRate, 1200);
    EXPECT_EQ(editor.profileName, "Custom Profile");

    model.SelectType(1); // Xbox: every setting in the format's section
    EXPECT_EQ(editor.videoCodec.items, (std::vector<std::string>{"H.264"}));
    EXPECT_EQ(editor.videoBitRate, 2500);
    editor.SelectOutputFormat(1);
    EXPECT_EQ(editor.videoCodec.items, (std::vector<std::string>{"WMV8", "WMV7"}));
    EXPECT_EQ(editor.videoCodec.selected, 1);
    EXPECT_EQ(editor.videoBitRate, 2000);
    editor.SelectOutputFormat(5);
    EXPECT_TRUE(editor.videoCodec.items.empty());
    EXPECT_FALSE(editor.dependentsEnabled);
}

TEST_F(Options, SavingAndRemovingThroughTheEditor) {
    writeFile(dir.file("PfSetting.ini"),
              "[AVI-Profile]\nProfileCount=1\nProfileDefault=0\nProfileText0=First\n"
              "First=0,0,0,0,300,0,0,0,0,1,0\n");
    OptionsModel model(files(), prompter, fallback);
    model.Open();
    ProfileEditor& editor = model.profileEditor();
    ASSERT_EQ(editor.selectedProfile(), 0);
    EXPECT_EQ(editor.profileName, "First");
    EXPECT_EQ(editor.videoBitRate, 300);
    EXPECT_EQ(editor.videoCodec.selected, 1);
    EXPECT_EQ(editor.resolution.selected, 0);

    editor.profileName = "";
    editor.ProfileNameLeft();
    EXPECT_EQ(editor.profileName, "First");

    editor.profileName = " Second ";
    editor.videoBitRate = 900;
    editor.resolution.selected = 1;
    model.AddProfile();
    EXPECT_TRUE(model.changed());
    EXPECT_EQ(IniFile(dir.file("PfSetting.ini")).readString("AVI-Profile", "Second", ""),
              "0,0,1,0,900,0,0,0,0,1,0");
    // The list comes back on its default entry, not on the one just saved.
    ASSERT_EQ(editor.profiles().entries.size(), 2u);
    EXPECT_EQ(editor.selectedProfile(), 0);
    EXPECT_EQ(editor.profileName, "First");

    model.Open();
    EXPECT_FALSE(model.changed());
    model.profileEditor().SelectProfile(1);
    model.RemoveProfile(); // scripted answer: Yes
    EXPECT_TRUE(model.changed());
    EXPECT_EQ(model.profileEditor().profiles().entries.size(), 1u);
    EXPECT_EQ(prompter.texts().back(), "Profile Name : \"Second\".\nDo you want to remove it?");
}

TEST_F(Options, ChangingTheAudioLanguageRefillsFormatDependents) {
    OptionsModel model(files(), prompter, fallback);
    model.Open();
    model.profileEditor().resolution.selected = 0;
    model.profileEditor().videoBitRate = 4000;
    model.SelectAudioLanguage(0);
    EXPECT_EQ(model.profileEditor().resolution.selected, 1);
    EXPECT_EQ(model.profileEditor().videoBitRate, 1200);
    EXPECT_EQ(model.settings().DefaultAudioText(), "Deutsch");
}

TEST(DefaultAudioLanguage, PreferredThenSystemThenEnglishThenFirst) {
    const std::vector<std::string> tracks{"French", "english", "German", "ENGLISH", "german", ""};
    EXPECT_EQ(ChooseDefaultAudioTrack(tracks, "Francais", "German"), 4); // last German
    EXPECT_EQ(ChooseDefaultAudioTrack(tracks, "English", "German"), 1);  // first English
    EXPECT_EQ(ChooseDefaultAudioTrack(tracks, "Deutsch", "Thai"), 3);    // last English
    EXPECT_EQ(ChooseDefaultAudioTrack({"French", "Thai"}, "Deutsch", "Korean"), 0);
    EXPECT_EQ(ChooseDefaultAudioTrack({"", "Thai"}, "", ""), 0); // an empty wish matches nothing
    EXPECT_EQ(ChooseDefaultAudioTrack({}, "English", "English"), -1);
    EXPECT_FALSE(SystemLanguageName().empty());
}

class Reminder : public ::testing::Test {
protected:
    void run(bool finished = true) {
        RunUpdateReminder(options, finished, prompter, {[this] { ++checks; }, [this] { ++logsSent; }}, today,
                          locale);
    }
    void storeDaysAgo(int days) {
        options.writeString("sys", "UpdateDate", ShortDateText(today.addDays(-days), locale).toStdString());
    }
    TempDir dir;
    IniFile options{dir.file("Option.ini")};
    ScriptedPrompter prompter;
    QDate today{2024, 3, 5};
    QLocale locale{QLocale::English, QLocale::UnitedStates};
    int checks = 0;
    int logsSent = 0;
};

TEST_F(Reminder, FirstRunOnlyStoresToday) {
    run(false);
    EXPECT_EQ(options.readString("sys", "UpdateDate", ""), "3/5/24");
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(Reminder, AsksAfterMoreThanFifteenDays) {
    storeDaysAgo(15);
    run();
    EXPECT_TRUE(prompter.shown().empty());

    storeDaysAgo(16);
    run();
    ASSERT_EQ(prompter.texts(), std::vector<std::string>{"Do you want to check the latest version?"});
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(options.readString("sys", "UpdateDate", ""), "3/5/24");

    prompter.clear();
    storeDaysAgo(40);
    prompter.script({PromptAnswer::No});
    run();
    EXPECT_EQ(checks, 1);
}

TEST_F(Reminder, AbnormalEndOffersToSendTheLogs) {
    storeDaysAgo(1);
    run(false);
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0],
              "Our program detects abnormal end in your previous conversion.\nWould you please "
              "send us the Log File which will help us find the problem?");
    EXPECT_EQ(logsSent, 1);
    prompter.script({PromptAnswer::No});
    run(false);
    EXPECT_EQ(logsSent, 1);
}

TEST_F(Reminder, DatesFollowTheLocaleAndUnreadableOnesRestartTheCount) {
    locale = QLocale(QLocale::German, QLocale::Germany);
    storeDaysAgo(20);
    EXPECT_EQ(options.readString("sys", "UpdateDate", ""), "14.02.24");
    run();
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(options.readString("sys", "UpdateDate", ""), "05.03.24");

    prompter.clear();
    options.writeString("sys", "UpdateDate", "not a date");
    run();
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(options.readString("sys", "UpdateDate", ""), "05.03.24");
}

} // namespace
