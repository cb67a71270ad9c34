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

class EngineConversion : public EngineTest {};

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

// Left half red, right half blue, 4 s at 25 fps, with a tone.
std::string twoColourClip() {
    return fixture(
        "engine-two-colour.mp4",
        {"-f", "lavfi", "-i",
         "color=c=red:size=320x240:rate=25:duration=4,drawbox=x=160:y=0:w=160:h=240:color=blue:t=fill", "-f",
         "lavfi", "-i", "sine=frequency=300:sample_rate=48000:duration=4", "-c:v", "libx264", "-preset",
         "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest"});
}

int frameCount(const std::string& path) {
    const auto counted =
        runProcess("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                               "stream=nb_read_frames", "-of", "csv=p=0", path});
    return std::atoi(counted.out.c_str());
}

double streamDuration(const QJsonObject& stream) {
    return stream.value("duration").toString().toDouble();
}

TEST_F(EngineConversion, CutsAudioAndVideoFromOneStartFrameAccurately) {
    Job job;
    job.files = {sourceClip()};
    job.container = "mp4";
    job.videoFormat = "h264";
    job.audioCodec = "aac";
    job.start = "1";
    job.duration = "2";
    job.output = out.file("middle.mp4");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_AVC", job), 0) << engineLog();
    const QJsonObject probe = ffprobe(job.output);
    const QJsonObject video = firstStream(probe, "video"), audio = firstStream(probe, "audio");
    EXPECT_EQ(frameCount(job.output), 50); // exactly 2 s of 25 fps
    EXPECT_NEAR(streamDuration(video), 2.0, 0.04);
    EXPECT_NEAR(streamDuration(audio), 2.0, 0.05);
    EXPECT_NEAR(text(video, "start_time").toDouble(), 0.0, 0.04);
    EXPECT_NEAR(text(audio, "start_time").toDouble(), 0.0, 0.05);

    // The first frame is the source's frame at 1 s, not the keyframe before it.
    const std::string first = rgbFrame(job.output, 0, 160, 120);
    const auto reference =
        runProcess("ffmpeg", {"-hide_banner", "-loglevel", "error", "-i", job.files[0], "-vf",
                              "select=eq(n\\,25),scale=160:120:flags=bicubic", "-frames:v", "1", "-f",
                              "rawvideo", "-pix_fmt", "rgb24", "-"});
    ASSERT_EQ(first.size(), reference.out.size());
    const Rgb a = meanColour(first, 160, 0, 0, 160, 120), b = meanColour(reference.out, 160, 0, 0, 160, 120);
    EXPECT_NEAR(a.r, b.r, 6);
    EXPECT_NEAR(a.g, b.g, 6);
    EXPECT_NEAR(a.b, b.b, 6);

    // "0" runs to the end.
    job.start = "3";
    job.duration = "0";
    job.output = out.file("tail.mp4");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_AVC", job), 0) << engineLog();
    EXPECT_EQ(frameCount(job.output), 25);
    EXPECT_NEAR(streamDuration(firstStream(ffprobe(job.output), "audio")), 1.0, 0.05);
}

TEST_F(EngineConversion, ScalesPadsSetsAspectRateChannelsAndVolume) {
    Job job;
    job.files = {twoColourClip()};
    job.container = "mp4";
    job.videoFormat = "h264";
    job.audioCodec = "aac";
    job.picture = "320:180";
    job.frame = "320:240";
    job.aspect = "16:9";
    job.frameRate = "30000/1001";
    job.sampleRate = "22050";
    job.volume = "6";
    job.duration = "2";
    job.output = out.file("boxed.mp4");
    ASSERT_EQ(engine.TZ_BIND(X_SetPar_AudioChannels)(1), 0);
    ASSERT_EQ(callEngine(engine, "X_TO_HD_MP4", job), 0) << engineLog();
    QJsonObject probe = ffprobe(job.output);
    QJsonObject video = firstStream(probe, "video"), audio = firstStream(probe, "audio");
    EXPECT_EQ(video.value("width").toInt(), 320);
    EXPECT_EQ(video.value("height").toInt(), 240);
    EXPECT_EQ(text(video, "display_aspect_ratio"), "16:9");
    EXPECT_EQ(text(video, "avg_frame_rate"), "30000/1001");
    EXPECT_EQ(text(audio, "sample_rate"), "22050");
    EXPECT_EQ(audio.value("channels").toInt(), 1);

    // Letter-box: 30 black rows above and below the picture, colours inside.
    const std::string rgb = rgbFrame(job.output, 1, 320, 240);
    ASSERT_FALSE(rgb.empty());
    const Rgb top = meanColour(rgb, 320, 0, 0, 320, 26), bottom = meanColour(rgb, 320, 0, 214, 320, 26);
    const Rgb left = meanColour(rgb, 320, 20, 60, 100, 120), right = meanColour(rgb, 320, 200, 60, 100, 120);
    EXPECT_LT(top.r + top.g + top.b, 30);
    EXPECT_LT(bottom.r + bottom.g + bottom.b, 30);
    EXPECT_GT(left.r, 200);
    EXPECT_LT(left.b, 60);
    EXPECT_GT(right.b, 200);
    EXPECT_LT(right.r, 60);

    // The channel choice lasted one conversion: the next one keeps the source's layout.
    job.output = out.file("again.mp4");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_MP4", job), 0) << engineLog();
    EXPECT_EQ(firstStream(ffprobe(job.output), "audio").value("channels").toInt(), 1); // the source is mono
    job.files = {sourceClip()};
    job.output = out.file("stereo.mp4");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_MP4", job), 0) << engineLog();
    EXPECT_EQ(firstStream(ffprobe(job.output), "audio").value("channels").toInt(), 2);

    // Louder by the volume step: compare the mean level with and without it.
    auto meanVolume = [](const std::string& path) {
        const auto measured = runProcess(
            "ffmpeg", {"-hide_banner", "-i", path, "-vn", "-af", "volumedetect", "-f", "null", "-"});
        const auto at = measured.err.find("mean_volume: ");
        return at == std::string::npos ? 0.0 : std::atof(measured.err.c_str() + at + 13);
    };
    job.volume = "0";
    job.output = out.file("quiet.mp4");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_MP4", job), 0) << engineLog();
    EXPECT_NEAR(meanVolume(out.file("stereo.mp4")) - meanVolume(job.output), 6.0, 0.5);
}

TEST_F(EngineConversion, CropsTheSourceRectangle) {
    ASSERT_EQ(engine.TZ_BIND(X_Global_Set_Crop)(1, "160", "240", "160", "0"), 0);
    Job job;
    job.files = {twoColourClip()};
    job.container = "avi";
    job.videoFormat = "mpeg4";
    job.audioCodec = "mp3";
    job.picture = job.frame = "160:240";
    job.videoBitRate = "800";
    job.duration = "1";
    job.output = out.file("right-half.avi");
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2AVI", job), 0) << engineLog();
    const std::string rgb = rgbFrame(job.output, 0.5, 160, 240);
    ASSERT_FALSE(rgb.empty());
    const Rgb all = meanColour(rgb, 160, 4, 4, 152, 232);
    EXPECT_GT(all.b, 200); // only the blue half is left
    EXPECT_LT(all.r, 40);

    // A rectangle reaching past the picture is kept inside it instead of failing.
    ASSERT_EQ(engine.TZ_BIND(X_Global_Set_Crop)(1, "400", "240", "160", "0"), 0);
    job.output = out.file("clamped.avi");
    EXPECT_EQ(callEngine(engine, "X_SetPar_D2AVI", job), 0) << engineLog();
    EXPECT_NE(engineLog().find("outside"), std::string::npos);
    // Texts that are no numbers are refused.
    EXPECT_EQ(engine.TZ_BIND(X_Global_Set_Crop)(1, "wide", "240", "0", "0"), -1);
}

TEST_F(EngineConversion, OverlaysTheWatermarkPictureForOneConversion) {
    const std::string mark =
        fixture("engine-watermark.png", {"-f", "lavfi", "-i", "color=c=white:s=40x40", "-frames:v", "1"});
    ASSERT_EQ(engine.TZ_BIND(X_Global_Set_WaterMark)(mark.c_str(), 20, 30), 0);
    Job job;
    job.files = {twoColourClip()};
    job.container = "avi";
    job.videoFormat = "mpeg4";
    job.audioCodec = "mp3";
    job.picture = job.frame = "320:240";
    job.videoBitRate = "1500";
    job.duration = "1";
    job.output = out.file("marked.avi");
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2AVI", job), 0) << engineLog();
    std::string rgb = rgbFrame(job.output, 0.5, 320, 240);
    ASSERT_FALSE(rgb.empty());
    const Rgb inside = meanColour(rgb, 320, 24, 34, 32, 32), beside = meanColour(rgb, 320, 80, 34, 32, 32);
    EXPECT_GT(inside.g, 200); // white
    EXPECT_LT(beside.g, 60);  // still red
    // The next conversion has none.
    job.output = out.file("unmarked.avi");
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2AVI", job), 0) << engineLog();
    rgb = rgbFrame(job.output, 0.5, 320, 240);
    EXPECT_LT(meanColour(rgb, 320, 24, 34, 32, 32).g, 60);
    EXPECT_EQ(engine.TZ_BIND(X_Global_Set_WaterMark)(out.file("no-such.png").c_str(), 0, 0), -1);
}

TEST_F(EngineConversion, JoinsInputPartsIntoOneTimeline) {
    const std::string a =
        fixture("engine-part-a.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2", "-f",
                                      "lavfi", "-i", "sine=sample_rate=44100:duration=2", "-c:v", "libx264",
                                      "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
    const std::string b =
        fixture("engine-part-b.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=3", "-f",
                                      "lavfi", "-i", "sine=sample_rate=44100:duration=3", "-c:v", "libx264",
                                      "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
    Job job;
    job.files = {a, b};
    job.container = "mkv";
    job.videoFormat = "mpeg4";
    job.audioCodec = "mp3";
    job.output = out.file("joined.mkv");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_H264", job), 0) << engineLog();
    const QJsonObject probe = ffprobe(job.output);
    EXPECT_NEAR(durationSeconds(probe), 5.0, 0.1);
    EXPECT_EQ(frameCount(job.output), 125);
}

TEST_F(EngineConversion, ConvertsTheAudioStreamAskedForByItsId) {
    // Three languages told apart by their sample rates; PIDs 0x101..0x103.
    const std::string ts =
        fixture("engine-three-languages.ts", {"-f",
                                              "lavfi",
                                              "-i",
                                              "testsrc2=size=320x240:rate=25:duration=2",
                                              "-f",
                                              "lavfi",
                                              "-i",
                                              "sine=frequency=300:sample_rate=32000:duration=2",
                                              "-f",
                                              "lavfi",
                                              "-i",
                                              "sine=frequency=600:sample_rate=44100:duration=2",
                                              "-f",
                                              "lavfi",
                                              "-i",
                                              "sine=frequency=900:sample_rate=48000:duration=2",
                                              "-map",
                                              "0",
                                              "-map",
                                              "1",
                                              "-map",
                                              "2",
                                              "-map",
                                              "3",
                                              "-c:v",
                                              "mpeg2video",
                                              "-c:a",
                                              "mp2",
                                              "-metadata:s:a:0",
                                              "language=eng",
                                              "-metadata:s:a:1",
                                              "language=fra",
                                              "-metadata:s:a:2",
                                              "language=deu",
                                              "-streamid",
                                              "0:256",
                                              "-streamid",
                                              "1:257",
                                              "-streamid",
                                              "2:258",
                                              "-streamid",
                                              "3:259"});
    Job job;
    job.files = {ts};
    job.container = "mp4";
    job.videoFormat = "h264";
    job.audioCodec = "aac";
    job.sampleRate = "0"; // keep the chosen stream's rate
    job.audioLanguage = "258";
    job.output = out.file("french.mp4");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_AVC", job), 0) << engineLog();
    EXPECT_EQ(text(firstStream(ffprobe(job.output), "audio"), "sample_rate"), "44100");

    job.audioLanguage = "-1";
    job.output = out.file("default.mp4");
    ASSERT_EQ(callEngine(engine, "X_TO_HD_AVC", job), 0) << engineLog();
    EXPECT_EQ(text(firstStream(ffprobe(job.output), "audio"), "sample_rate"), "32000");

    job.audioLanguage = "999";
    job.output = out.file("missing.mp4");
    clearLog();
    EXPECT_EQ(callEngine(engine, "X_TO_HD_AVC", job), -1);
    EXPECT_NE(engineLog().find("999"), std::string::npos) << engineLog();
    EXPECT_FALSE(fileExists(job.output));
}

TEST_F(EngineConversion, DvdTargetIsAuthoredByDvdauthorAndReadByLsdvd) {
    Job job;
    job.files = {sourceClip()};
    job.container = "dvd";
    job.videoFormat = "dvd";
    job.audioCodec = "ac3";
    job.sampleRate = "48000";
    job.audioBitrate = "192";
    job.videoBitRate = "5000";
    job.picture = job.frame = "720:576";
    job.aspect = "4:3";
    job.frameRate = "25";
    job.volume = "2";
    job.dvdStandard = 2;
    job.output = out.file("title.vob");
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2MPEG", job), 0) << engineLog();
    const QJsonObject probe = ffprobe(job.output);
    const QJsonObject video = firstStream(probe, "video");
    EXPECT_EQ(text(video, "codec_name"), "mpeg2video");
    EXPECT_EQ(video.value("width").toInt(), 720);
    EXPECT_EQ(video.value("height").toInt(), 576);
    EXPECT_EQ(text(video, "display_aspect_ratio"), "4:3");
    EXPECT_EQ(text(firstStream(probe, "audio"), "sample_rate"), "48000");

    const std::string dvd = out.file("DVD");
    const std::map<std::string, std::string> pal{{"VIDEO_FORMAT", "PAL"}};
    const auto title = runProcess("dvdauthor", {"-o", dvd, "-t", job.output}, 120000, pal);
    ASSERT_EQ(title.exitCode, 0) << title.err;
    const auto toc = runProcess("dvdauthor", {"-o", dvd, "-T"}, 120000, pal);
    ASSERT_EQ(toc.exitCode, 0) << toc.err;
    const auto lsdvd = runProcess("lsdvd", {"-v", "-Oy", dvd});
    ASSERT_EQ(lsdvd.exitCode, 0) << lsdvd.err;
    EXPECT_NE(lsdvd.out.find("'format' : 'PAL'"), std::string::npos) << lsdvd.out;
    EXPECT_NE(lsdvd.out.find("'aspect' : '4/3'"), std::string::npos) << lsdvd.out;
    EXPECT_NE(lsdvd.out.find("'height' : 576"), std::string::npos) << lsdvd.out;
}

TEST_F(EngineConversion, RefusesValuesItDoesNotKnowAndNamesThem) {
    struct Bad {
        const char* entry;
        const char* container;
        const char* videoFormat;
        const char* frame;
        const char* frameRate;
        const char* mentioned; // the log names the value and the argument
    };
    const Bad cases[] = {
        {"X_SetPar_D2IMP4", "nodef", "mpeg4", "160:120", "25", "OutFileFormat \"nodef\""},
        {"X_SetPar_D2IMP4", "mp4", "nodef", "160:120", "25", "VideoFormat \"nodef\""},
        {"X_SetPar_D2IMP4", "MP4", "mpeg4", "160:120", "25", "OutFileFormat \"MP4\""},
        {"X_SetPar_D2IMP4", "mp4", "mpeg4", "160x120", "25", "Out_Size_X_Y_BeforPad \"160x120\""},
        {"X_SetPar_D2IMP4", "mp4", "mpeg4", "160:120", "fast", "VideoFrameRate \"fast\""},
        {"X_TO_HD_Mobile", "3gp", "h263", "160:120", "25", "VideoResolution \"160:120\""},
        {"X_SetPar_D2MPEG", "mpeg1", "mpeg1", "160:120", "12.500", "VideoFrameRate 12.500"},
        {"X_TO_HD_WMV", "asf", "wmv2", "160:120", "25", "AudioCodec \"amr\""},
    };
    for (const Bad& bad : cases) {
        SCOPED_TRACE(bad.mentioned);
        Job job;
        job.files = {sourceClip()};
        job.container = bad.container;
        job.videoFormat = bad.videoFormat;
        job.picture = job.frame = bad.frame;
        job.frameRate = bad.frameRate;
        job.audioCodec = std::string(bad.mentioned).find("amr") != std::string::npos ? "amr" : "mp2";
        job.duration = "1";
        job.output = out.file("refused.out");
        clearLog();
        EXPECT_EQ(callEngine(engine, bad.entry, job), -1);
        EXPECT_NE(engineLog().find(bad.mentioned), std::string::npos) << engineLog();
        EXPECT_FALSE(fileExists(job.output));
    }
    // Times that are no numbers of seconds, or too large to count in microseconds.
    for (const auto& [start, duration] :
         {std::pair{"1e300", "0"}, std::pair{"0", "1e300"}, std::pair{"-1", "0"}, std::pair{"0", "inf"},
          std::pair{"nan", "0"}}) {
        SCOPED_TRACE(std::string(start) + " " + duration);
        Job job;
        job.files = {sourceClip()};
        job.container = "mp4";
        job.videoFormat = "mpeg4";
        job.start = start;
        job.duration = duration;
        job.output = out.file("timeless.mp4");
        clearLog();
        EXPECT_EQ(callEngine(engine, "X_SetPar_D2IMP4", job), -1);
        EXPECT_NE(engineLog().find(std::string(job.start == "0" ? "Duration \"" : "StartTime \"") +
                                   (job.start == "0" ? duration : start)),
                  std::string::npos)
            << engineLog();
        EXPECT_FALSE(fileExists(job.output));
    }
    // An input that is not there.
    Job missing;
    missing.files = {out.file("no-such-file.mp4")};
    missing.container = "mp4";
    missing.videoFormat = "mpeg4";
    missing.output = out.file("never.mp4");
    EXPECT_EQ(callEngine(engine, "X_SetPar_D2IMP4", missing), -1);
    EXPECT_FALSE(fileExists(missing.output));
}

TEST_F(EngineConversion, AudioEntryPointWritesTheFileTypeOfItsName) {
    struct Audio {
        const char* codec;
        const char* extension;
        const char* formatName;
        const char* codecName;
    };
    const Audio cases[] = {{"mp3", "mp3", "mp3", "mp3"},       {"aac", "aac", "aac", "aac"},
                           {"aac", "m4a", "mp4", "aac"},       {"ac3", "ac3", "ac3", "ac3"},
                           {"vorbis", "ogg", "ogg", "vorbis"}, {"pcm", "wav", "wav", "pcm_s16le"},
                           {"wma", "wma", "asf", "wmav2"}};
    for (const Audio& audio : cases) {
        SCOPED_TRACE(audio.extension);
        Job job;
        job.files = {sourceClip()}; // a video file gives its audio
        job.audioCodec = audio.codec;
        job.sampleRate = "48000";
        job.audioBitrate = "128";
        job.start = "1";
        job.duration = "2";
        job.output = out.file(std::string("song.") + audio.extension);
        ASSERT_EQ(callEngine(engine, "X_SetPar_D2IPOD_MP3", job), 0) << engineLog();
        const QJsonObject probe = ffprobe(job.output);
        EXPECT_TRUE(text(probe.value("format").toObject(), "format_name").contains(audio.formatName));
        EXPECT_EQ(streamCount(probe, "video"), 0);
        const QJsonObject stream = firstStream(probe, "audio");
        EXPECT_EQ(text(stream, "codec_name").toStdString(), audio.codecName);
        EXPECT_EQ(text(stream, "sample_rate"), "48000");
        EXPECT_NEAR(durationSeconds(probe), 2.0, 0.1);
    }
    // A silent video has nothing for an audio file.
    const std::string silent =
        fixture("engine-silent.mp4", {"-f", "lavfi", "-i", "testsrc2=size=160x120:duration=1", "-c:v",
                                      "libx264", "-preset", "ultrafast"});
    Job job;
    job.files = {silent};
    job.audioCodec = "mp3";
    job.output = out.file("nothing.mp3");
    EXPECT_EQ(callEngine(engine, "X_SetPar_D2IPOD_MP3", job), -1);
    // ... while a video target of it has no audio stream.
    Job video;
    video.files = {silent};
    video.container = "mp4";
    video.videoFormat = "h264";
    video.output = out.file("silent-copy.mp4");
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2IMP4", video), 0) << engineLog();
    EXPECT_EQ(streamCount(ffprobe(video.output), "audio"), 0);
    EXPECT_EQ(streamCount(ffprobe(video.output), "video"), 1);
}

} // namespace
} // namespace quilo::test
