// Conversions through the real entry points, checked with ffprobe and by
// decoding the outputs with the ffmpeg program.
#include "engine_library.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace quilo::test {
namespace {

// 4 s of moving test picture with a 440 Hz stereo tone.
std::string sourceClip() {
    return fixture("engine-source.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=4", "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=44100:duration=4", "-ac", "2", "-c:v", "libx264",
                    "-preset", "ultrafast", "-g", "25", "-c:a", "aac", "-shortest"});
}

QString text(const QJsonObject& object, const char* key) {
    return object.value(key).toString();
}
QString tag(const QJsonObject& probe, const char* key) {
    const QJsonObject tags = probe.value("format").toObject().value("tags").toObject();
    for (auto it = tags.begin(); it != tags.end(); ++it)
        if (it.key().compare(key, Qt::CaseInsensitive) == 0)
            return it.value().toString();
    return {};
}

struct Target {
    const char* entry;
    const char* container;
    const char* videoFormat;
    const char* audioCodec; // "" = the entry point has no AudioCodec argument
    const char* frame;
    const char* extension;
    const char* formatName; // ffprobe format_name contains this
    const char* videoCodec; // ffprobe codec_name
    const char* audioCodecName;
    bool tags; // the container stores album, artist and genre
};

class EngineConversion : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(engine.handle, nullptr) << dlerror();
        engine.TZ_BIND(X_ZLog_SetCallBackFun)(collectLog);
        engine.TZ_BIND(X_SetPar_Global)(2, 0, 0, 0, 0, -1);
        engine.TZ_BIND(X_Global_Set_Crop)(0, "320", "240", "0", "0");
        engine.TZ_BIND(X_Global_CMD)((out.path() + "kavotempfile.tmp").c_str(), "-1", 1);
        clearLog();
    }
    EngineLibrary engine;
    TempDir out;
};

TEST_F(EngineConversion, EveryVideoEntryPointWritesTheNamedContainerAndCodecs) {
    const Target targets[] = {
        {"X_SetPar_D2AVI", "avi", "xvid", "mp3", "160:120", "avi", "avi", "mpeg4", "mp3", true},
        {"X_TO_HD_AVI", "avi", "h264", "ac3", "320:240", "avi", "avi", "h264", "ac3", true},
        {"X_SetPar_D2IMP4", "mp4", "mpeg4", "", "160:120", "mp4", "mp4", "mpeg4", "aac", true},
        {"X_SetPar_D2QTMOV", "mov", "h264", "", "160:120", "mov", "mov", "h264", "aac", true},
        {"X_SetPar_D2FLV", "flv", "flv", "", "160:120", "flv", "flv", "flv1", "mp3", false},
        {"X_SetPar_D2WMV", "asf", "wmv2", "wma", "160:120", "wmv", "asf", "wmv2", "wmav2", true},
        {"X_TO_HD_AVC", "mp4", "h264", "aac", "320:240", "mp4", "mp4", "h264", "aac", true},
        {"X_TO_HD_MP4", "mp4", "mpeg4", "aac", "160:120", "mp4", "mp4", "mpeg4", "aac", true},
        {"X_TO_HD_H264", "mkv", "h264", "vorbis", "160:120", "mkv", "matroska", "h264", "vorbis", true},
        {"X_TO_HD_MOV", "mov", "mpeg4", "pcm", "160:120", "mov", "mov", "mpeg4", "pcm_s16le", true},
        {"X_TO_HD_WMV", "asf", "wmv1", "wma", "160:120", "wmv", "asf", "wmv1", "wmav2", true},
        {"X_TO_HD_Mobile", "3gp", "h263", "aac", "176:144", "3gp", "3gp", "h263", "aac", false},
        {"X_TO_HD_PS3", "mp4", "h264", "ac3", "160:120", "mp4", "mp4", "h264", "ac3", true},
        {"X_TO_HD_XBOX", "avi", "mpeg4", "mp3", "160:120", "avi", "avi", "mpeg4", "mp3", true},
        {"X_TO_HD_ZUNE", "3g2", "mpeg4", "aac", "160:120", "3g2", "3g2", "mpeg4", "aac", false},
        {"X_SetPar_D23GP", "3gp", "mpeg4", "aac", "176:144", "3gp", "3gp", "mpeg4", "aac", false},
        {"X_SetPar_D2MPEG", "mpeg1", "mpeg1", "mp2", "160:120", "mpg", "mpeg", "mpeg1video", "mp2", false},
        {"X_TO_HD_MPEG", "mpeg2", "mpeg2", "ac3", "160:120", "mpg", "mpeg", "mpeg2video", "ac3", false},
        {"X_TO_HD_MPEG2TS", "mpeg2ts", "h264", "ac3", "160:120", "m2ts", "mpegts", "h264", "ac3", false},
        {"X_TO_HD_APPLETV", "ipod", "h264", "aac", "160:120", "m4v", "mp4", "h264", "aac", true},
        {"X_SetPar_D2IPOD_VIDEO", "ipod", "h264", "", "160:120", "mp4", "mp4", "h264", "aac", true},
        {"X_SetPar_D2IPHONE_VIDEO", "ipod", "mpeg4", "", "160:120", "mp4", "mp4", "mpeg4", "aac", true},
        {"X_SetPar_D2APPLETV_VIDEO", "mp4", "h264", "", "160:120", "mp4", "mp4", "h264", "aac", true},
        {"X_SetPar_D2ZUNE_VIDEO", "asf", "wmv2", "", "160:120", "wmv", "asf", "wmv2", "wmav2", true},
        {"X_SetPar_D2PDA_VIDEO", "avi", "mpeg4", "", "160:120", "avi", "avi", "mpeg4", "mp3", true},
        {"X_SetPar_D2PSP", "", "h264", "", "160:120", "mp4", "mp4", "h264", "aac", false},
    };
    const std::string source = sourceClip();
    for (const Target& target : targets) {
        SCOPED_TRACE(target.entry);
        Job job;
        job.files = {source};
        job.container = target.container;
        job.videoFormat = target.videoFormat;
        job.audioCodec = target.audioCodec;
        job.picture = job.frame = target.frame;
        job.duration = "2";
        job.output = out.file(std::string(target.entry) + "." + target.extension);
        clearLog();
        ASSERT_EQ(callEngine(engine, target.entry, job), 0) << engineLog();

        const QJsonObject probe = ffprobe(job.output);
        const QJsonObject video = firstStream(probe, "video"), audio = firstStream(probe, "audio");
        EXPECT_TRUE(text(probe.value("format").toObject(), "format_name").contains(target.formatName))
            << text(probe.value("format").toObject(), "format_name").toStdString();
        EXPECT_EQ(text(video, "codec_name").toStdString(), target.videoCodec);
        EXPECT_EQ(text(audio, "codec_name").toStdString(), target.audioCodecName);
        int w = 0, h = 0;
        std::sscanf(target.frame, "%d:%d", &w, &h);
        EXPECT_EQ(video.value("width").toInt(), w);
        EXPECT_EQ(video.value("height").toInt(), h);
        EXPECT_EQ(text(video, "avg_frame_rate"), "25/1");
        EXPECT_EQ(text(audio, "sample_rate"), "44100");
        EXPECT_NEAR(durationSeconds(probe), 2.0, 0.15);
        if (target.tags) {
            // AVI keeps the album as its product field.
            const QString album = tag(probe, "album").isEmpty() ? tag(probe, "product") : tag(probe, "album");
            EXPECT_EQ(album, "Album name");
            EXPECT_EQ(tag(probe, "artist"), "Artist name");
            EXPECT_EQ(tag(probe, "genre"), "MyVideo");
        }
        if (std::string(target.videoFormat) == "xvid") {
            EXPECT_EQ(text(video, "codec_tag_string"), "XVID");
        }
        if (std::string(target.container) == "ipod" && std::string(target.videoFormat) == "h264") {
            EXPECT_EQ(text(video, "profile"), "Main");
            EXPECT_EQ(text(video, "pix_fmt"), "yuv420p");
        }
        if (std::string(target.container) == "mpeg2ts") {
            EXPECT_EQ(std::filesystem::file_size(job.output) % 192, 0u); // M2TS packets
        }
    }
}

} // namespace
} // namespace quilo::test
