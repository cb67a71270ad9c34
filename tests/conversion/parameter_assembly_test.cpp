// From panel, definitions and clip to the engine's argument lists.
#include "conversion/engine_call.h"
#include "conversion/parameter_assembly.h"
#include "quilo_test/support.h"
#include "test_definitions.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

SelectorControl choose(int index, int count = 3) {
    SelectorControl selector;
    selector.items.assign(static_cast<size_t>(count), "item");
    selector.index = index;
    return selector;
}

struct Fixture {
    TempDir dir;
    ProfileDefinitions definitions{dir.file("PfDef.dll")};
    PanelControls panel;
    std::vector<std::unique_ptr<TVideoInfo>> owned;
    std::vector<TVideoInfo*> clips;

    Fixture() {
        writeFile(dir.file("PfDef.dll"), Definitions);
        panel.outputFormat = choose(0, 1);
        panel.outputFormat.items = {"avi"};
        panel.videoCodec = choose(1, 2);
        panel.videoFrameRate = choose(1, 2);
        panel.audioCodec = panel.audioBitRate = panel.audioSampleRate = choose(0, 1);
        panel.audioChannel = choose(1, 2);
        panel.imageMode = choose(0, 3);
        panel.resolution = choose(0, 2);
        panel.videoBitRate.text = " 1200 ";
        panel.volume.position = 3;
    }
    TVideoInfo& clip(int width = 640, int height = 480, int duration = 60) {
        owned.push_back(std::make_unique<TVideoInfo>());
        TVideoInfo& c = *owned.back();
        c.FilePath = dir.file("in.mp4");
        c.Width = c.CropW = width;
        c.Height = c.CropH = height;
        c.SetDuration(duration);
        c.SetEndTime(duration);
        c.FrameRate = 25;
        c.ContainerKind = Container::Other;
        c.OutputName = "in.avi";
        clips.push_back(&c);
        return c;
    }
    EngineParameterSet prepare(TargetTypeId target, int minDuration = 0) {
        ParameterAssembly assembly(TakeJobSettings(
            definitions, panel, {target, TargetSection(targetIdentifier(target)), dir.path(), minDuration}));
        EngineParameterSet set;
        assembly.ReadProfileValues(set);
        EXPECT_TRUE(assembly.PrepareClip(clips, static_cast<int>(clips.size()) - 1, set));
        EXPECT_FALSE(assembly.PrepareClip(clips, static_cast<int>(clips.size()), set));
        return set;
    }
};

} // namespace

TEST(ParameterAssembly, ProfileValuesComeFromTheSelectedItems) {
    Fixture f;
    f.clip();
    const EngineParameterSet set = f.prepare(Target::AVI);
    EXPECT_EQ(set.OutFileFormat, "avi");
    EXPECT_EQ(set.VideoFormat, "mpeg4");
    EXPECT_EQ(set.VideoFrameRate, "25/1");
    EXPECT_EQ(set.AudioCodec, "mp3");
    EXPECT_EQ(set.VideoBitRate, "1200");
    EXPECT_EQ(set.AudioVolume, "3");
    EXPECT_EQ(set.AudioChannels, 2);
    EXPECT_EQ(set.ArtistName, "Unknown"); // the panel's default text
    EXPECT_EQ(set.VideoResolution, "640:480");
    EXPECT_EQ(set.VideoAspect, "1:1");
    EXPECT_EQ(set.AlbumName, "Video_in.mp4");

    f.panel.artistName.text.clear();
    f.panel.displayName.text.clear();
    f.panel.videoCodec.index = 5; // past the list: nothing defined
    const EngineParameterSet bare = f.prepare(Target::AVI);
    EXPECT_EQ(bare.ArtistName, "Unkonwn");
    EXPECT_EQ(bare.AlbumName, "in.mp4");
    EXPECT_EQ(bare.VideoFormat, "nodef");

    f.panel.displayName.text = std::string(60, 'x');
    EXPECT_EQ(f.prepare(Target::AVI).AlbumName, std::string(50, 'x'));
}

TEST(ParameterAssembly, TrimRangesAndParts) {
    Fixture f;
    TVideoInfo& clip = f.clip(640, 480, 60);
    clip.SetStartTime(10);
    clip.SetEndTime(58); // within two seconds of the end: to the end
    EngineParameterSet set = f.prepare(Target::AVI);
    EXPECT_EQ(set.StartTime, "10");
    EXPECT_EQ(set.Duration, "0");
    EXPECT_EQ(set.ProgressSeconds, 48);

    clip.SetEndTime(40);
    EXPECT_EQ(f.prepare(Target::AVI).Duration, "30");
    EXPECT_EQ(f.prepare(Target::AVI, 45).Duration, "45");

    clip.SetJoinedSources({f.dir.file("part1.mp4"), f.dir.file("part2.mp4")});
    set = f.prepare(Target::AVI);
    EXPECT_EQ(set.InputFiles, (std::vector<std::string>{f.dir.file("part1.mp4"), f.dir.file("part2.mp4")}));
    EXPECT_EQ(set.StartTime, "0");
    EXPECT_EQ(set.ProgressSeconds, 60);
}

TEST(ParameterAssembly, ALineBreakInAFileNameIsPartOfTheName) {
    // Only a joined download is several files; a name from outside is one.
    Fixture f;
    TVideoInfo& clip = f.clip();
    clip.FilePath = f.dir.file("a.mp4\nb.mp4");
    clip.SetStartTime(10);
    clip.SetEndTime(40);
    const EngineParameterSet set = f.prepare(Target::AVI);
    EXPECT_EQ(set.InputFiles, std::vector<std::string>{f.dir.file("a.mp4\nb.mp4")});
    EXPECT_EQ(set.StartTime, "10");
    EXPECT_EQ(clip.FirstSourcePath(), f.dir.file("a.mp4\nb.mp4"));
}

TEST(ParameterAssembly, OutputNamesAreCleanedAndNeverOverwrite) {
    Fixture f;
    TVideoInfo& clip = f.clip();
    clip.OutputName = "a:b?.avi";
    EXPECT_EQ(f.prepare(Target::AVI).OutputName, f.dir.file("a_b_.avi"));
    writeFile(f.dir.file("a_b_.avi"), "x");
    EXPECT_EQ(f.prepare(Target::AVI).OutputName, f.dir.file("1-a_b_.avi"));
    EXPECT_EQ(clip.OutputPath, f.dir.file("1-a_b_.avi"));
    clip.OutputName = "../../escape.avi";
    EXPECT_EQ(f.prepare(Target::AVI).OutputName.rfind(f.dir.path(), 0), 0u);
}

TEST(ParameterAssembly, PictureSizesByImageMode) {
    Fixture f;
    TVideoInfo& clip = f.clip(1920, 800);
    f.panel.imageMode.index = 1; // original: the crop rectangle
    clip.CropW = 1600;
    clip.CropH = 800;
    EngineParameterSet set = f.prepare(Target::AVI);
    EXPECT_EQ(set.VideoResolution, "1600:800");
    EXPECT_EQ(set.CropChanged, 1);

    f.panel.imageMode.index = 2; // keep aspect inside 640:480
    set = f.prepare(Target::AVI);
    EXPECT_EQ(set.VideoResolution, "640:480");
    EXPECT_EQ(set.Out_Size_X_Y_BeforPad, "640:320");

    f.panel.resolution.index = 1; // auto:480 sets frame and picture alike
    set = f.prepare(Target::AVI);
    EXPECT_EQ(set.VideoResolution, "960:480");
    EXPECT_EQ(set.Out_Size_X_Y_BeforPad, "960:480");

    // An anamorphic 720 x 576 16:9 source shown 1024 wide: the effective crop height shrinks.
    TVideoInfo& wide = f.clip(720, 576);
    wide.AspectCode = Aspect::Ratio16x9;
    wide.UseAspectCode = true;
    f.panel.imageMode.index = 1;
    set = f.prepare(Target::AVI);
    EXPECT_EQ(set.VideoResolution, "720:404");
}

TEST(ParameterAssembly, MpegVariantsAndDvdTargetsUseDvdFrames) {
    Fixture f;
    f.clip(640, 480);
    f.panel.outputFormat.items = {"mpeg2"};
    f.panel.imageMode.index = 1; // mode 11: NTSC 16:9
    f.panel.addLetterBox.checked = true;
    f.panel.videoCodec.index = f.panel.videoFrameRate.index = 0;
    EngineParameterSet set = f.prepare(Target::MPEG);
    EXPECT_EQ(set.ProfileAspectMode, 11);
    EXPECT_EQ(set.DvdStandard, 1);
    EXPECT_EQ(set.VideoAspect, "16:9");
    EXPECT_EQ(set.VideoFormat, "dvd"); // from the -11 section
    EXPECT_EQ(set.AudioCodec, "ac3");
    EXPECT_EQ(set.Out_Size_X_Y_BeforPad, "626:480");

    f.panel.dvdNtsc.checked = false;
    f.panel.dvd169.checked = false;
    set = f.prepare(Target::DVD_Folder);
    EXPECT_EQ(set.DvdStandard, 2);
    EXPECT_EQ(set.VideoResolution, "720:576");
    EXPECT_EQ(set.VideoFrameRate, "25");
    EXPECT_EQ(set.OutFileFormat, "dvd");

    // A DVD standard of an earlier clip does not stick to an HD MPEG clip.
    EXPECT_EQ(f.prepare(Target::HDMPEG).DvdStandard, 0);
}

TEST(ParameterAssembly, FrameRateRulesBySourceKind) {
    Fixture f;
    TVideoInfo& clip = f.clip();
    f.panel.videoFrameRate.index = 0; // Auto
    clip.ContainerKind = Container::TransportStream;
    clip.FrameRate = 29.97f;
    EngineParameterSet set = f.prepare(Target::AVI);
    EXPECT_EQ(set.VideoFrameRate, "30000/1001");
    EXPECT_EQ(set.SourceFrameRateHint, "30000/1001");
    EXPECT_EQ(set.IsTransportStream, 1);
    clip.FrameRate = 12.5f;
    EXPECT_EQ(f.prepare(Target::AVI).VideoFrameRate, "12.500");
    clip.FrameRate = 200;
    EXPECT_EQ(f.prepare(Target::AVI).VideoFrameRate, "30000/1001");

    clip.ContainerKind = Container::Matroska;
    set = f.prepare(Target::AVI);
    EXPECT_EQ(set.SourceFrameRateHint, "-1");
    EXPECT_EQ(set.ForceSync, 1);
    EXPECT_EQ(set.VideoStreamArg, 0);

    f.panel.videoFrameRate.index = 1; // a fixed rate
    clip.ContainerKind = Container::WindowsMedia;
    set = f.prepare(Target::AVI);
    EXPECT_EQ(set.VideoFrameRate, "25/1");
    EXPECT_EQ(set.SourceFrameRateHint, "-1");
    EXPECT_EQ(set.ForceSync, 0);
}

TEST(EngineCallChoice, EntryPointsAndForcedValues) {
    EngineParameterSet set;
    set.VideoFormat = "h264";
    EXPECT_EQ(ChooseEntryPoint(Target::HDMP4, set), "X_TO_HD_AVC");
    EXPECT_EQ(ChooseEntryPoint(Target::HDTS, set), "X_TO_HD_MPEG2TS");
    EXPECT_EQ(set.VideoFormat, "mpeg2");
    EXPECT_EQ(set.OutFileFormat, "mpeg2ts");
    set.OutFileFormat = "mov";
    EXPECT_EQ(ChooseEntryPoint(Target::Xbox, set), "X_TO_HD_XBOX");
    EXPECT_EQ(set.OutFileFormat, "mp4");
    set.VideoFormat = "wmv2";
    EXPECT_EQ(ChooseEntryPoint(Target::Youtube, set), "");
    EXPECT_EQ(ChooseEntryPoint(Target::DVD_ISO, set), "");
    EXPECT_EQ(ChooseEntryPoint(Target::WAV, set), "X_SetPar_D2IPOD_MP3");
    EXPECT_EQ(ChooseEntryPoint(Target::iPhone, set), "X_SetPar_D2IPHONE_VIDEO");
    EXPECT_EQ(set.OutFileFormat, "ipod");
    EXPECT_EQ(EngineThreadCount(0), 4);
    EXPECT_EQ(EngineThreadCount(1), 4);
    EXPECT_EQ(EngineThreadCount(2), 5);
    EXPECT_EQ(EngineThreadCount(5), 8);
    EXPECT_EQ(EngineThreadCount(9), 8);
}

namespace {

// What a scripted engine was handed.
std::vector<std::string> calls;
int channelsGiven = -1;

int recordGlobal(int threads, int deinterlace, int, int forceSync, int ts, int stream) {
    calls.push_back("global " + std::to_string(threads) + " " + std::to_string(deinterlace) + " " +
                    std::to_string(forceSync) + " " + std::to_string(ts) + " " + std::to_string(stream));
    return 0;
}
int recordCrop(int changed, const char* w, const char* h, const char* x, const char* y) {
    calls.push_back("crop " + std::to_string(changed) + " " + w + " " + h + " " + x + " " + y);
    return 0;
}
int recordCmd(const char* temp, const char* hint, int) {
    calls.push_back(std::string("cmd ") + temp + " " + hint);
    return 0;
}
int recordChannels(int channels) {
    channelsGiven = channels;
    return 0;
}
int recordPsp(const QuiloWindowPort*, int, const char* const* files, int count, const char*,
              const char* start, const char* rate, const char*, const char* codec, const char*, const char*,
              const char* picture, const char*, const char* album, const char* fps, const char*, const char*,
              const char* output, const char*, const char* duration, int magic) {
    calls.push_back(std::string("psp ") + files[0] + " " + std::to_string(count) + " " + start + " " + rate +
                    " " + codec + " " + picture + " " + album + " " + fps + " " + output + " " + duration +
                    " " + std::to_string(magic));
    return 0;
}

} // namespace

TEST(EngineCallChoice, GlobalCallsThenTheTargetsOwnArgumentList) {
    EngineApi api;
    api.X_SetPar_Global = recordGlobal;
    api.X_Global_Set_Crop = recordCrop;
    api.X_Global_CMD = recordCmd;
    api.X_SetPar_AudioChannels = recordChannels;
    api.X_SetPar_D2PSP = recordPsp;

    EngineParameterSet set;
    set.InputFiles = {"/in.mp4"};
    set.StartTime = "5";
    set.AudioSampleRate = "48000";
    set.VideoFormat = "h264";
    set.Out_Size_X_Y_BeforPad = "320:240";
    set.AlbumName = "album";
    set.VideoFrameRate = "30000/1001";
    set.OutputName = "/out/x.mp4";
    set.Duration = "0";
    set.CropChanged = 1;
    set.CropWidth = "100";
    set.CropHeight = "80";
    set.CropX = "2";
    set.CropY = "4";
    set.ForceSync = 1;
    set.SourceFrameRateHint = "25/1";
    set.AudioChannels = 1;
    calls.clear();
    bool beforeRan = false;
    const EngineResult result =
        CallEngine(api, nullptr, set, {Target::PSP, 1, true, "/data/kavotempfile.tmp"}, [&] {
            beforeRan = true;
            calls.push_back("before");
        });
    EXPECT_EQ(result, EngineResult::Converted);
    EXPECT_TRUE(beforeRan);
    EXPECT_EQ(channelsGiven, 1);
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "global 4 1 1 0 0", "crop 1 100 80 2 4", "cmd /data/kavotempfile.tmp 25/1", "before",
                         "psp /in.mp4 1 5 48000 h264 320:240 album 30000/1001 /out/x.mp4 0 20051124"}));

    calls.clear();
    EXPECT_EQ(CallEngine(api, nullptr, set, {Target::DVD_ISO, 0, false, ""}, nullptr), EngineResult::Failed);
    EXPECT_TRUE(calls.empty());
}
