// Loading real files, made by the ffmpeg CLI, through the real engine library
// and the system's MediaInfo; checked against ffprobe and ffmpeg's own frames.
#include "media/clip_loader.h"
#include "media_fixtures.h"
#include "quilo_test/refused_libraries.h"
#include "quilo_test/test_doubles.h"
#include "scripted_media.h"

#include <QJsonArray>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quilo {
namespace {

using namespace quilo::test;

double rateOf(const QJsonObject& stream) {
    const QStringList parts = stream["avg_frame_rate"].toString().split('/');
    if (parts.size() != 2 || parts[1].toDouble() == 0)
        return 0;
    return parts[0].toDouble() / parts[1].toDouble();
}

std::vector<int> streamIds(const TVideoInfo& clip) {
    std::vector<int> ids;
    for (const auto& row : clip.AudioRows())
        ids.push_back(row->StreamId);
    return ids;
}

class RealClipLoading : public ::testing::Test {
protected:
    RealClipLoading() {
        events.list = &list;
        list.setEvents(&events);
        namer.list = &list;
        list.setNamer(&namer);
        list.Mode = ListMode::Local;
        loader.setNotices(&notices);
        loader.setDataFolder(data.path());
        loader.setSystemLanguage("ENGLISH");
        loader.setPreferredLanguage([this] { return preferred; });
    }

    TVideoInfo* load(const std::string& path) {
        if (!loader.LoadClip(path)) {
            ADD_FAILURE() << path << " did not load; engine: " << engine.error();
            return nullptr;
        }
        return list.Clip(list.Count() - 1);
    }

    TempDir data;
    ScriptedPrompter prompter;
    ClipList list{prompter};
    RecordingEvents events;
    PositionNamer namer;
    TranzelClipEngine engine{programDir() + TranzelClipEngine::LibraryName};
    MediaInfoProbe probe;
    RecordingChooser chooser;
    RecordingNotices notices;
    std::string preferred = "English";
    ClipLoader loader{list, engine, probe, chooser, prompter};
};

TEST_F(RealClipLoading, TransportStreamAudioRowsComeInPidOrder) {
    std::vector<std::string> paths = {media::unorderedTransportStream()};
    loader.AddFiles(paths);
    ASSERT_EQ(list.Count(), 1) << (prompter.texts().empty() ? "" : prompter.texts()[0]);
    const TVideoInfo& clip = *list.Clip(0);
    EXPECT_EQ(streamIds(clip), (std::vector<int>{0x101, 0x102, 0x103}));
    EXPECT_TRUE(clip.AudioRows().back()->LastAudio);
    EXPECT_EQ(clip.ContainerKind, Container::TransportStream);
    EXPECT_EQ(clip.VideoStreamId, 0x100);
    EXPECT_FLOAT_EQ(clip.FrameRate, 25.0f);
    EXPECT_EQ(clip.Width, 160);
    EXPECT_EQ(clip.Height, 120);
    EXPECT_EQ(clip.AudioRows()[0]->LabelText(RowLabel::AudioCodec), "Codec:MPEG Audio 1CH");
    EXPECT_EQ(clip.AudioRows()[0]->LabelText(RowLabel::AudioSampleRate), "44.1KHz");
    // No language: the first track is taken, and the notice tells of several tracks.
    EXPECT_EQ(clip.SelectedAudioId, 0x101);
    EXPECT_EQ(clip.AudioRows()[0]->LabelText(RowLabel::AudioName), "Audio ID:257");
    EXPECT_EQ(notices.multiAudio, 1);
    EXPECT_TRUE(chooser.asked.empty());
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(RealClipLoading, AnEngineThatCannotBeUsedLeavesTheFilesOutAndSaysWhy) {
    const std::string clip = media::threeLanguageMatroska();
    const std::string lacking = refusedLibraryFolder("engine-lacking-a-name") + EngineLibraryName;
    const std::string other = refusedLibraryFolder("engine-of-another-version") + EngineLibraryName;
    const std::pair<std::string, std::string> cases[] = {
        {lacking, lacking + " lacks X_StopConvert"},
        {other, other + " is version " + std::to_string(TRANZEL_ABI_VERSION + 1) +
                    "; this program needs version " + std::to_string(TRANZEL_ABI_VERSION)}};
    for (const auto& [library, reason] : cases) {
        TranzelClipEngine refused{library};
        ClipLoader refusing{list, refused, probe, chooser, prompter};
        std::vector<std::string> paths = {clip};
        refusing.AddFiles(paths);
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(refused.error(), reason);
        EXPECT_EQ(prompter.texts(), std::vector<std::string>{std::string(UnsupportedFilesText) + clip +
                                                             "\n\n" + EngineRefusedText + reason + "\n"});
        prompter.clear();
    }
}

TEST_F(RealClipLoading, MatroskaTakesThePreferredLanguage) {
    preferred = "German";
    TVideoInfo* german = load(media::threeLanguageMatroska());
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->ContainerKind, Container::Matroska);
    ASSERT_EQ(german->AudioRows().size(), 3u);
    EXPECT_EQ(german->SelectedAudioId, 3);
    EXPECT_TRUE(german->AudioRows()[1]->Checked);
    EXPECT_FALSE(german->AudioRows()[0]->Checked);
    EXPECT_EQ(german->AudioRows()[1]->LabelText(RowLabel::AudioName), "Audio:German");

    preferred = "Spanish";
    TVideoInfo* fallback = load(media::threeLanguageMatroska());
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->SelectedAudioId, 2); // the system language, English
}

TEST_F(RealClipLoading, AudioOnlyFile) {
    const std::string path = media::audioOnly();
    TVideoInfo* clip = load(path);
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->Width, 720);
    EXPECT_EQ(clip->Height, 480);
    EXPECT_EQ(clip->Row().LabelText(RowLabel::FrameRate), "FPS:Auto");
    EXPECT_NE(clip->InfoText.find(", FPS Auto\n"), std::string::npos);
    EXPECT_NE(clip->InfoText.find("Samplerate 44100"), std::string::npos);
    ASSERT_EQ(clip->AudioRows().size(), 1u);
    EXPECT_EQ(clip->AudioRows()[0]->LabelText(RowLabel::AudioCodec), "Codec:MPEG Audio 1CH");
    EXPECT_EQ(clip->SelectedAudioId, -1);
    EXPECT_NEAR(clip->Duration, durationSeconds(ffprobe(path)), 1.0);
}

TEST_F(RealClipLoading, AnamorphicMpeg2KeepsItsDisplayAspect) {
    const std::string path = media::anamorphicMpeg2();
    TVideoInfo* clip = load(path);
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->Width, 720);
    EXPECT_EQ(clip->Height, 576);
    EXPECT_EQ(clip->AspectCode, Aspect::Ratio16x9);
    EXPECT_TRUE(clip->UseAspectCode);
    EXPECT_EQ(clip->Row().LabelText(RowLabel::Size), "(WxH)720x576(16:9)");
    // 576 x 16/9 = 1024 wide: 240 x 135, raised to 136.
    EXPECT_EQ(clip->Thumbnail.Width, 240);
    EXPECT_EQ(clip->Thumbnail.Height, 136);
    EXPECT_EQ(clip->ContainerKind, Container::Other);
    EXPECT_FLOAT_EQ(clip->FrameRate, 25.0f);
    EXPECT_NEAR(clip->Duration, durationSeconds(ffprobe(path)), 1.0);
}

TEST_F(RealClipLoading, ThumbnailShowsThePicture) {
    const std::string path = media::vga();
    TVideoInfo* clip = load(path);
    ASSERT_NE(clip, nullptr);
    EXPECT_FALSE(clip->UseAspectCode);
    ASSERT_EQ(clip->Thumbnail.Width, 240);
    ASSERT_EQ(clip->Thumbnail.Height, 180);

    // ffmpeg's own picture of the same file at the same size: the test pattern
    // barely moves, so every region must match in colour (RGB order, rows top-down).
    const ProcessResult reference =
        runProcess("ffmpeg", {"-v", "error", "-ss", "0.1", "-i", path, "-frames:v", "1", "-s", "240x180",
                              "-pix_fmt", "rgb24", "-f", "rawvideo", "-"});
    ASSERT_EQ(reference.exitCode, 0) << reference.err;
    ASSERT_EQ(reference.out.size(), clip->Thumbnail.Pixels.size());
    constexpr int Block = 20;
    for (int by = 0; by < 180 / Block; ++by) {
        for (int bx = 0; bx < 240 / Block; ++bx) {
            double ours[3] = {}, theirs[3] = {};
            for (int y = by * Block; y < (by + 1) * Block; ++y) {
                for (int x = bx * Block; x < (bx + 1) * Block; ++x) {
                    const size_t at = (static_cast<size_t>(y) * 240 + x) * 3;
                    for (int c = 0; c < 3; ++c) {
                        ours[c] += clip->Thumbnail.Pixels[at + c];
                        theirs[c] += static_cast<unsigned char>(reference.out[at + c]);
                    }
                }
            }
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(ours[c] / (Block * Block), theirs[c] / (Block * Block), 40)
                    << "block " << bx << "," << by << " channel " << c;
        }
    }
}

TEST_F(RealClipLoading, TextFileNamedAviIsListedAsUnsupported) {
    TempDir dir;
    const std::string fake = dir.file("holiday.avi");
    writeFile(fake, "Dear diary, today I did not film anything.\n");
    const std::string empty = dir.file("empty.mp4");
    writeFile(empty, "");
    // A pipe nobody writes to would block a reader for good; a folder is no clip.
    const std::string pipe = dir.file("stream.ts");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string folder = dir.file("VIDEO_TS.mkv");
    std::filesystem::create_directory(folder);
    std::vector<std::string> paths = {fake, media::vga(), empty, dir.file("gone.mkv"), pipe, folder};
    loader.AddFiles(paths);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Clip(0)->FilePath, media::vga());
    // A file that is not there is named as missing, apart from the rest; what is
    // no media at all says so; a file the readers refused is just unsupported.
    std::string expected = "Some file(s) can not be found and were not added:\n\n" + dir.file("gone.mkv") +
                           "\n\nSome UNSUPPORTED file(s) format can not add in. \n\n" + fake + "\n" + empty +
                           " : an empty file\n" + pipe + " : not a regular file\n" + folder +
                           " : a folder, not a file\n";
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{expected});
}

struct Sample {
    std::string name;
    std::vector<std::string> args;
};

std::vector<Sample> twentySamples() {
    const std::vector<std::string> sizes = {"160x120", "176x144", "320x240", "352x288", "320x180"};
    const std::vector<std::string> rates = {"25", "30", "24", "15", "30000/1001", "24000/1001"};
    struct Kind {
        std::string extension;
        std::vector<std::string> codec;
    };
    const std::vector<Kind> kinds = {
        {"mp4", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}},
        {"mkv", {"-c:v", "mpeg4", "-c:a", "mp2"}},
        {"avi", {"-c:v", "mpeg4", "-c:a", "libmp3lame"}},
        {"mov", {"-c:v", "mpeg4", "-c:a", "aac"}},
    };
    std::vector<Sample> samples;
    for (int i = 0; i < 20; ++i) {
        const Kind& kind = kinds[static_cast<size_t>(i) % kinds.size()];
        const std::string& size = sizes[static_cast<size_t>(i) % sizes.size()];
        const std::string& rate = rates[static_cast<size_t>(i) % rates.size()];
        const std::string seconds = std::to_string(1 + i % 3);
        Sample sample;
        sample.name = "media_twenty_" + std::to_string(i) + "." + kind.extension;
        sample.args = {"-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=" + rate + ":duration=" + seconds,
                       "-f", "lavfi", "-i", "sine=frequency=300:duration=" + seconds};
        sample.args.insert(sample.args.end(), kind.codec.begin(), kind.codec.end());
        samples.push_back(std::move(sample));
    }
    return samples;
}

TEST_F(RealClipLoading, TwentyFilesAgreeWithFfprobe) {
    std::vector<std::string> paths;
    for (const Sample& sample : twentySamples())
        paths.push_back(fixture(sample.name, sample.args));
    const std::vector<std::string> given = paths;
    loader.AddFiles(paths);
    ASSERT_EQ(list.Count(), 20) << (prompter.texts().empty() ? "" : prompter.texts()[0]);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_TRUE(chooser.asked.empty());

    std::vector<int> percents;
    for (const auto& [bar, percent] : events.progress)
        percents.push_back(percent);
    std::vector<int> expected = {0};
    for (int i = 0; i < 20; ++i)
        expected.push_back(i * 5);
    expected.push_back(100);
    EXPECT_EQ(percents, expected);

    for (int i = 0; i < 20; ++i) {
        const TVideoInfo& clip = *list.Clip(i);
        EXPECT_EQ(clip.FilePath, given[static_cast<size_t>(i)]);
        const QJsonObject reference = ffprobe(clip.FilePath);
        const QJsonObject video = firstStream(reference, "video");
        EXPECT_EQ(clip.Width, video["width"].toInt()) << clip.FilePath;
        EXPECT_EQ(clip.Height, video["height"].toInt()) << clip.FilePath;
        EXPECT_NEAR(clip.FrameRate, rateOf(video), 0.01) << clip.FilePath;
        EXPECT_NEAR(clip.Duration, durationSeconds(reference), 1.0) << clip.FilePath;
        EXPECT_LE(clip.Duration, std::ceil(durationSeconds(reference))) << clip.FilePath;
        EXPECT_EQ(clip.AudioRows().size(), 1u) << clip.FilePath;
        EXPECT_EQ(clip.Row().Number, i + 1);
    }
}

} // namespace
} // namespace quilo
