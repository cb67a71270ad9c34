// The output settings panel against the shipped definitions and built-in
// profiles: filling per target, image modes, the per-target memory, DVD and
// advanced settings, and the panel's round trip through the settings file.
#include "platform/ini_file.h"
#include "profiles/output_panel.h"
#include "profiles/output_panel_texts.h"
#include "quilo_test/test_doubles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <quilo_test/support.h>

using namespace quilo;
using quilo::test::programDir;
using quilo::test::TempDir;

namespace {

using Items = std::vector<std::string>;

class FakeClips : public CurrentClipSize, public NamingClipList {
public:
    std::optional<ClipSize> currentClipSize() const override { return size; }
    int clipCount() const override { return static_cast<int>(clips.size()); }
    std::optional<NamingClip> clip(int position) const override {
        if (position < 0 || position >= clipCount())
            return std::nullopt;
        return clips[position];
    }
    void setOutputName(int position, const std::string& name) override { names[position] = name; }

    std::optional<ClipSize> size = ClipSize{720, 576};
    std::vector<NamingClip> clips;
    std::map<int, std::string> names;
};

class OutputPanel : public ::testing::Test {
protected:
    OutputPanel() {
        settings.OutputFolder = dir.path() + "out/";
        panel = makePanel();
    }

    std::unique_ptr<OutputPanelModel> makePanel() {
        auto made = std::make_unique<OutputPanelModel>(OutputPanelModel::Files{programDir() + "PfDef.dll",
                                                                               programDir() + "PfSetting.ini",
                                                                               dir.file("Option.ini")},
                                                       settings, prompter);
        made->setClipSize(&clips);
        made->setNamingClips(&clips);
        return made;
    }

    const PanelControls& c() const { return panel->controls(); }

    TempDir dir;
    OptionSettings settings;
    ScriptedPrompter prompter;
    FakeClips clips;
    std::unique_ptr<OutputPanelModel> panel;
};

// ---- filling from the definitions ----

TEST_F(OutputPanel, AviIsFilledFromItsSection) {
    panel->ClickCategory(Category::GeneralVideo);

    EXPECT_EQ(panel->currentTarget(), Target::AVI);
    EXPECT_EQ(panel->definitionSection(), "Tamber-AVI");
    EXPECT_EQ(c().videoCodec.items, (Items{"Xvid", "MPEG-4", "H.264"}));
    EXPECT_EQ(c().videoCodec.index, 0);
    EXPECT_EQ(c().videoCodec.colour, ControlColour::Grey);
    EXPECT_EQ(c().outputFormat.items, Items{"avi"});
    EXPECT_EQ(c().outputFormat.index, 0);
    EXPECT_EQ(c().audioBitRate.text(), "128");
    EXPECT_EQ(c().audioSampleRate.text(), "44100");
    EXPECT_EQ(c().audioChannel.text(), "2 Channels Stereo");
    EXPECT_EQ(c().videoBitRate.text, "1200");
    EXPECT_EQ(c().volume.minimum, 0);
    EXPECT_EQ(c().volume.maximum, 10);
    EXPECT_EQ(c().volumeLabel, "+ 0 db.");

    // "Original Size and Keep Aspect Ratio": the boxes show the clip and cannot be typed in.
    EXPECT_EQ(panel->outputImageModeValue(), 1);
    EXPECT_FALSE(c().videoWidth.enabled);
    EXPECT_EQ(c().videoWidth.text, "720");
    EXPECT_EQ(c().videoHeight.text, "576");
    EXPECT_EQ(c().videoWidth.colour, ControlColour::LightGreen);
    EXPECT_EQ(c().imageMode.colour, ControlColour::LightGreen);

    // No resolution list: the width and height boxes take the row.
    EXPECT_FALSE(c().resolution.visible);
    EXPECT_TRUE(c().videoWidth.visible);
    EXPECT_TRUE(c().sizeSeparatorVisible);
    EXPECT_FALSE(c().savedProfile.visible);
    EXPECT_FALSE(c().displayName.visible);
    EXPECT_FALSE(c().dvdSetting.visible);
    EXPECT_FALSE(c().addLetterBox.visible);
    EXPECT_EQ(c().outputFolder.text, settings.OutputFolder + "AVI/");
}

TEST_F(OutputPanel, AFixedChoiceOfTheTargetSurvivesAnEmptyFormatSection) {
    // MP4 fixes its audio codec in its own section and has no format section.
    panel->ClickCategory(Category::GeneralVideo);
    panel->ClickTarget(Target::MP4);
    EXPECT_EQ(c().audioCodec.items, Items{"AAC"});
    EXPECT_EQ(c().audioCodec.index, 0);
    EXPECT_FALSE(c().audioCodec.enabled);
    EXPECT_EQ(c().audioCodec.colour, ControlColour::White);

    // The same after the format's codec lists are rebuilt.
    panel->ChangeOutputFormat(0);
    EXPECT_EQ(c().audioCodec.items, Items{"AAC"});
    EXPECT_EQ(c().audioCodec.index, 0);
}

TEST_F(OutputPanel, MusicHidesTheVideoRowsButKeepsTheAudioFormat) {
    panel->ClickCategory(Category::Music);

    EXPECT_EQ(panel->currentTarget(), Target::MP3);
    EXPECT_TRUE(c().audioCodec.visible);
    EXPECT_EQ(c().audioCodec.items, Items{"MP3"});
    for (bool shown :
         {c().videoCodec.visible, c().outputFormat.visible, c().videoFrameRate.visible,
          c().videoBitRate.visible, c().imageMode.visible, c().resolutionLabelVisible, c().resolution.visible,
          c().videoWidth.visible, c().videoHeight.visible, c().sizeSeparatorVisible, c().highQuality.visible,
          c().deinterlace.visible, c().forceSync.visible, c().cropButtonVisible})
        EXPECT_FALSE(shown);

    panel->ClickCategory(Category::GeneralVideo);
    EXPECT_TRUE(c().videoCodec.visible);
    EXPECT_TRUE(c().imageMode.visible);
    EXPECT_TRUE(c().cropButtonVisible);
}

TEST_F(OutputPanel, ADeviceTargetShowsItsTagsResolutionsAndDefaultProfile) {
    panel->ClickCategory(Category::Apple);
    panel->ClickTarget(Target::iPhone);

    EXPECT_TRUE(c().displayName.visible);
    EXPECT_TRUE(c().artistName.visible);
    EXPECT_TRUE(c().resolution.visible);
    EXPECT_FALSE(c().videoWidth.visible);
    EXPECT_FALSE(c().sizeSeparatorVisible);

    ASSERT_TRUE(c().savedProfile.visible);
    ASSERT_EQ(c().savedProfile.count(), 3);
    EXPECT_EQ(c().savedProfile.index, 0);
    EXPECT_EQ(c().savedProfile.items[0], "iPhone Retina : Video-mp4,960:640,1500kbps,Audio-128kbps,44100hz");
    // "iPhone Retina" = 0,0,2,6,1500,2,0,0,1,0,0 is applied.
    EXPECT_EQ(c().videoBitRate.text, "1500");
    EXPECT_EQ(c().resolution.text(), "960:640");
    EXPECT_EQ(c().videoFrameRate.text(), "29.97");
    EXPECT_EQ(c().audioBitRate.text(), "128");

    // Another entry applies its own values.
    panel->ChangeSavedProfile(2); // iPhone 3G = 0,0,0,6,768,2,...
    EXPECT_EQ(c().videoBitRate.text, "768");
    EXPECT_EQ(c().resolution.text(), "480:320");
    EXPECT_EQ(panel->selection().rememberedProfile(Target::iPhone), 2);
}

TEST_F(OutputPanel, DvdTargetsShowTheirSettingsAndTexts) {
    panel->ClickCategory(Category::DVD);
    EXPECT_EQ(panel->currentTarget(), Target::VOB_File);
    EXPECT_TRUE(c().dvdPanelVisible);
    EXPECT_TRUE(c().dvdSetting.visible);
    EXPECT_EQ(c().dvdLabel, panel_text::VobFileLabel);
    EXPECT_EQ(c().outputFolder.text, settings.OutputFolder + "DVD/");

    panel->ClickTarget(Target::DVD_Folder);
    EXPECT_EQ(c().dvdLabel, panel_text::DvdFolderLabel);
    // DVD_ISO has no text of its own.
    panel->SelectTargetAsClicked(Target::DVD_ISO);
    EXPECT_EQ(c().dvdLabel, panel_text::DvdFolderLabel);
    EXPECT_TRUE(c().dvdSetting.visible);

    panel->ClickCategory(Category::HDVideo);
    EXPECT_FALSE(c().dvdPanelVisible);
    EXPECT_FALSE(c().dvdSetting.visible);
}

// ---- image modes and sizes ----

TEST_F(OutputPanel, HdOriginalSizeReplacesTheResolutionListWithTheClipSize) {
    panel->ClickCategory(Category::HDVideo);
    ASSERT_EQ(panel->currentTarget(), Target::HDAVI);
    // The definition's default mode fits to a chosen resolution.
    EXPECT_EQ(panel->outputImageModeValue(), 2);
    EXPECT_EQ(c().resolution.items, (Items{"1280:720", "1440:1080", "1920:1080"}));

    panel->ChangeImageMode(0);
    EXPECT_EQ(panel->outputImageModeValue(), 1);
    EXPECT_EQ(c().resolution.items, Items{panel_text::OriginalSize});
    EXPECT_EQ(c().resolution.index, 0);
    EXPECT_TRUE(c().resolution.visible);
    EXPECT_FALSE(c().resolution.enabled);
    EXPECT_FALSE(c().videoWidth.enabled);
    EXPECT_FALSE(c().videoHeight.enabled);
    EXPECT_EQ(c().videoWidth.text, "720");
    EXPECT_EQ(c().videoHeight.text, "576");

    panel->ChangeImageMode(1);
    EXPECT_EQ(c().resolution.count(), 3);
    EXPECT_EQ(c().resolution.index, 0);
    EXPECT_TRUE(c().resolution.enabled);
    EXPECT_TRUE(c().videoWidth.enabled);

    // Between two modes with the same list the chosen resolution stays.
    panel->ChangeResolution(2);
    panel->ChangeImageMode(2);
    EXPECT_EQ(panel->outputImageModeValue(), 0);
    EXPECT_EQ(c().resolution.text(), "1920:1080");
}

TEST_F(OutputPanel, MpegVariantTakesItsOwnSectionAndShowsTheLetterBox) {
    clips.clips.push_back({"/videos/Titanic.avi", 0, 60, 720, 576});
    panel->ClickCategory(Category::GeneralVideo);
    panel->ClickTarget(Target::MPEG);
    EXPECT_EQ(clips.names[0], "Titanic.mpg");

    panel->ChangeImageMode(3); // DVD NTSC 16:9
    EXPECT_EQ(panel->outputImageModeValue(), 11);
    EXPECT_TRUE(c().addLetterBox.visible);
    EXPECT_FALSE(c().videoWidth.visible);
    EXPECT_FALSE(c().videoHeight.visible);
    EXPECT_FALSE(c().resolutionLabelVisible);
    EXPECT_FALSE(c().sizeSeparatorVisible);
    EXPECT_EQ(c().videoCodec.items, Items{"MPEG-2 (DVD)"});
    EXPECT_FALSE(c().videoCodec.enabled);
    EXPECT_EQ(c().videoFrameRate.items, Items{"29.97"});
    EXPECT_EQ(c().audioCodec.items, (Items{"AC3", "MP2"}));
    EXPECT_EQ(c().audioSampleRate.items, Items{"48000"});
    EXPECT_EQ(c().outputFormat.items, Items{"dvd"});
    EXPECT_EQ(c().videoBitRate.text, "6000");
    EXPECT_EQ(c().videoWidth.text, "720");
    EXPECT_FALSE(c().videoWidth.enabled);
    // The volume list stays the target's own.
    EXPECT_EQ(c().volume.maximum, 10);
    EXPECT_EQ(clips.names[0], "Titanic.vob");

    panel->ChangeImageMode(0);
    EXPECT_EQ(panel->outputImageModeValue(), 1);
    EXPECT_FALSE(c().addLetterBox.visible);
    EXPECT_TRUE(c().videoWidth.visible);
    EXPECT_TRUE(c().resolutionLabelVisible);
    EXPECT_EQ(c().outputFormat.items, (Items{"mpeg2", "mpeg1"}));
    EXPECT_EQ(c().videoCodec.items, (Items{"MPEG-2", "MPEG-1"}));
    EXPECT_EQ(c().videoBitRate.text, "4000");
    EXPECT_EQ(clips.names[0], "Titanic.mpg");
}

TEST_F(OutputPanel, MpegChoicesSurviveAChangeBetweenThePlainModes) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->ClickTarget(Target::MPEG);
    panel->ChangeAudioBitRate(5);
    panel->ChangeVideoCodec(1);
    panel->SetVideoBitRateText("7000");
    panel->MoveVolume(4);

    panel->ChangeImageMode(1); // custom size, same lists
    EXPECT_EQ(c().audioBitRate.index, 5);
    EXPECT_EQ(c().videoCodec.index, 1);
    EXPECT_EQ(c().videoBitRate.text, "7000");
    EXPECT_EQ(c().volume.position, 4);
}

TEST_F(OutputPanel, CustomModesUseTheRememberedSizeOnlyWhenItIsUsable) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->ChangeImageMode(1); // custom size, keep aspect
    ASSERT_TRUE(c().videoWidth.enabled);
    // The size the box held when the target was filled is the remembered one.
    EXPECT_EQ(c().videoWidth.text, "640");
    EXPECT_EQ(c().videoHeight.text, "480");

    panel->SetWidthText("6");
    panel->SetHeightText("480");
    panel->ChangeImageMode(2); // stretch: 6 by 480 is remembered, but 6 is below 8
    EXPECT_EQ(panel->customWidth(), 6);
    EXPECT_EQ(c().videoWidth.text, "720");
    EXPECT_EQ(c().videoHeight.text, "576");

    panel->SetWidthText("400");
    panel->SetHeightText("300");
    panel->ChangeImageMode(1);
    EXPECT_EQ(c().videoWidth.text, "400");
    EXPECT_EQ(c().videoHeight.text, "300");

    // Without a current clip the original-size mode leaves the boxes alone.
    clips.size.reset();
    panel->ChangeImageMode(0);
    EXPECT_EQ(c().videoWidth.text, "400");
    EXPECT_FALSE(c().videoWidth.enabled);

    // A checked clip brings the source size back.
    clips.size = ClipSize{1280, 720};
    panel->ClipCheckedChanged();
    EXPECT_EQ(c().videoWidth.text, "1280");
    EXPECT_EQ(c().videoHeight.text, "720");
}

TEST_F(OutputPanel, LeavingASizeBoxCutsToAMultipleOfFourTowardsZero) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->ChangeImageMode(1);
    const std::pair<const char*, const char*> cases[] = {{"642", "640"}, {"3", "0"},    {"644", "644"},
                                                         {"-7", "-4"},   {"wide", "0"}, {"", "0"}};
    for (const auto& [typed, left] : cases) {
        panel->SetWidthText(typed);
        panel->LeaveWidth();
        EXPECT_EQ(c().videoWidth.text, left) << typed;
        panel->SetHeightText(typed);
        panel->LeaveHeight();
        EXPECT_EQ(c().videoHeight.text, left) << typed;
    }
}

TEST_F(OutputPanel, OutputNamesFollowTheSizeBoxes) {
    settings.Naming.Template = "#Name-#Resolution";
    clips.clips.push_back({"/videos/Titanic.avi", 0, 60, 720, 576});
    panel->ClickCategory(Category::GeneralVideo);
    EXPECT_EQ(clips.names[0], "Titanic-720x576.avi");

    panel->ChangeImageMode(1);
    panel->SetWidthText("402");
    EXPECT_EQ(clips.names[0], "Titanic-402x480.avi");
    panel->LeaveWidth();
    EXPECT_EQ(clips.names[0], "Titanic-400x480.avi");
}

// ---- per-target memory ----

TEST_F(OutputPanel, ATargetGetsItsChoicesBackAfterAnother) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->ChangeAudioCodec(1);
    panel->ChangeAudioSampleRate(3);
    panel->ChangeAudioChannel(0);
    panel->ChangeAudioBitRate(6);
    panel->ChangeVideoCodec(2);
    panel->ChangeVideoFrameRate(3);
    panel->SetVideoBitRateText("2500");
    panel->ChangeImageMode(1);
    panel->SetWidthText("400");
    panel->SetHeightText("300");
    panel->MoveVolume(7);

    panel->ClickTarget(Target::MP4);
    EXPECT_EQ(c().videoCodec.items, (Items{"MPEG-4", "H.264"}));
    EXPECT_EQ(c().videoCodec.index, 0);
    EXPECT_EQ(c().volume.position, 0);
    EXPECT_EQ(c().videoBitRate.text, "1200");

    panel->ClickTarget(Target::AVI);
    EXPECT_EQ(c().audioCodec.text(), "AC3");
    EXPECT_EQ(c().audioSampleRate.text(), "48000");
    EXPECT_EQ(c().audioChannel.text(), "1 Channel Mono");
    EXPECT_EQ(c().audioBitRate.text(), "192");
    EXPECT_EQ(c().videoCodec.text(), "H.264");
    EXPECT_EQ(c().videoFrameRate.text(), "25");
    EXPECT_EQ(c().videoBitRate.text, "2500");
    EXPECT_EQ(c().imageMode.index, 1);
    EXPECT_TRUE(c().videoWidth.enabled);
    EXPECT_EQ(c().videoWidth.text, "400");
    EXPECT_EQ(c().videoHeight.text, "300");
    EXPECT_EQ(c().volume.position, 7);
    EXPECT_EQ(c().volumeLabel, "+ 7 db.");
    ASSERT_NE(panel->memory(Target::MP4), nullptr);
    EXPECT_TRUE(panel->memory(Target::MP4)->saved);
}

TEST_F(OutputPanel, AudioTargetsFromMp3OnAreRebuiltEveryTime) {
    panel->ClickCategory(Category::Music);
    panel->ClickTarget(Target::WAV);
    EXPECT_EQ(c().audioSampleRate.index, 2);
    panel->ChangeAudioSampleRate(0);
    panel->MoveVolume(5);

    panel->ClickTarget(Target::MP3);
    panel->ClickTarget(Target::WAV);
    EXPECT_EQ(c().audioSampleRate.index, 2);
    EXPECT_EQ(c().volume.position, 0);
    EXPECT_EQ(panel->memory(Target::WAV), nullptr);

    // M4A still has a slot.
    panel->ClickTarget(Target::M4A);
    panel->ChangeAudioSampleRate(0);
    panel->ClickTarget(Target::WAV);
    panel->ClickTarget(Target::M4A);
    EXPECT_EQ(c().audioSampleRate.index, 0);
}

TEST_F(OutputPanel, AnMpegVariantIsRememberedWithItsOwnLists) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->ClickTarget(Target::MPEG);
    panel->ChangeImageMode(4); // DVD PAL 16:9
    panel->ChangeAudioCodec(1);
    panel->ChangeAudioBitRate(4);
    panel->SetVideoBitRateText("8000");

    panel->ClickTarget(Target::AVI);
    EXPECT_FALSE(c().addLetterBox.visible);
    panel->ClickTarget(Target::MPEG);
    EXPECT_EQ(panel->outputImageModeValue(), 12);
    EXPECT_TRUE(c().addLetterBox.visible);
    EXPECT_FALSE(c().videoWidth.visible);
    EXPECT_EQ(c().videoFrameRate.items, Items{"25"});
    EXPECT_EQ(c().audioCodec.text(), "MP2");
    EXPECT_EQ(c().audioBitRate.text(), "384");
    EXPECT_EQ(c().videoBitRate.text, "8000");
}

TEST_F(OutputPanel, ARememberedProfileIsSelectedAgainWithoutUndoingTheSlot) {
    panel->ClickCategory(Category::Apple);
    panel->ClickTarget(Target::iPhone);
    panel->ChangeSavedProfile(2); // iPhone 3G: 480:320, 768 kbps
    panel->SetVideoBitRateText("700");

    panel->ClickTarget(Target::iPad);
    panel->ClickTarget(Target::iPhone);
    EXPECT_EQ(c().savedProfile.index, 2);
    EXPECT_EQ(c().videoBitRate.text, "700");
    EXPECT_EQ(c().resolution.text(), "480:320");
}

TEST_F(OutputPanel, ChangedOptionsMoveTheFolderAndKeepTheChoices) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->ChangeVideoCodec(1);
    panel->MoveVolume(3);
    EXPECT_EQ(panel->FolderToOpen(), settings.OutputFolder); // "AVI/" does not exist

    settings.OutputFolder = dir.path();
    panel->OptionsChanged();
    EXPECT_EQ(c().outputFolder.text, dir.path() + "AVI/");
    EXPECT_EQ(c().videoCodec.index, 1);
    EXPECT_EQ(c().volume.position, 3);
    std::filesystem::create_directory(dir.path() + "AVI");
    EXPECT_EQ(panel->FolderToOpen(), dir.path() + "AVI/");
}

// ---- DVD settings, advanced options, processor cores ----

TEST_F(OutputPanel, TheDvdSelectorSetsTheBoxesAndTheBoxesLeaveItAlone) {
    panel->ClickCategory(Category::DVD);
    EXPECT_EQ(c().dvdSetting.count(), 4);

    panel->ChangeDvdSetting(3);
    EXPECT_TRUE(c().dvdPal.checked);
    EXPECT_FALSE(c().dvdNtsc.checked);
    EXPECT_TRUE(c().dvd169.checked);
    EXPECT_FALSE(c().dvd43.checked);

    panel->ReleaseDvdNtsc();
    EXPECT_TRUE(c().dvdNtsc.checked);
    EXPECT_FALSE(c().dvdPal.checked);
    EXPECT_TRUE(c().dvd169.checked);
    EXPECT_EQ(c().dvdSetting.index, 3);

    panel->ChangeDvdSetting(2);
    EXPECT_TRUE(c().dvdPal.checked);
    EXPECT_TRUE(c().dvd43.checked);
    EXPECT_FALSE(c().dvd169.checked);
    panel->ReleaseDvd169();
    EXPECT_TRUE(c().dvd169.checked);
    EXPECT_FALSE(c().dvd43.checked);
    EXPECT_TRUE(c().dvdPal.checked);
}

TEST_F(OutputPanel, CheckingAnAdvancedOptionExplainsItOnce) {
    panel->SetDeinterlace(true);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Information);
    EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(prompter.shown()[0].text, "If your original video is interleaving video, the Advanced "
                                        "De-interlace Accelerator can make it much clearer.");
    EXPECT_TRUE(c().deinterlace.checked);
    panel->SetDeinterlace(false);
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_FALSE(c().deinterlace.checked);

    panel->SetHighQuality(true);
    panel->SetForceSync(true);
    ASSERT_EQ(prompter.shown().size(), 3u);
    EXPECT_EQ(prompter.shown()[1].text,
              "This feature can improve the image quality. But it will slow down the "
              "converting process.");
    EXPECT_NE(prompter.shown()[2].text.find("Synchronizer can help you solve the problem.\nPlease do not"),
              std::string::npos);
}

TEST_F(OutputPanel, ProcessorCoresFromTheEngine) {
    EXPECT_EQ(c().cpuCores.items, Items{"1"});
    EXPECT_FALSE(c().cpuCores.enabled);
    for (int cores : {-1, 0, 1}) {
        panel->SetProcessorCores(cores);
        EXPECT_EQ(c().cpuCores.items, Items{"1"});
        EXPECT_EQ(c().cpuCores.index, 0);
        EXPECT_FALSE(c().cpuCores.enabled);
    }
    panel->SetProcessorCores(4);
    EXPECT_EQ(c().cpuCores.items, (Items{"1", "2", "3", "4"}));
    EXPECT_EQ(c().cpuCores.index, 1);
    EXPECT_TRUE(c().cpuCores.enabled);
}

TEST_F(OutputPanel, TheVolumeLabelFollowsTheSliderWithinItsRange) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->MoveVolume(3);
    EXPECT_EQ(c().volumeLabel, "+ 3 db.");
    panel->MoveVolume(25);
    EXPECT_EQ(c().volume.position, 10);
    EXPECT_EQ(c().volumeLabel, "+ 10 db.");
}

// ---- the settings file ----

class PanelSettings : public OutputPanel {
protected:
    PanelSettings() { panel->SetProcessorCores(4); }

    IniFile options() const { return IniFile(dir.file("Option.ini")); }

    void store(const std::map<std::string, std::string>& keys) {
        IniFile file = options();
        for (const auto& [key, value] : keys)
            file.writeString(ConvertParamSection, key, value);
    }

    // A second panel, as at the next start, restored from what this one saved.
    std::unique_ptr<OutputPanelModel> saveAndRestore() {
        EXPECT_TRUE(panel->SavePanel());
        auto next = makePanel();
        next->SetProcessorCores(4);
        next->RestorePanel();
        return next;
    }

    static void expectSameSettings(const PanelControls& a, const PanelControls& b) {
        for (auto selector :
             {&PanelControls::savedProfile, &PanelControls::imageMode, &PanelControls::resolution,
              &PanelControls::videoFrameRate, &PanelControls::videoCodec, &PanelControls::outputFormat,
              &PanelControls::audioCodec, &PanelControls::audioBitRate, &PanelControls::audioSampleRate,
              &PanelControls::cpuCores}) {
            EXPECT_EQ((a.*selector).items, (b.*selector).items);
            EXPECT_EQ((a.*selector).index, (b.*selector).index);
        }
        EXPECT_EQ(a.videoBitRate.text, b.videoBitRate.text);
        EXPECT_EQ(a.videoWidth.text, b.videoWidth.text);
        EXPECT_EQ(a.videoHeight.text, b.videoHeight.text);
        EXPECT_EQ(a.volume.position, b.volume.position);
        EXPECT_EQ(a.displayName.text, b.displayName.text);
        EXPECT_EQ(a.artistName.text, b.artistName.text);
        EXPECT_EQ(a.dvdNtsc.checked, b.dvdNtsc.checked);
        EXPECT_EQ(a.dvdPal.checked, b.dvdPal.checked);
        EXPECT_EQ(a.dvd169.checked, b.dvd169.checked);
        EXPECT_EQ(a.dvd43.checked, b.dvd43.checked);
        EXPECT_EQ(a.addLetterBoxVob.checked, b.addLetterBoxVob.checked);
        EXPECT_EQ(a.addLetterBox.visible, b.addLetterBox.visible);
    }
};

TEST_F(PanelSettings, WithoutStoredSettingsGeneralVideoIsSelected) {
    panel->RestorePanel();
    EXPECT_EQ(panel->currentCategory(), Category::GeneralVideo);
    EXPECT_EQ(panel->currentTarget(), Target::AVI);
    EXPECT_EQ(c().videoCodec.index, 0);
}

TEST_F(PanelSettings, RestoreSelectsTheStoredTargetAndProfileBeforeTheIndexes) {
    store({{"Type", "2"},
           {"Format", "iPhone"},
           {"profile", "0"},
           {"AudioQuality", "4"},
           {"AudioSampleRate", "1"},
           {"volume", "6"},
           {"AudioFormat", "0"},
           {"VideoQuality", "1800"},
           {"VideoFrameRate", "5"},
           {"OutputFormat", "0"},
           {"VideoCodec", "1"},
           {"OutputImageSetting", "1"},
           {"VideoResolution", "9"}, // beyond the list: the profile's choice stays
           {"VideoWidth", "640"},
           {"VideoHeight", "480"},
           {"CPUCore", "3"},
           {"DisplayName", "Holiday"},
           {"ArtisName", "Nobody"},
           {"DVD_NTSC", "0"},
           {"DVD_169", "0"},
           {"Box_VOB", "0"}});
    panel->RestorePanel();

    EXPECT_EQ(panel->currentCategory(), Category::Apple);
    EXPECT_EQ(panel->currentTarget(), Target::iPhone);
    EXPECT_EQ(c().savedProfile.index, 0);
    EXPECT_EQ(c().resolution.text(), "960:640"); // from "iPhone Retina"
    EXPECT_EQ(c().audioBitRate.text(), "192");
    EXPECT_EQ(c().audioSampleRate.text(), "48000");
    EXPECT_EQ(c().volume.position, 6);
    EXPECT_EQ(c().videoBitRate.text, "1800");
    EXPECT_EQ(c().videoFrameRate.text(), "25");
    EXPECT_EQ(c().videoCodec.text(), "MPEG-4");
    EXPECT_EQ(c().imageMode.index, 1);
    EXPECT_EQ(c().cpuCores.text(), "4");
    EXPECT_EQ(c().displayName.text, "Holiday");
    EXPECT_EQ(c().artistName.text, "Nobody");
    EXPECT_TRUE(c().dvdPal.checked);
    EXPECT_FALSE(c().dvdNtsc.checked);
    EXPECT_TRUE(c().dvd43.checked);
    EXPECT_FALSE(c().addLetterBoxVob.checked);
}

TEST_F(PanelSettings, UnusableStoredTargetsFallBackToGeneralVideo) {
    const std::map<std::string, std::string> broken[] = {
        {{"Type", "9"}, {"Format", "AVI"}},
        {{"Type", "2"}, {"Format", "Walkman"}},
        {{"Type", "0"}, {"Format", "MP3"}}, // a target of another category
        {{"Type", "2"}, {"Format", "iPhone"}, {"profile", "3"}},
    };
    for (const auto& keys : broken) {
        options().eraseSection(ConvertParamSection);
        store(keys);
        auto fresh = makePanel();
        fresh->RestorePanel();
        EXPECT_EQ(fresh->currentCategory(), Category::GeneralVideo) << keys.at("Format");
        EXPECT_EQ(fresh->currentTarget(), Target::AVI) << keys.at("Format");
        EXPECT_EQ(fresh->selection().lastTarget(Category::GeneralVideo), Target::AVI);
    }
}

TEST_F(PanelSettings, SaveWritesEveryKeyWithItsOwnSpelling) {
    panel->ClickCategory(Category::Apple);
    panel->ClickTarget(Target::iPhone);
    panel->SetArtistName("Somebody");
    ASSERT_TRUE(panel->SavePanel());

    const IniFile file = options();
    const std::vector<std::string> expected{"Type",
                                            "Format",
                                            "profile",
                                            "AudioQuality",
                                            "AudioSampleRate",
                                            "volume",
                                            "AudioFormat",
                                            "VideoQuality",
                                            "VideoFrameRate",
                                            "OutputFormat",
                                            "VideoCodec",
                                            "OutputImageSetting",
                                            "VideoResolution",
                                            "VideoWidth",
                                            "VideoHeight",
                                            "CPUCore",
                                            "DisplayName",
                                            "ArtisName",
                                            "DVD_NTSC",
                                            "DVD_169",
                                            "Box_VOB"};
    EXPECT_EQ(file.keys(ConvertParamSection), expected);
    EXPECT_EQ(file.readInteger(ConvertParamSection, "Type"), Category::Apple);
    EXPECT_EQ(file.readString(ConvertParamSection, "Format"), "iPhone");
    EXPECT_EQ(file.readString(ConvertParamSection, "ArtisName"), "Somebody");
    EXPECT_EQ(file.readString(ConvertParamSection, "DVD_NTSC"), "1");
}

TEST_F(PanelSettings, ADeviceTargetRoundTrips) {
    panel->ClickCategory(Category::Apple);
    panel->ClickTarget(Target::iPhone);
    panel->ChangeSavedProfile(1);
    panel->ChangeAudioBitRate(3);
    panel->ChangeAudioSampleRate(1);
    panel->MoveVolume(6);
    panel->SetVideoBitRateText("2000");
    panel->ChangeVideoFrameRate(5);
    panel->ChangeVideoCodec(1);
    panel->ChangeImageMode(1);
    panel->ChangeResolution(3);
    panel->ChangeCpuCores(3);
    panel->SetDisplayName("Holiday");
    panel->SetArtistName("Me");
    panel->ChangeDvdSetting(2);
    panel->SetDvdLetterBox(false);

    auto next = saveAndRestore();
    EXPECT_EQ(next->currentTarget(), Target::iPhone);
    expectSameSettings(c(), next->controls());
}

TEST_F(PanelSettings, TheAudioCodecAndAnHdResolutionRoundTrip) {
    panel->ClickCategory(Category::HDVideo);
    panel->ChangeAudioCodec(1);
    panel->ChangeResolution(2);
    panel->ChangeVideoCodec(2);

    auto next = saveAndRestore();
    EXPECT_EQ(next->currentTarget(), Target::HDAVI);
    EXPECT_EQ(next->controls().audioCodec.text(), "AC3");
    EXPECT_EQ(next->controls().resolution.text(), "1920:1080");
    expectSameSettings(c(), next->controls());
}

TEST_F(PanelSettings, AnMpegVariantRoundTrips) {
    panel->ClickCategory(Category::GeneralVideo);
    panel->ClickTarget(Target::MPEG);
    panel->ChangeImageMode(3);
    panel->ChangeAudioCodec(1);
    panel->ChangeAudioBitRate(4);
    panel->SetVideoBitRateText("8000");

    auto next = saveAndRestore();
    EXPECT_EQ(next->outputImageModeValue(), 11);
    EXPECT_EQ(next->controls().audioCodec.text(), "MP2");
    EXPECT_EQ(next->controls().videoBitRate.text, "8000");
    expectSameSettings(c(), next->controls());
}

} // namespace
