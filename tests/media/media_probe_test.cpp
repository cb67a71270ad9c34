// Media analysis through the real MediaInfo library, checked against ffprobe.
#include "media/media_info.h"
#include "media_fixtures.h"
#include "quilo_test/refused_libraries.h"

#include <QJsonArray>
#include <filesystem>
#include <gtest/gtest.h>

namespace quilo {
namespace {

using namespace quilo::test;

std::vector<int> audioIds(const TMediaInfo& info) {
    std::vector<int> ids;
    for (const TAudioStream& audio : info.Audio)
        ids.push_back(audio.Id);
    return ids;
}

TEST(MediaProbe, TransportStreamAudioComesSortedByPid) {
    const std::string path = media::unorderedTransportStream();
    const QJsonObject reference = ffprobe(path);
    std::vector<int> fileOrder;
    for (const auto stream : reference["streams"].toArray()) {
        if (stream.toObject()["codec_type"].toString() == "audio")
            fileOrder.push_back(stream.toObject()["id"].toString().toInt(nullptr, 16));
    }
    ASSERT_EQ(fileOrder, (std::vector<int>{0x103, 0x101, 0x102}));

    TMediaInfo info;
    ProbeMedia(path, info);
    EXPECT_EQ(info.FormatName, "MPEG-TS");
    EXPECT_EQ(audioIds(info), (std::vector<int>{0x101, 0x102, 0x103}));
    const QJsonObject video = firstStream(reference, "video");
    EXPECT_EQ(info.Video.Id, video["id"].toString().toInt(nullptr, 16));
    EXPECT_EQ(info.Video.Width, video["width"].toInt());
    EXPECT_EQ(info.Video.Height, video["height"].toInt());
    EXPECT_FLOAT_EQ(info.Video.FrameRate, 25.0f);
    EXPECT_EQ(info.Video.AspectText, "4:3");
    EXPECT_NEAR(info.Video.Duration, durationSeconds(reference) * 1000, 100);
    for (const TAudioStream& audio : info.Audio) {
        EXPECT_EQ(audio.SamplingRate, firstStream(reference, "audio")["sample_rate"].toString().toInt());
        EXPECT_EQ(audio.Channels, 1);
        EXPECT_FALSE(audio.DurationText.empty());
    }
}

TEST(MediaProbe, MatroskaLanguagesAndTrackIds) {
    TMediaInfo info;
    ProbeMedia(media::threeLanguageMatroska(), info);
    EXPECT_EQ(info.FormatName, "Matroska");
    ASSERT_EQ(info.Audio.size(), 3u);
    EXPECT_EQ(info.Audio[0].Language, "English");
    EXPECT_EQ(info.Audio[1].Language, "German");
    EXPECT_EQ(info.Audio[2].Language, "French");
    // Track numbers: the video is track 1.
    EXPECT_EQ(audioIds(info), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(info.Video.Id, 1);
}

TEST(MediaProbe, AudioOnlyFileHasAnEmptyVideoRecord) {
    const std::string path = media::audioOnly();
    const QJsonObject reference = ffprobe(path);
    TMediaInfo info;
    ProbeMedia(path, info);
    EXPECT_EQ(info.Video.Width, 0);
    EXPECT_EQ(info.Video.Height, 0);
    EXPECT_EQ(info.Video.FrameRate, 0.0f);
    EXPECT_EQ(info.Video.AspectText, "");
    ASSERT_EQ(info.Audio.size(), 1u);
    // An audio stream without an ID sorts first as -1.
    EXPECT_EQ(info.Audio[0].Id, -1);
    EXPECT_EQ(info.Audio[0].SamplingRate, firstStream(reference, "audio")["sample_rate"].toString().toInt());
    EXPECT_EQ(info.Audio[0].BitRate, 64000);
    EXPECT_NEAR(info.Audio[0].Duration, durationSeconds(reference) * 1000, 100);
}

TEST(MediaProbe, UnreadableAndNonAsciiFiles) {
    TempDir dir;
    const std::string text = dir.file("notes.avi");
    writeFile(text, "This is not a video at all.\n");
    TMediaInfo info;
    ProbeMedia(text, info);
    EXPECT_TRUE(info.Audio.empty());
    EXPECT_EQ(info.Video.Width, 0);
    EXPECT_EQ(info.Video.FrameRate, 0.0f);

    ProbeMedia(dir.file("missing.mkv"), info);
    EXPECT_EQ(info.FormatName, "");
    EXPECT_TRUE(info.Audio.empty());

    // File names are UTF-8 whatever the locale of the process.
    const std::string odd = dir.file("Kl\xC3\xA4nge \xE2\x80\x94 f\xC3\xBCr dich.mkv");
    std::filesystem::copy_file(media::threeLanguageMatroska(), odd);
    ProbeMedia(odd, info);
    EXPECT_EQ(info.FormatName, "Matroska");
    EXPECT_EQ(info.Audio.size(), 3u);
}

TEST(MediaProbe, MissingLibraryAnswersItsOwnText) {
    MediaInfoBinding missing("/nonexistent/folder/libmediainfo.so.0");
    TMediaInfo info;
    info.Audio.push_back({});
    ProbeMedia(missing, media::threeLanguageMatroska(), info);
    EXPECT_EQ(info.FormatName, "Unable to load MediaInfo.dll");
    EXPECT_EQ(info.Video.CodecText, "Unable to load MediaInfo.dll");
    EXPECT_EQ(info.Video.AspectText, "Unable to load MediaInfo.dll");
    EXPECT_EQ(info.Video.DurationText, "Unable to load MediaInfo.dll");
    EXPECT_EQ(info.Video.Width, 0);
    EXPECT_EQ(info.Video.Id, 0);
    EXPECT_TRUE(info.Audio.empty());
    EXPECT_EQ(missing.users(), 0);
    EXPECT_FALSE(missing.error().empty());
}

TEST(MediaProbe, BindingCountsUsersAndRefusesAnIncompleteLibrary) {
    MediaInfoBinding binding;
    ASSERT_TRUE(binding.MediaInfoLoad()) << binding.error();
    ASSERT_TRUE(binding.MediaInfoLoad());
    EXPECT_EQ(binding.users(), 2);
    binding.MediaInfoUnload();
    EXPECT_TRUE(binding.loaded());
    binding.MediaInfoUnload();
    EXPECT_FALSE(binding.loaded());
    binding.MediaInfoUnload(); // no user left: nothing happens
    EXPECT_EQ(binding.users(), 0);

    // A real library that lacks the names.
    MediaInfoBinding wrong("libz.so.1");
    EXPECT_FALSE(wrong.MediaInfoLoad());
    EXPECT_NE(wrong.error().find("MediaInfoA_New"), std::string::npos);
    EXPECT_NE(wrong.error().find("MediaInfoListA_Count_Get_Files"), std::string::npos);
    // Found by its bare name, it is still named by its file.
    EXPECT_EQ(wrong.error().rfind("/", 0), 0u) << wrong.error();
    EXPECT_EQ(wrong.users(), 0);
}

TEST(MediaProbe, AnOlderLibraryIsRefusedWithBothVersionsAndProbesAnswerTheMissingText) {
    const std::string path = test::refusedLibraryFolder("mediainfo-of-another-version") + "libmediainfo.so.0";
    MediaInfoBinding older(path);
    EXPECT_FALSE(older.MediaInfoLoad());
    EXPECT_EQ(older.error(), path + " is version 0.6.1; this program needs version 0.7 or later");
    EXPECT_EQ(older.users(), 0);
    TMediaInfo info;
    ProbeMedia(older, media::threeLanguageMatroska(), info);
    EXPECT_EQ(info.FormatName, "Unable to load MediaInfo.dll");
    EXPECT_TRUE(info.Audio.empty());
}

TEST(MediaProbe, AudioListOrderRule) {
    TAudioList list;
    for (int id : {3, 1, 2})
        InsertAudioStream(list, TAudioStream{{id, 0, "", ""}, "", 0, 0, 0});
    EXPECT_EQ(std::vector<int>({list[0].Id, list[1].Id, list[2].Id}), (std::vector<int>{1, 2, 3}));

    // Of two streams with the same ID the later one goes in front.
    TAudioList same;
    InsertAudioStream(same, TAudioStream{{5, 0, "", ""}, "first", 0, 0, 0});
    InsertAudioStream(same, TAudioStream{{5, 0, "", ""}, "second", 0, 0, 0});
    InsertAudioStream(same, TAudioStream{{-1, 0, "", ""}, "none", 0, 0, 0});
    ASSERT_EQ(same.size(), 3u);
    EXPECT_EQ(same[0].Language, "none");
    EXPECT_EQ(same[1].Language, "second");
    EXPECT_EQ(same[2].Language, "first");
}

TEST(MediaProbe, NumbersAreReadLikeTheCLibrary) {
    EXPECT_EQ(ParseMediaInteger("1000.000"), 1000);
    EXPECT_EQ(ParseMediaInteger("  -12 ms"), -12);
    EXPECT_EQ(ParseMediaInteger("189 (0xBD)"), 189);
    EXPECT_EQ(ParseMediaInteger("Unable to load MediaInfo.dll"), 0);
    EXPECT_EQ(ParseMediaInteger(""), 0);
    EXPECT_EQ(ParseMediaInteger("99999999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(ParseMediaDecimal("29.970"), 29.97);
    EXPECT_DOUBLE_EQ(ParseMediaDecimal("23.976 (24000/1001)"), 23.976);
    EXPECT_DOUBLE_EQ(ParseMediaDecimal("abc"), 0.0);
    EXPECT_DOUBLE_EQ(ParseMediaDecimal("nan"), 0.0);
}

} // namespace
} // namespace quilo
