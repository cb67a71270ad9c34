// Loading rules driven through a scripted engine and probe: the cases where the
// engine and media analysis disagree, fail or answer oddly, which real files
// do not produce on demand.
#include "media/clip_loader.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "scripted_media.h"

#include <gtest/gtest.h>
#include <limits>

namespace quilo {
namespace {

using namespace quilo::test;

EngineFileInfo engineInfo(int width, int height, float rate, int duration = 10) {
    EngineFileInfo info;
    info.Duration = duration;
    info.FrameRate = rate;
    info.Width = width;
    info.Height = height;
    info.VideoBitRate = 1500;
    info.AudioBitRate = 192;
    info.AudioSampleRate = 48000;
    info.AspectCode = 2;
    info.AspectFlag = 1;
    return info;
}

TMediaInfo probeInfo(const std::string& format, float rate, std::vector<TAudioStream> audio = {}) {
    TMediaInfo info;
    info.FormatName = format;
    info.Video.FrameRate = rate;
    info.Video.Id = 224;
    info.Video.AspectText = "4:3";
    info.Audio = std::move(audio);
    return info;
}

TAudioStream track(int id, const std::string& language) {
    TAudioStream stream;
    stream.Id = id;
    stream.Language = language;
    stream.CodecText = "AC-3";
    stream.Channels = 2;
    return stream;
}

class ClipLoaderRules : public ::testing::Test {
protected:
    ClipLoaderRules() {
        events.list = &list;
        list.setEvents(&events);
        namer.list = &list;
        list.setNamer(&namer);
        loader.setNotices(&notices);
        loader.setDataFolder("/data/");
        loader.setSystemLanguage("ENGLISH");
        loader.setPreferredLanguage([this] { return preferred; });
    }

    // The loader takes only regular files, so every scripted file exists (empty).
    void script(const std::string& path, EngineFileInfo info, TMediaInfo media) {
        writeFile(path, "");
        engine.files[path].info = info;
        probe.files[path] = std::move(media);
    }

    TVideoInfo* load(const std::string& path) {
        return loader.LoadClip(path) ? list.Clip(list.Count() - 1) : nullptr;
    }

    TempDir dir;
    const std::string in = dir.path();
    ScriptedPrompter prompter;
    ClipList list{prompter};
    RecordingEvents events;
    PositionNamer namer;
    ScriptedEngine engine;
    ScriptedProbe probe;
    RecordingChooser chooser;
    RecordingNotices notices;
    std::string preferred;
    ClipLoader loader{list, engine, probe, chooser, prompter};
};

TEST_F(ClipLoaderRules, FrameRateSettlesBetweenEngineAndProbe) {
    struct Case {
        std::string format;
        float probe;
        float engine;
        float expected;
        bool asked;
        int container;
    };
    chooser.answer = 12.5f;
    const std::vector<Case> cases = {
        {"MPEG-TS", 29.97f, 29.976f, 29.976f, false, Container::TransportStream}, // d 0.006: engine
        {"MPEG-4", 29.97003f, 30.0f, 29.97003f, false, Container::Other},         // near 30000/1001
        {"BDAV", 23.99f, 23.976f, 23.976024f, false, Container::TransportStream}, // near 24000/1001
        {"Matroska", 25.02f, 25.0f, 25.0f, false, Container::Matroska},           // neither: engine
        {"AVI", 50.0f, 25.0f, 12.5f, true, Container::Other},                     // d > 0.03: asked
        {"AVI", 0.0f, 24.0f, 24.0f, false, Container::Other},                     // no probe rate
        {"AVI", 0.0f, -1.0f, 0.0f, false, Container::Other},                      // none at all
        {"AVI", 24.0f, -1.0f, 24.0f, false, Container::Other},                    // engine has none
        {"Windows Media", 15.0f, 30.0f, 15.0f, false, Container::WindowsMedia},   // the probe wins
        {"Windows Media", 0.0f, 30.0f, 30.0f, false, Container::WindowsMedia},
        {"Windows Media", 0.0f, -3.0f, 0.0f, false, Container::WindowsMedia},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string path = in + std::to_string(i) + ".vid";
        script(path, engineInfo(320, 240, c.engine), probeInfo(c.format, c.probe));
        chooser.asked.clear();
        TVideoInfo* clip = load(path);
        ASSERT_NE(clip, nullptr) << i;
        EXPECT_FLOAT_EQ(clip->FrameRate, c.expected) << i;
        EXPECT_EQ(clip->ContainerKind, c.container) << i;
        ASSERT_EQ(chooser.asked.size(), c.asked ? 1u : 0u) << i;
        if (c.asked) {
            // The probe's rate comes first.
            EXPECT_EQ(chooser.asked[0].path, path);
            EXPECT_FLOAT_EQ(chooser.asked[0].first, c.probe);
            EXPECT_FLOAT_EQ(chooser.asked[0].second, c.engine);
        }
    }
}

TEST(FrameRateChoiceRules, AsksOnlyBetweenTwoPlausibleRates) {
    int showings = 0;
    std::function<void(FrameRateChoice&)> act;
    FrameRateChoice choice([&](FrameRateChoice& window) {
        ++showings;
        if (act)
            act(window);
    });
    EXPECT_TRUE(IsPlausibleFrameRate(30.0005));
    EXPECT_FALSE(IsPlausibleFrameRate(30.5));
    EXPECT_FALSE(IsPlausibleFrameRate(8.0));
    EXPECT_TRUE(IsPlausibleFrameRate(59.9995));

    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("a.avi", 29.97f, 119.88f), 29.97f);
    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("a.avi", 119.88f, 25.0f), 25.0f);
    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("a.avi", 7.5f, 120.0f), 7.5f);
    EXPECT_EQ(showings, 0);

    // Closing without a choice returns the second rate; OK is still disabled.
    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("/v/clip.avi", 25.0f, 50.0f), 50.0f);
    EXPECT_EQ(showings, 1);
    EXPECT_EQ(choice.MessageText(), "/v/clip.avi");
    EXPECT_EQ(choice.FirstRateText(), "25.00");
    EXPECT_EQ(choice.SecondRateText(), "50.00");
    EXPECT_FALSE(choice.OkEnabled());

    act = [](FrameRateChoice& window) { window.ClickFirst(); };
    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("a.avi", 25.0f, 50.0f), 25.0f);
    EXPECT_TRUE(choice.OkEnabled());

    act = [](FrameRateChoice& window) {
        EXPECT_FALSE(window.FirstChecked()); // each showing starts unchecked
        window.ClickSecond();
    };
    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("a.avi", 25.0f, 50.0f), 50.0f);

    // "Calculate for me" takes the first and locks the radio buttons.
    act = [](FrameRateChoice& window) {
        window.SetCalculate(true);
        EXPECT_FALSE(window.RatesEnabled());
        window.ClickSecond();
        EXPECT_FALSE(window.SecondChecked());
    };
    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("a.avi", 29.97f, 50.0f), 29.97f);

    // From the second choice on, OK stays enabled even before any click.
    act = [](FrameRateChoice& window) {
        EXPECT_TRUE(window.OkEnabled());
        window.SetCalculate(true);
        window.SetCalculate(false);
        EXPECT_TRUE(window.RatesEnabled());
        EXPECT_FALSE(window.OkEnabled()); // unchecked with no rate chosen
    };
    EXPECT_FLOAT_EQ(choice.ChooseFrameRate("a.avi", 24.0f, 30.0f), 30.0f);
    EXPECT_EQ(choice.Showings(), 5);
}

TEST_F(ClipLoaderRules, DescriptionSizeAndAspect) {
    EngineFileInfo info = engineInfo(720, 480, 29.970029f, 75);
    info.AspectCode = 3;
    info.AspectFlag = 0;
    TMediaInfo media = probeInfo("MPEG-4", 29.970029f);
    media.Video.AspectText = "16:9";
    script(in + "wide clip.mp4", info, media);
    TVideoInfo* clip = load(in + "wide clip.mp4");
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->InfoText, "Clip Name : wide clip.mp4\nVideo : Size 720X480 , Bitrate 1500.00 , FPS 29.97"
                              "\nAudio : Bitrate 192.00, Samplerate 48000");
    EXPECT_EQ(clip->Row().LabelText(RowLabel::Name), "      wide clip.mp4" + std::string(17, ' '));
    EXPECT_EQ(clip->Row().LabelText(RowLabel::Size), "(WxH)720x480(16:9)");
    EXPECT_EQ(clip->Row().LabelText(RowLabel::FrameRate), "FPS:29.97");
    EXPECT_EQ(clip->Row().Hint, clip->InfoText + "\nOutput Name : 0-" + in + "wide clip.mp4.mp4");
    EXPECT_EQ(clip->AspectCode, Aspect::Ratio16x9);
    EXPECT_TRUE(clip->UseAspectCode);
    EXPECT_DOUBLE_EQ(clip->PixelAspect, 1.5);
    EXPECT_EQ(clip->VideoStreamId, 224);
    EXPECT_EQ(std::vector<int>({clip->CropX, clip->CropY, clip->CropW, clip->CropH}),
              (std::vector<int>{0, 0, 720, 480}));
    EXPECT_EQ(clip->Duration, 75);
    EXPECT_EQ(clip->EndTime, 75);
    EXPECT_EQ(clip->StartTime, 0);
    EXPECT_TRUE(clip->Checked);
    EXPECT_FALSE(clip->Selected);

    // 480 x 16/9 = 853 wide, shown 240 x 135, raised to 136.
    ASSERT_EQ(engine.calls.frames.size(), 1u);
    EXPECT_EQ(engine.calls.frames[0], std::make_pair(240, 136));
    ASSERT_EQ(clip->Thumbnail.Width, 240);
    ASSERT_EQ(clip->Thumbnail.Height, 136);
    // Row by row, top-down: pixel (x, y) carries x and y.
    const size_t at = (static_cast<size_t>(100) * 240 + 37) * 3;
    EXPECT_EQ(clip->Thumbnail.Pixels[at], 37);
    EXPECT_EQ(clip->Thumbnail.Pixels[at + 1], 100);
    EXPECT_EQ(clip->Thumbnail.Pixels[at + 2], 7);

    // The engine got the data folder's working file and a writable copy of the path.
    EXPECT_EQ(engine.calls.globalCmd, std::vector<std::string>{"/data/kavotempfile.tmp|29.976|1"});
    EXPECT_EQ(engine.calls.modes, std::vector<int>{10});
    EXPECT_EQ(engine.calls.opened, 1);
    EXPECT_EQ(engine.calls.closed, 1);
}

TEST_F(ClipLoaderRules, FallbacksWhenTheEngineKnowsLess) {
    // No engine size: the probe's, else 720 x 480. No rate at all: "FPS Auto".
    EngineFileInfo none = engineInfo(0, 0, 0.0f);
    TMediaInfo sized = probeInfo("MPEG-PS", 0.0f);
    sized.Video.Width = 352;
    sized.Video.Height = 288;
    sized.Video.Duration = 12999;
    sized.Video.AspectText = "1.222";
    script(in + "a.mpg", none, sized);
    TVideoInfo* a = load(in + "a.mpg");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Width, 352);
    EXPECT_EQ(a->Height, 288);
    EXPECT_EQ(a->Duration, 12); // program streams take the probe's duration
    EXPECT_EQ(a->CropW, 0);
    EXPECT_EQ(a->AspectCode, Aspect::Ratio4x3);
    EXPECT_FALSE(a->UseAspectCode);
    EXPECT_NE(a->InfoText.find("Size 352X288 , Bitrate 1500.00 , FPS Auto\n"), std::string::npos);
    EXPECT_EQ(a->Row().LabelText(RowLabel::FrameRate), "FPS:Auto");
    EXPECT_EQ(a->Row().LabelText(RowLabel::Size), "(WxH)352x288(1.222:1)");

    EngineFileInfo longOne = engineInfo(0, 0, 0.0f, 90000);
    longOne.AspectCode = 9;
    script(in + "b.mp3", longOne, probeInfo("MPEG Audio", 0.0f, {track(0, "")}));
    TVideoInfo* b = load(in + "b.mp3");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Width, 720);
    EXPECT_EQ(b->Height, 480);
    EXPECT_EQ(b->AspectCode, Aspect::Other);
    EXPECT_EQ(b->Duration, 0); // beyond a day
    EXPECT_NE(b->InfoText.find("Size 720X480"), std::string::npos);
}

TEST_F(ClipLoaderRules, DamagedRatesReadAsNone) {
    EngineFileInfo info = engineInfo(320, 240, std::numeric_limits<float>::quiet_NaN());
    info.VideoBitRate = std::numeric_limits<float>::infinity();
    info.AudioBitRate = -std::numeric_limits<float>::infinity();
    script(in + "damaged.avi", info, probeInfo("AVI", 0.0f));
    TVideoInfo* clip = load(in + "damaged.avi");
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->FrameRate, 0.0f);
    EXPECT_EQ(clip->Row().LabelText(RowLabel::FrameRate), "FPS:Auto");
    EXPECT_EQ(clip->InfoText, "Clip Name : damaged.avi\nVideo : Size 320X240 , Bitrate 0.00 , FPS Auto\n"
                              "Audio : Bitrate 0.00, Samplerate 48000");
}

TEST(ThumbnailRule, SizesFitTheBoxInStepsOfFour) {
    EXPECT_EQ(ThumbnailSize(640, 480, false, Aspect::Ratio4x3), std::make_pair(240, 180));
    EXPECT_EQ(ThumbnailSize(720, 576, false, Aspect::Ratio16x9), std::make_pair(228, 180));
    EXPECT_EQ(ThumbnailSize(720, 576, true, Aspect::Ratio16x9), std::make_pair(240, 136));
    EXPECT_EQ(ThumbnailSize(720, 576, true, Aspect::Ratio4x3), std::make_pair(240, 180));
    EXPECT_EQ(ThumbnailSize(720, 480, true, Aspect::Ratio221x1), std::make_pair(240, 108));
    EXPECT_EQ(ThumbnailSize(720, 480, true, Aspect::Ratio1x1), std::make_pair(180, 180));
    EXPECT_EQ(ThumbnailSize(1920, 800, true, Aspect::Other), std::make_pair(240, 100));
    EXPECT_EQ(ThumbnailSize(1920, 1080, false, Aspect::Other), std::make_pair(240, 136));
    EXPECT_EQ(ThumbnailSize(8, 1000, false, Aspect::Other), std::make_pair(4, 180));
    // Never an empty picture, however narrow or flat.
    EXPECT_EQ(ThumbnailSize(1, 5000, false, Aspect::Other), std::make_pair(4, 180));
    EXPECT_EQ(ThumbnailSize(5000, 1, false, Aspect::Other), std::make_pair(240, 4));
}

TEST(TransportStreamFlag, ExtensionAndFormat) {
    EXPECT_TRUE(IsTransportStream("/a/b.ts", "MPEG-TS"));
    EXPECT_TRUE(IsTransportStream("/a/b.M2TS", "BDAV"));
    EXPECT_TRUE(IsTransportStream("/a/b.mts", ""));
    EXPECT_TRUE(IsTransportStream("/a/b.ts", "BDAV"));
    EXPECT_FALSE(IsTransportStream("/a/b.ts", "TS-something"));
    EXPECT_FALSE(IsTransportStream("/a/b.mpg", "MPEG-TS"));
    EXPECT_FALSE(IsTransportStream("/a.ts/b", "MPEG-TS")); // the folder is not the extension
}

TEST_F(ClipLoaderRules, TransportFlagReachesTheEngine) {
    script(in + "a.m2ts", engineInfo(320, 240, 25), probeInfo("BDAV", 25));
    script(in + "b.mkv", engineInfo(320, 240, 25), probeInfo("Matroska", 25));
    ASSERT_NE(load(in + "a.m2ts"), nullptr);
    ASSERT_NE(load(in + "b.mkv"), nullptr);
    EXPECT_EQ(engine.calls.transportFlags, (std::vector<int>{1, 0}));
}

TEST_F(ClipLoaderRules, AddingManyShowsProgressAndListsFailures) {
    std::vector<std::string> paths = {in + "1.avi", in + "bad.avi", in + "3.avi", in + "throws.avi",
                                      in + "noframe.avi"};
    for (const std::string& path : paths)
        script(path, engineInfo(320, 240, 25), probeInfo("AVI", 25));
    engine.files[in + "bad.avi"].result = -1;
    engine.files[in + "throws.avi"].frameThrows = true;
    engine.files[in + "noframe.avi"].frame = false;
    list.Mode = ListMode::Local;
    ASSERT_TRUE(loader.AddFiles(paths));

    EXPECT_TRUE(paths.empty());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Clip(0)->FilePath, in + "1.avi");
    EXPECT_EQ(list.Clip(1)->FilePath, in + "3.avi");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Information);
    EXPECT_EQ(prompter.shown()[0].text,
              "Some UNSUPPORTED file(s) format can not add in. \n\n" + in + "bad.avi : an empty file\n" + in +
                  "throws.avi : an empty file\n" + in + "noframe.avi : an empty file\n");
    // Percentages 0, 20 ... 80 before each file, then the end; the panel is gone after.
    std::vector<int> percents;
    for (const auto& [bar, percent] : events.progress)
        percents.push_back(percent);
    EXPECT_EQ(percents, (std::vector<int>{0, 0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(events.progress[3].first, 108); // 2 x 271 / 5
    EXPECT_EQ(events.progress.back().first, 271);
    EXPECT_FALSE(list.Progress.Visible);
    EXPECT_FALSE(list.Busy);
    EXPECT_EQ(engine.calls.opened, engine.calls.closed);
    // The first row is selected and shown.
    EXPECT_EQ(list.CurrentClip(), list.Clip(0));
    EXPECT_TRUE(list.Clip(0)->Row().Selected);
    EXPECT_FALSE(list.IntroVisible);
    EXPECT_EQ(notices.multiAudio, 0);
}

TEST_F(ClipLoaderRules, OneFileShowsNoProgressAndThreeShowThirds) {
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi"})
        script(in + name, engineInfo(320, 240, 25), probeInfo("AVI", 25));
    std::vector<std::string> one = {in + "a.avi"};
    loader.AddFiles(one);
    EXPECT_TRUE(events.progress.empty());
    std::vector<std::string> three = {in + "b.avi", in + "c.avi", in + "d.avi"};
    loader.AddFiles(three);
    std::vector<int> percents;
    for (const auto& [bar, percent] : events.progress)
        percents.push_back(percent);
    EXPECT_EQ(percents, (std::vector<int>{0, 0, 33, 66, 100}));
    EXPECT_TRUE(prompter.shown().empty());
    // The selection made after the first add stays.
    EXPECT_EQ(list.CurrentClip(), list.Clip(0));
    EXPECT_EQ(list.Count(), 4);
}

TEST_F(ClipLoaderRules, WithoutAnEngineEveryFileFails) {
    engine.available = false;
    script(in + "a.avi", engineInfo(320, 240, 25), probeInfo("AVI", 25));
    std::vector<std::string> paths = {in + "a.avi", in + "b.avi"};
    loader.AddFiles(paths);
    EXPECT_EQ(list.Count(), 0);
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0], "Some file(s) can not be found and were not added:\n\n" + in +
                                       "b.avi\n\nSome UNSUPPORTED file(s) format can not add in. \n\n" + in +
                                       "a.avi : an empty file\n");
    EXPECT_TRUE(list.IntroVisible);

    engine.available = true;
    engine.files[in + "a.avi"].infoThrows = true;
    EXPECT_FALSE(loader.LoadClip(in + "a.avi"));
    EXPECT_EQ(engine.calls.opened, engine.calls.closed);
}

TEST_F(ClipLoaderRules, PreferredLanguageThenSystemThenEnglishThenFirst) {
    const std::vector<TAudioStream> tracks = {track(1, "French"), track(2, "english"), track(3, "German"),
                                              track(4, "English"), track(5, "German")};
    script(in + "multi.mkv", engineInfo(320, 240, 25), probeInfo("Matroska", 25, tracks));
    const auto chosenId = [&](const std::string& language, const std::string& system) {
        preferred = language;
        loader.setSystemLanguage(system);
        TVideoInfo* clip = load(in + "multi.mkv");
        EXPECT_NE(clip, nullptr);
        if (!clip)
            return 0;
        int checkedRows = 0;
        for (const auto& row : clip->AudioRows())
            checkedRows += row->Checked;
        EXPECT_EQ(checkedRows, 1);
        return clip->SelectedAudioId;
    };
    EXPECT_EQ(chosenId("german", "ENGLISH"), 3); // the first match
    EXPECT_EQ(chosenId("Spanish", "GERMAN"), 5); // the system language's last
    EXPECT_EQ(chosenId("Spanish", "DUTCH"), 4);  // the last English one
    EXPECT_EQ(chosenId("", "ENGLISH"), 4);
    script(in + "multi.mkv", engineInfo(320, 240, 25),
           probeInfo("Matroska", 25, {track(7, "Italian"), track(8, "")}));
    EXPECT_EQ(chosenId("Spanish", "DUTCH"), 7); // else the first
    // An unlabelled track is no match for an empty preference.
    EXPECT_EQ(chosenId("", "DUTCH"), 7);

    TVideoInfo* last = list.Clip(list.Count() - 1);
    EXPECT_FALSE(last->AudioRows()[0]->LastAudio);
    EXPECT_TRUE(last->AudioRows()[1]->LastAudio);
    EXPECT_EQ(last->AudioRows()[1]->LabelText(RowLabel::AudioName), "Audio ID:8");
}

TEST_F(ClipLoaderRules, MultiAudioNoticeOnceForTheGivenFiles) {
    script(in + "one.mkv", engineInfo(320, 240, 25), probeInfo("Matroska", 25, {track(1, "English")}));
    script(in + "two.mkv", engineInfo(320, 240, 25),
           probeInfo("Matroska", 25, {track(1, "English"), track(2, "German")}));
    std::vector<std::string> first = {in + "two.mkv", in + "two.mkv"};
    loader.AddFiles(first);
    EXPECT_EQ(notices.multiAudio, 1);
    // A later add of single-track files does not repeat it for clips already there.
    std::vector<std::string> second = {in + "one.mkv"};
    loader.AddFiles(second);
    EXPECT_EQ(notices.multiAudio, 1);
}

TEST_F(ClipLoaderRules, DropsWaitForTheTimerAndTheGuard) {
    script(in + "a.avi", engineInfo(320, 240, 25), probeInfo("AVI", 25));
    script(in + "b.avi", engineInfo(320, 240, 25), probeInfo("AVI", 25));
    ASSERT_TRUE(loader.DropFiles({in + "a.avi"}));
    EXPECT_TRUE(loader.DropGuard());
    EXPECT_TRUE(loader.LoadTimerRunning());
    EXPECT_FALSE(loader.DropFiles({in + "b.avi"})); // still handling the first drop
    EXPECT_EQ(list.Count(), 0);
    loader.LoadTimerFired();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Mode, ListMode::Local);
    EXPECT_FALSE(list.ListTransparent);
    EXPECT_FALSE(loader.DropGuard());
    EXPECT_FALSE(loader.LoadTimerRunning());
    EXPECT_TRUE(loader.PendingFiles().empty());
    loader.LoadTimerFired(); // a stray tick does nothing
    EXPECT_EQ(list.Count(), 1);

    // A long path is kept whole.
    const std::string longPath = in + std::string(200, 'x') + ".avi";
    script(longPath, engineInfo(320, 240, 25), probeInfo("AVI", 25));
    ASSERT_TRUE(loader.DropFiles({longPath}));
    loader.LoadTimerFired();
    EXPECT_EQ(list.Clip(1)->FilePath, longPath);
}

TEST_F(ClipLoaderRules, SwitchingFromWebVideosAsksFirst) {
    script(in + "a.avi", engineInfo(320, 240, 25), probeInfo("AVI", 25));
    list.Mode = ListMode::Web;
    notices.switchAnswer = false;
    EXPECT_FALSE(loader.DropFiles({in + "a.avi"}));
    EXPECT_FALSE(loader.DropGuard());
    EXPECT_FALSE(loader.BeginAdd());
    EXPECT_EQ(notices.switchQuestions, 2);
    EXPECT_EQ(notices.webCleared, 0);
    EXPECT_EQ(list.Mode, ListMode::Web);

    notices.switchAnswer = true;
    ASSERT_TRUE(loader.BeginAdd());
    EXPECT_EQ(notices.webCleared, 1);
    EXPECT_EQ(list.Mode, ListMode::Empty);
    loader.AddChosenFiles({in + "a.avi"});
    EXPECT_EQ(list.Mode, ListMode::Local);
    EXPECT_EQ(list.Count(), 1);

    list.Busy = true;
    EXPECT_FALSE(loader.BeginAdd());
    std::vector<std::string> more = {in + "a.avi"};
    EXPECT_FALSE(loader.AddFiles(more));
    EXPECT_EQ(more.size(), 1u);
}

TEST_F(ClipLoaderRules, OpticalVolumesNameTheDiscAndClearOnRemoval) {
    ScriptedVolumeSource volumes;
    VolumeEvent disc;
    disc.Drive = "/dev/sr0";
    disc.Optical = true;
    disc.Label = "HOLIDAY_2009";
    disc.HasVideoTs = true;
    VolumeEvent stick = disc;
    stick.Drive = "/dev/sdb1";
    stick.Optical = false;
    volumes.push(stick);
    volumes.push(disc);
    loader.PollVolumes(volumes);
    EXPECT_EQ(events.dvdNames, std::vector<std::string>{"HOLIDAY_2009"});
    EXPECT_EQ(list.DvdDrive, "/dev/sr0");

    // With clips in the list an arriving disc changes nothing.
    script(in + "a.avi", engineInfo(320, 240, 25), probeInfo("AVI", 25));
    ASSERT_TRUE(loader.LoadClip(in + "a.avi"));
    VolumeEvent other = disc;
    other.Drive = "/dev/sr1";
    other.Label = "OTHER";
    loader.HandleVolumeEvent(other);
    EXPECT_EQ(events.dvdNames.size(), 1u);
    EXPECT_EQ(list.DvdDrive, "/dev/sr0");

    // Removing another drive does nothing; removing the disc asks to clear.
    VolumeEvent removed = other;
    removed.kind = VolumeEvent::Kind::Removal;
    loader.HandleVolumeEvent(removed);
    EXPECT_TRUE(prompter.shown().empty());
    removed.Drive = "/dev/sr0";
    prompter.script({PromptAnswer::No});
    loader.HandleVolumeEvent(removed);
    EXPECT_EQ(list.Count(), 1);
    loader.HandleVolumeEvent(removed);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>(2, "Do you want to clear the file list?")));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.DvdDrive, "A");
}

} // namespace
} // namespace quilo
