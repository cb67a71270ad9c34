// Every target but the DVD folder, disc and image converts a generated clip
// with its default settings, and ffprobe finds what the definitions select.
#include "cli_support.h"
#include "conversion/converter_session.h"
#include "conversion/engine_call.h"
#include "platform/prompter.h"
#include "quilo_test/test_doubles.h"
#include "shell/application_folders.h"

#include <QJsonArray>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Expected {
    std::string container, videoCodec, audioCodec, frameRate, resolution;
};

// What the models select for a target with fresh settings, for a 320 x 240, 25 fps clip.
Expected selectedFor(TargetTypeId target) {
    TempDir appData;
    const std::string data = EnsureDataFolder(programDir(), "Quilo Video Converter", appData.path());
    ScriptedPrompter prompter;
    FrameRateChoice chooser([](FrameRateChoice& choice) { choice.SetCalculate(true); });
    ConverterSession session({programDir(), data, prompter, chooser, nullptr});
    session.panel().RestorePanel();
    session.panel().SelectTargetAsClicked(target);

    TVideoInfo clip;
    clip.FilePath = appData.file("clip.mp4");
    clip.Width = clip.CropW = 320;
    clip.Height = clip.CropH = 240;
    clip.SetDuration(6);
    clip.SetEndTime(6);
    clip.FrameRate = 25;
    clip.OutputName = "clip";
    const JobInputs inputs = session.MakeJobInputs(appData.path());
    ParameterAssembly assembly(inputs.settings);
    EngineParameterSet set;
    assembly.ReadProfileValues(set);
    std::vector<TVideoInfo*> clips = {&clip};
    assembly.PrepareClip(clips, 0, set);
    const std::string entry = ChooseEntryPoint(target, set);
    EXPECT_FALSE(entry.empty()) << targetIdentifier(target);

    // Entry points without an audio codec argument take the container's usual one.
    static const std::set<std::string> withoutAudioCodec = {
        "X_SetPar_D2IMP4",       "X_SetPar_D2QTMOV",        "X_SetPar_D2FLV",
        "X_SetPar_D2IPOD_VIDEO", "X_SetPar_D2IPHONE_VIDEO", "X_SetPar_D2APPLETV_VIDEO",
        "X_SetPar_D2ZUNE_VIDEO", "X_SetPar_D2PDA_VIDEO",    "X_SetPar_D2PSP"};
    static const std::map<std::string, std::string> usualAudio = {
        {"avi", "mp3"},   {"flv", "mp3"},   {"mp4", "aac"}, {"ipod", "aac"},   {"psp", "aac"},
        {"mov", "aac"},   {"3gp", "aac"},   {"3g2", "aac"}, {"asf", "wma"},    {"mkv", "vorbis"},
        {"mpeg1", "mp2"}, {"mpeg2", "mp2"}, {"dvd", "ac3"}, {"mpeg2ts", "ac3"}};
    std::string audio = set.AudioCodec;
    if (withoutAudioCodec.count(entry)) {
        const auto usual = usualAudio.find(target == Target::PSP ? "psp" : set.OutFileFormat);
        audio = usual == usualAudio.end() ? "?" : usual->second;
    }
    return {target == Target::PSP ? "psp" : set.OutFileFormat, set.VideoFormat, audio, set.VideoFrameRate,
            set.VideoResolution};
}

// ffprobe's names for the engine's values.
std::string probedVideoCodec(const std::string& value) {
    static const std::map<std::string, std::string> names = {
        {"mpeg4", "mpeg4"},      {"xvid", "mpeg4"},     {"h264", "h264"}, {"mpeg1", "mpeg1video"},
        {"mpeg2", "mpeg2video"}, {"dvd", "mpeg2video"}, {"wmv1", "wmv1"}, {"wmv2", "wmv2"},
        {"flv", "flv1"},         {"h263", "h263"}};
    const auto found = names.find(value);
    return found == names.end() ? "unknown " + value : found->second;
}

std::string probedAudioCodec(const std::string& value) {
    static const std::map<std::string, std::string> names = {
        {"mp3", "mp3"},   {"aac", "aac"},       {"ac3", "ac3"},      {"mp2", "mp2"},
        {"wma", "wmav2"}, {"vorbis", "vorbis"}, {"pcm", "pcm_s16le"}};
    const auto found = names.find(value);
    return found == names.end() ? "unknown " + value : found->second;
}

// The demuxer names ffprobe reports, and the extensions a player expects.
struct ContainerFacts {
    std::string formatName;
    std::set<std::string> extensions;
};

ContainerFacts containerFacts(const std::string& value) {
    static const std::map<std::string, ContainerFacts> facts = {
        {"avi", {"avi", {".avi"}}},
        {"mp4", {"mov,mp4", {".mp4", ".m4v"}}},
        {"ipod", {"mov,mp4", {".mp4", ".m4v"}}},
        {"psp", {"mov,mp4", {".mp4"}}},
        {"mov", {"mov,mp4", {".mov"}}},
        {"3gp", {"mov,mp4", {".3gp"}}},
        {"3g2", {"mov,mp4", {".3g2"}}},
        {"m4a", {"mov,mp4", {".m4a"}}},
        {"asf", {"asf", {".wmv", ".asf"}}},
        {"wma", {"asf", {".wma"}}},
        {"flv", {"flv", {".flv"}}},
        {"mkv", {"matroska", {".mkv"}}},
        {"mpeg1", {"mpeg", {".mpg", ".mpeg"}}},
        {"mpeg2", {"mpeg", {".mpg", ".mpeg"}}},
        {"dvd", {"mpeg", {".vob", ".mpg"}}},
        {"mpeg2ts", {"mpegts", {".ts", ".m2ts"}}},
        {"mp3", {"mp3", {".mp3"}}},
        {"aac", {"aac", {".aac"}}},
        {"ac3", {"ac3", {".ac3"}}},
        {"ogg", {"ogg", {".ogg"}}},
        {"wav", {"wav", {".wav"}}},
    };
    const auto found = facts.find(value);
    return found == facts.end() ? ContainerFacts{"unknown " + value, {}} : found->second;
}

double rateOf(const std::string& text) {
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        return std::atof(text.c_str());
    const double denominator = std::atof(text.c_str() + slash + 1);
    return denominator > 0 ? std::atof(text.substr(0, slash).c_str()) / denominator : 0;
}

class EveryTarget : public ::testing::TestWithParam<TargetTypeId> {};

} // namespace

TEST_P(EveryTarget, ConvertsWithItsDefaultSettings) {
    const TargetTypeId target = GetParam();
    const Expected expected = selectedFor(target);
    ConverterHome home;
    TempDir out;
    const ProcessResult run =
        home.convert({"--output", out.path(), "/" + targetIdentifier(target), sixSecondClip()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string output = run.out.substr(0, run.out.find('\n'));
    ASSERT_TRUE(fileExists(output)) << run.out << run.err;
    EXPECT_EQ(output.rfind(out.path(), 0), 0u);

    SCOPED_TRACE(targetIdentifier(target) + " -> " + output);
    const ContainerFacts facts =
        containerFacts(isAudioTarget(target) ? std::filesystem::path(output).extension().string().substr(1)
                                             : expected.container);
    EXPECT_TRUE(facts.extensions.count(std::filesystem::path(output).extension().string()))
        << "container " << expected.container;
    const QJsonObject probe = ffprobe(output);
    EXPECT_NE(probe["format"].toObject()["format_name"].toString().toStdString().find(facts.formatName),
              std::string::npos);
    const QJsonObject audio = firstStream(probe, "audio");
    EXPECT_EQ(audio["codec_name"].toString().toStdString(), probedAudioCodec(expected.audioCodec));
    EXPECT_NEAR(durationSeconds(probe), 6.0, 0.6);

    const QJsonObject video = firstStream(probe, "video");
    if (isAudioTarget(target)) {
        EXPECT_TRUE(video.isEmpty());
        return;
    }
    EXPECT_EQ(video["codec_name"].toString().toStdString(), probedVideoCodec(expected.videoCodec));
    const auto colon = expected.resolution.find(':');
    ASSERT_NE(colon, std::string::npos) << expected.resolution;
    EXPECT_EQ(video["width"].toInt(), std::atoi(expected.resolution.c_str()));
    EXPECT_EQ(video["height"].toInt(), std::atoi(expected.resolution.c_str() + colon + 1));
    const double wanted = expected.frameRate == "Auto" ? 25.0 : rateOf(expected.frameRate);
    double rate = rateOf(video["avg_frame_rate"].toString().toStdString());
    if (rate <= 0)
        rate = rateOf(video["r_frame_rate"].toString().toStdString());
    EXPECT_NEAR(rate, wanted, 0.1) << expected.frameRate;
}

INSTANTIATE_TEST_SUITE_P(Targets, EveryTarget, ::testing::ValuesIn([] {
                             std::vector<TargetTypeId> targets;
                             for (TargetTypeId id = 0; id < TargetCount; ++id)
                                 if (id != Target::DVD_Folder && id != Target::DVD_Disc &&
                                     id != Target::DVD_ISO)
                                     targets.push_back(id);
                             return targets;
                         }()),
                         [](const ::testing::TestParamInfo<TargetTypeId>& target) {
                             return targetIdentifier(target.param);
                         });
