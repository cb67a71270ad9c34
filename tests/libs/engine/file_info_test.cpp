// File information and thumbnail as clip loading asks for them, checked
// against ffprobe's reading of the same files.
#include "engine_library.h"

#include <QJsonObject>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace quilo::test {
namespace {

// Two black seconds, then red over blue for eight, with a stereo tone.
std::string blackStartClip() {
    return fixture("engine-black-start.mp4",
                   {"-filter_complex",
                    "color=c=black:s=320x240:r=25:d=2[a];"
                    "color=c=red:s=320x240:r=25:d=8,drawbox=x=0:y=120:w=320:h=120:color=blue:t=fill[b];"
                    "[a][b]concat=n=2[v];sine=frequency=500:sample_rate=48000:duration=10[s]",
                    "-map", "[v]", "-map", "[s]", "-ac", "2", "-c:v", "libx264", "-preset", "ultrafast",
                    "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "96k"});
}

// PAL DVD picture with 16:9 display aspect on 720x576 pixels.
std::string anamorphicClip() {
    return fixture("engine-anamorphic.mpg", {"-f", "lavfi", "-i", "testsrc2=size=720x576:rate=25:duration=2",
                                             "-f", "lavfi", "-i", "sine=sample_rate=48000:duration=2", "-c:v",
                                             "mpeg2video", "-aspect", "16:9", "-c:a", "mp2", "-f", "mpeg"});
}

double probeRate(const QJsonObject& stream) {
    const QStringList parts = stream.value("avg_frame_rate").toString().split('/');
    return parts.size() == 2 && parts[1].toDouble() > 0 ? parts[0].toDouble() / parts[1].toDouble() : 0;
}

class EngineFileInfo : public EngineTest {
protected:
    int readInfo(const std::string& path, TzFileInfo& info) {
        std::vector<char> copy(path.begin(), path.end());
        copy.resize(path.size() + 10, '\0'); // the caller's writable copy
        std::memset(&info, 0x7f, sizeof info);
        return engine.TZ_BIND(X_GetFileinfo_GetPic)(copy.data(), 10, &info, 0);
    }
    std::string thumbnail(int width, int height) {
        unsigned char* pixels = nullptr;
        int info[10] = {};
        if (engine.TZ_BIND(X_Get_Frame)(width, height, "2.bmp", &pixels, info) != 0 || !pixels)
            return {};
        return std::string(reinterpret_cast<const char*>(pixels),
                           static_cast<std::size_t>(width) * height * 3);
    }
};

TEST_F(EngineFileInfo, FillsTheRecordAsFfprobeReadsTheFile) {
    const std::string path = blackStartClip();
    TzFileInfo info;
    ASSERT_EQ(readInfo(path, info), 0) << engineLog();
    const QJsonObject probe = ffprobe(path);
    const QJsonObject video = firstStream(probe, "video"), audio = firstStream(probe, "audio");
    EXPECT_EQ(info.duration, static_cast<int>(durationSeconds(probe)));
    EXPECT_NEAR(info.durationMs, durationSeconds(probe) * 1000, 1);
    EXPECT_NEAR(info.frameRate, probeRate(video), 0.001);
    EXPECT_EQ(info.width, video.value("width").toInt());
    EXPECT_EQ(info.height, video.value("height").toInt());
    EXPECT_EQ(info.aspectCode, 2); // 4:3
    EXPECT_EQ(info.aspectFlag, 1); // square pixels
    EXPECT_EQ(info.displayWidth, 320);
    EXPECT_EQ(info.audioSampleRate, audio.value("sample_rate").toString().toInt());
    EXPECT_EQ(info.reserved, 0);
    EXPECT_NEAR(info.audioBitRate, audio.value("bit_rate").toString().toDouble() / 1000, 0.5);
    EXPECT_NEAR(info.videoBitRate, video.value("bit_rate").toString().toDouble() / 1000, 0.5);
    EXPECT_EQ(info.audioChannels, 2);
    EXPECT_EQ(info.hasVideo, 1);
    EXPECT_EQ(info.hasAudio, 1);
    EXPECT_EQ(info.audioStreamCount, 1);
    EXPECT_STREQ(info.videoCodec, "h264");
    EXPECT_STREQ(info.audioCodec, "aac");
    EXPECT_NE(std::string(info.container).find("mp4"), std::string::npos);
}

TEST_F(EngineFileInfo, ThumbnailIsARepresentativePictureOfTheAskedSizeTopDown) {
    TzFileInfo info;
    ASSERT_EQ(readInfo(blackStartClip(), info), 0) << engineLog();
    // A size of the clip list that is not the picture's own.
    const int width = 228, height = 180;
    const std::string rgb = thumbnail(width, height);
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(width) * height * 3);
    // Not the black opening: red above blue, in R, G, B order, first row first.
    const Rgb top = meanColour(rgb, width, 0, 0, width, 80),
              bottom = meanColour(rgb, width, 0, 100, width, 80);
    EXPECT_GT(top.r, 200);
    EXPECT_LT(top.b, 40);
    EXPECT_GT(bottom.b, 200);
    EXPECT_LT(bottom.r, 40);
    // The thumbnail goes with one reading of the file information.
    EXPECT_TRUE(thumbnail(width, height).empty());
}

TEST_F(EngineFileInfo, AnamorphicPictureReportsItsDisplayAspect) {
    TzFileInfo info;
    ASSERT_EQ(readInfo(anamorphicClip(), info), 0) << engineLog();
    const QJsonObject video = firstStream(ffprobe(anamorphicClip()), "video");
    ASSERT_EQ(video.value("display_aspect_ratio").toString(), "16:9");
    EXPECT_EQ(info.width, 720);
    EXPECT_EQ(info.height, 576);
    EXPECT_EQ(info.aspectCode, 3); // 16:9
    EXPECT_EQ(info.aspectFlag, 0); // the code applies, not width:height
    EXPECT_EQ(info.displayWidth, 1024);
    EXPECT_NEAR(info.frameRate, 25.0, 0.001);
    EXPECT_EQ(info.audioSampleRate, 48000);
    EXPECT_EQ(thumbnail(240, 136).size(), 240u * 136 * 3);
}

TEST_F(EngineFileInfo, AudioFileHasNoPictureAndUnreadableFilesGiveMinusOne) {
    const std::string song = fixture(
        "engine-song.mp3", {"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=3", "-b:a", "128k"});
    TzFileInfo info;
    ASSERT_EQ(readInfo(song, info), 0) << engineLog();
    EXPECT_EQ(info.hasVideo, 0);
    EXPECT_EQ(info.hasAudio, 1);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.audioSampleRate, 44100);
    EXPECT_NEAR(info.audioBitRate, 128, 0.5);
    EXPECT_EQ(info.duration, 3);
    EXPECT_TRUE(thumbnail(240, 180).empty());

    const std::string text = out.file("readme.avi");
    writeFile(text, "not a film at all, only words\n");
    for (const std::string& path : {text, out.file("missing.mp4"), out.path()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(readInfo(path, info), -1);
    }
    EXPECT_EQ(engine.TZ_BIND(X_GetFileinfo_GetPic)(nullptr, 10, &info, 0), -1);
}

TEST_F(EngineFileInfo, CountsTheProcessorCores) {
    EXPECT_EQ(engine.TZ_BIND(X_Get_CPU_Core_Number)(), static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)));
}

} // namespace
} // namespace quilo::test
