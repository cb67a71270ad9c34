// The main window's models together: the start button's checks and what it
// saves and records, trim and crop of a loaded clip reaching the file, and the
// settings the options dialog keeps for the whole session.
#include "conversion/converter_session.h"
#include "conversion/start_conversion.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "shell/application_folders.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

struct RecordingPort : StartConversionPort {
    std::vector<std::string> calls;
    bool burnerConfirmed = true, seeking = false, fetching = false, noDownloads = false;
    void stopPreview() override { calls.push_back("stop preview"); }
    bool confirmBurnerSettings() override {
        calls.push_back("burner settings");
        return burnerConfirmed;
    }
    bool previewSeeking() const override { return seeking; }
    bool linksBeingFetched() const override { return fetching; }
    bool downloadListEmpty() const override { return noDownloads; }
    std::string firstOutputExtension() const override { return ".mp4"; }
    void startJob(TargetTypeId target) override { calls.push_back("job " + targetIdentifier(target)); }
    void startDownloadJob(TargetTypeId target, const std::string& extension) override {
        calls.push_back("download job " + targetIdentifier(target) + " " + extension);
    }
};

struct Session {
    TempDir appData;
    std::string data = EnsureDataFolder(programDir(), "Quilo Video Converter", appData.path());
    ScriptedPrompter prompter;
    FrameRateChoice chooser{[](FrameRateChoice& choice) { choice.SetCalculate(true); }};
    ConverterSession session{{programDir(), data, prompter, chooser, nullptr}};
    RecordingPort port;
    ProductIdentity identity{"Quilo Video Converter", "1.0", "Build on 2026-12-09", "QuiloVideoConverter"};

    Session() { session.panel().RestorePanel(); }
    void add(std::vector<std::string> files) { session.loader().AddChosenFiles(std::move(files)); }
    bool start() {
        return StartClicked(session.clips(), session.panel(), port, prompter, session.userLog(), identity);
    }
};

std::string clip() {
    return fixture("session-clip.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi",
                                        "-i", "sine=frequency=400", "-t", "10", "-c:v", "libx264", "-preset",
                                        "ultrafast", "-c:a", "aac", "-shortest"});
}

} // namespace

TEST(StartButton, ChecksInOrderThenSavesThePanelStartsAndRecords) {
    Session s;
    s.add({clip()});
    ASSERT_EQ(s.session.clips().Count(), 1);

    s.port.seeking = true;
    EXPECT_FALSE(s.start());
    EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"Seeking file, please waiting."});
    s.port.seeking = false;

    s.prompter.clear();
    s.session.clips().Clip(0)->SetChecked(false);
    EXPECT_FALSE(s.start());
    ASSERT_EQ(s.prompter.texts().size(), 1u);
    EXPECT_EQ(s.prompter.texts()[0].rfind("Please clik \"Add File\" button", 0), 0u);
    EXPECT_EQ(IniFile(s.data + "Option.ini").readInteger("ConvertParam", "Type", -7), -7); // nothing saved

    s.session.clips().Clip(0)->SetChecked(true);
    s.session.panel().SelectTargetAsClicked(Target::iPhone);
    s.session.panel().SetDeinterlace(true);
    s.session.clips().Busy = true;
    EXPECT_FALSE(s.start()); // files still being added: silently nothing
    s.session.clips().Busy = false;
    s.port.calls.clear();
    EXPECT_TRUE(s.start());
    EXPECT_EQ(s.port.calls.back(), "job iPhone");
    IniFile options(s.data + "Option.ini");
    EXPECT_EQ(options.readInteger("ConvertParam", "Type", -1), Category::Apple);
    EXPECT_EQ(options.readString("ConvertParam", "Format", ""), "iPhone");
    IniFile log(s.session.userLog().path());
    EXPECT_EQ(log.readInteger("AdvancedSetting", "UseDeInterlace", 0), 1);
    EXPECT_EQ(log.readString("UserInfo", "ProgramVersion", ""), "1.0");
}

TEST(StartButton, DvdQuestionsComeFirst) {
    Session s;
    s.add({clip()});
    s.session.panel().SelectTargetAsClicked(Target::DVD_Disc);
    s.port.burnerConfirmed = false;
    EXPECT_FALSE(s.start()); // a cancelled burner dialog ends it without a message
    EXPECT_EQ(s.port.calls, (std::vector<std::string>{"stop preview", "burner settings"}));
    EXPECT_TRUE(s.prompter.shown().empty());

    // 100 clips ask the size question; Cancel ends before the preview stops.
    std::vector<std::string> many(99, clip());
    s.add(many);
    ASSERT_EQ(s.session.clips().Count(), 100);
    s.port.calls.clear();
    s.prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(s.start());
    EXPECT_TRUE(s.port.calls.empty());
    ASSERT_EQ(s.prompter.shown().size(), 1u);
    EXPECT_EQ(s.prompter.shown()[0].buttons, PromptButtons::OkCancel);

    s.prompter.clear();
    s.session.panel().SelectTargetAsClicked(Target::VOB_File); // the question is for folders and discs only
    EXPECT_TRUE(s.start());
    EXPECT_TRUE(s.prompter.shown().empty());
}

TEST(StartButton, AnEmptyListIsToldHowToAddClipsBeforeAnyDiscQuestion) {
    Session s;
    s.session.panel().SelectTargetAsClicked(Target::DVD_Disc);
    EXPECT_FALSE(s.start());
    EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{AddClipsFirstText});
    EXPECT_TRUE(s.port.calls.empty()); // no burner dialog, no job
    EXPECT_EQ(IniFile(s.data + "Option.ini").readInteger("ConvertParam", "Type", -7), -7);
}

TEST(StartButton, WebModeChecksTheDownloads) {
    Session s;
    s.session.clips().Mode = ListMode::Web;
    s.port.noDownloads = true;
    EXPECT_FALSE(s.start());
    EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"No video to download!"});
    s.port.noDownloads = false;
    EXPECT_TRUE(s.start());
    EXPECT_EQ(s.port.calls.back(), "download job AVI .mp4");
    EXPECT_EQ(IniFile(s.data + "Option.ini").readInteger("ConvertParam", "Type", -7), -7);
}

TEST(LoadedClips, TrimAndCropReachTheConvertedFile) {
    Session s;
    s.add({clip()});
    TVideoInfo& loaded = *s.session.clips().Clip(0);
    loaded.SetStartTime(2);
    loaded.SetEndTime(6);
    loaded.CropX = 160;
    loaded.CropY = 0;
    loaded.CropW = 160;
    loaded.CropH = 240;
    s.session.panel().SelectTargetAsClicked(Target::AVI);
    // Original size: the output takes the crop rectangle's size.
    const PanelControls& controls = s.session.panel().controls();
    int original = -1;
    for (int i = 0; i < s.session.panel().controls().imageMode.count(); ++i)
        if (s.session.panel().definitions()->LookupChoiceValue("Tamber-AVI", "VideoAspect", i) == "1")
            original = i;
    ASSERT_GE(original, 0);
    s.session.panel().ChangeImageMode(original);
    ASSERT_EQ(controls.imageMode.index, original);

    TempDir out;
    ConversionJob job(s.session.MakeJobInputs(out.path()), s.session.userLog());
    ASSERT_EQ(job.Run(), JobResult::Finished);
    ASSERT_EQ(job.outputs().size(), 1u);
    const QJsonObject probe = ffprobe(job.outputs()[0]);
    EXPECT_NEAR(durationSeconds(probe), 4.0, 0.3);
    EXPECT_EQ(firstStream(probe, "video")["width"].toInt(), 160);
    EXPECT_EQ(firstStream(probe, "video")["height"].toInt(), 240);
}

TEST(SessionSettings, TheUsersNamingSettingsNameTheClipsAndTheOptionsOkRenamesThem) {
    TempDir appData;
    const std::string data = EnsureDataFolder(programDir(), "Quilo Video Converter", appData.path());
    IniFile(data + "Option.ini").writeString("Option", "Template", "#ClipID-#SN-#Name");
    ScriptedPrompter prompter;
    FrameRateChoice chooser{[](FrameRateChoice& choice) { choice.SetCalculate(true); }};
    {
        ConverterSession session{{programDir(), data, prompter, chooser, nullptr}};
        session.panel().RestorePanel();
        session.panel().SelectTargetAsClicked(Target::MP4);
        session.loader().AddChosenFiles({clip()});
        ASSERT_EQ(session.clips().Count(), 1);
        EXPECT_EQ(session.clips().Clip(0)->OutputName, "Clip0-001-session-clip.mp4");

        // The options dialog's OK: the panel and the names follow the new template.
        OptionsModel& options = session.optionsDialog();
        options.Open();
        options.templateText.clear();
        options.SetAdd1(true);
        options.ClickTag(0); // #Name
        options.ClickTag(4); // #Time
        options.Ok();
        session.OptionsClosed();
        const std::string today = QDate::currentDate().toString("MM-dd-yyyy").toStdString();
        EXPECT_EQ(session.clips().Clip(0)->OutputName, "session-clip-" + today + ".mp4");
        EXPECT_EQ(session.MakeJobInputs().clips[0]->OutputName, "session-clip-" + today + ".mp4");
    }
    // The new template outlives the session.
    EXPECT_EQ(IniFile(data + "Option.ini").readString("Option", "Template", ""), "#Name-#Time");
}

TEST(SessionSettings, ClosingSavesTheLanguageAndFolderUnlessThePreviewSeeks) {
    Session s;
    IniFile file(s.data + "Option.ini");
    file.eraseKey("Option", "DefaultAudio");
    file.eraseKey("Option", "OutputFolder");

    s.session.clips().Seeking = true;
    EXPECT_FALSE(s.session.CloseRequested());
    EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"Seeking disc, please waiting."});
    EXPECT_EQ(file.readString("Option", "OutputFolder", "none"), "none");

    s.session.clips().Seeking = false;
    s.session.optionsDialog().SelectAudioLanguage(3);
    EXPECT_TRUE(s.session.CloseRequested());
    EXPECT_EQ(file.readInteger("Option", "DefaultAudio", -1), 3);
    EXPECT_EQ(file.readString("Option", "OutputFolder", "none"), s.session.options().OutputFolder);
    EXPECT_TRUE(s.session.options().OutputFolder.ends_with("/"));
}

TEST(SessionSettings, AChosenOutputFolderIsWhereTheNextJobWritesAndIsKept) {
    Session s;
    s.session.panel().SelectTargetAsClicked(Target::MP4);
    TempDir chosen;
    std::filesystem::create_directory(chosen.path() + "videos");
    s.session.ChooseOutputFolder(chosen.path() + "videos");
    EXPECT_EQ(s.session.options().OutputFolder, chosen.path() + "videos/");
    EXPECT_EQ(s.session.panel().controls().outputFolder.text,
              chosen.path() + "videos/" + targetSubFolder(Target::MP4));
    EXPECT_EQ(s.session.JobOutputFolder(), chosen.path() + "videos/" + targetSubFolder(Target::MP4));
    EXPECT_EQ(IniFile(s.data + "Option.ini").readString("Option", "OutputFolder", ""),
              chosen.path() + "videos/");
}
