// Inputs that used to run away or fail for no good reason: timestamps that
// jump by hours, Matroska without sound, very wide pictures, sound without
// pictures. Each converts to a file of the source's length or fails with its
// reason in the log.
#include "engine_library.h"

#include <chrono>
#include <cstdlib>
#include <future>
#include <iostream>

namespace quilo::test {
namespace {

class EngineUnusualInput : public EngineTest {};

Job dvdJob(const std::string& input, const std::string& output) {
    Job job;
    job.files = {input};
    job.container = job.videoFormat = "dvd";
    job.audioCodec = "ac3";
    job.sampleRate = "48000";
    job.audioBitrate = "192";
    job.videoBitRate = "5000";
    job.picture = job.frame = "720:480";
    job.aspect = "4:3";
    job.frameRate = "30000/1001";
    job.dvdStandard = 1;
    job.output = output;
    return job;
}

Job mp4Job(const std::string& input, const std::string& output) {
    Job job;
    job.files = {input};
    job.container = "mp4";
    job.videoFormat = "h264";
    job.audioCodec = "aac";
    job.sampleRate = "48000";
    job.output = output;
    return job;
}

// The conversion on its own thread; a run far longer than any normal one is a
// hang, and the test process ends rather than wait for it.
int convertWithin(const EngineLibrary& engine, const std::string& entry, const Job& job, int seconds) {
    auto running = std::async(std::launch::async, [&] { return callEngine(engine, entry, job); });
    if (running.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready) {
        std::cerr << entry << " of " << job.files.front() << " still runs after " << seconds << " s\n";
        std::_Exit(1);
    }
    return running.get();
}

TEST_F(EngineUnusualInput, TimestampsJumpingByHoursKeepTheSourceLength) {
    const std::string input = corpusFile("ps-wild-timestamps.mpg");
    const Job dvd = dvdJob(input, out.file("wild.vob"));
    const Job mp4 = mp4Job(input, out.file("wild.mp4"));
    for (const auto& [entry, job] : {std::pair{"X_SetPar_D2MPEG", dvd}, std::pair{"X_TO_HD_AVC", mp4}}) {
        SCOPED_TRACE(entry);
        clearLog();
        ASSERT_EQ(convertWithin(engine, entry, job, 120), 0) << engineLog();
        // The source is 3 s long; hours of copies of one picture are gone.
        const QJsonObject probe = ffprobe(job.output);
        EXPECT_GT(durationSeconds(probe), 2.0) << engineLog();
        EXPECT_LT(durationSeconds(probe), 4.0) << engineLog();
        EXPECT_EQ(streamCount(probe, "audio"), 1);
        EXPECT_NE(engineLog().find("taken for a discontinuity"), std::string::npos) << engineLog();
    }
}

TEST_F(EngineUnusualInput, StopDuringDamagedTimestampsEndsTheConversionAtOnce) {
    const auto getInfo = engine.TZ_BIND(X_Get_Info);
    // The damaged file ten times over: long enough to be stopped in the middle.
    Job job = dvdJob(corpusFile("ps-wild-timestamps.mpg"), out.file("stopped.vob"));
    job.files.assign(10, job.files.front());
    auto running = std::async(std::launch::async, [&] { return callEngine(engine, "X_SetPar_D2MPEG", job); });
    int info[4] = {};
    while (running.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        getInfo(info);
        if (info[2] != 0 && info[0] >= 2)
            break;
    }
    ASSERT_GE(info[0], 2) << "the conversion ended before two seconds were done\n" << engineLog();
    const auto askedAt = std::chrono::steady_clock::now();
    engine.TZ_BIND(X_StopConvert)();
    // A guard against a hang only; the time it took is printed.
    ASSERT_EQ(running.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - askedAt).count();
    std::cout << "the damaged conversion returned " << waited << " s after the stop\n";
    EXPECT_EQ(running.get(), 0) << engineLog();
    const QJsonObject probe = ffprobe(job.output);
    EXPECT_GE(durationSeconds(probe), 1.5);
    EXPECT_LT(durationSeconds(probe), 30.0);
}

TEST_F(EngineUnusualInput, H264InTransportStreamsHasItsThumbnail) {
    // Without an index a seek lands behind the only keyframe; the clip list
    // refused such files for want of a picture.
    for (const char* name : {"h264-one-keyframe.ts", "h264-one-keyframe.m2ts"}) {
        SCOPED_TRACE(name);
        const std::string path = corpusFile(name);
        std::vector<char> copy(path.begin(), path.end());
        copy.resize(path.size() + 10, '\0');
        TzFileInfo info;
        ASSERT_EQ(engine.TZ_BIND(X_GetFileinfo_GetPic)(copy.data(), 10, &info, 1), 0) << engineLog();
        unsigned char* pixels = nullptr;
        int frame[10] = {};
        ASSERT_EQ(engine.TZ_BIND(X_Get_Frame)(240, 180, "2.bmp", &pixels, frame), 0) << engineLog();
        ASSERT_NE(pixels, nullptr);
        EXPECT_GT(pixels[240 * 90 * 3 + 120 * 3] + pixels[240 * 90 * 3 + 120 * 3 + 1], 0); // not black
    }
}

TEST_F(EngineUnusualInput, MatroskaWithoutSoundConvertsItsPictures) {
    // A Matroska clip names its audio by position; with no audio there is
    // nothing at position 0, and the pictures alone are the clip.
    Job job = mp4Job(corpusFile("video-only.mkv"), out.file("pictures.mp4"));
    job.audioLanguage = "0";
    ASSERT_EQ(callEngine(engine, "X_TO_HD_AVC", job), 0) << engineLog();
    const QJsonObject probe = ffprobe(job.output);
    EXPECT_EQ(streamCount(probe, "video"), 1);
    EXPECT_EQ(streamCount(probe, "audio"), 0);
    EXPECT_NEAR(durationSeconds(probe), 3.0, 0.1);

    // A file with sound but not the one asked for still fails, and says so.
    clearLog();
    job.files = {sourceClip()};
    job.audioLanguage = "5";
    job.output = out.file("no-such-audio.mp4");
    EXPECT_EQ(callEngine(engine, "X_TO_HD_AVC", job), -1);
    EXPECT_NE(engineLog().find("failed: \"" + sourceClip() + "\" has no audio stream with the id 5"),
              std::string::npos)
        << engineLog();
}

TEST_F(EngineUnusualInput, PicturesUpTo16384PixelsWideConvert) {
    Job job = mp4Job(corpusFile("wide-16384.mp4"), out.file("wide.mp4"));
    job.picture = job.frame = "16384:16";
    ASSERT_EQ(callEngine(engine, "X_TO_HD_AVC", job), 0) << engineLog();
    const QJsonObject video = firstStream(ffprobe(job.output), "video");
    EXPECT_EQ(video.value("width").toInt(), 16384);
    EXPECT_EQ(video.value("height").toInt(), 16);

    // Past that, and for an encoder that cannot, the reason is given.
    clearLog();
    job.picture = job.frame = "16400:16";
    EXPECT_EQ(callEngine(engine, "X_TO_HD_AVC", job), -1);
    EXPECT_NE(engineLog().find("failed: X_TO_HD_AVC: VideoResolution \"16400:16\" is larger than"),
              std::string::npos)
        << engineLog();
    clearLog();
    job.picture = job.frame = "16384:16";
    job.videoFormat = "mpeg4";
    EXPECT_EQ(callEngine(engine, "X_TO_HD_AVC", job), -1);
    EXPECT_NE(engineLog().find("failed: cannot open the mpeg4 encoder"), std::string::npos) << engineLog();
}

TEST_F(EngineUnusualInput, SoundWithoutPicturesGetsABlackPictureOnVideoTargets) {
    // Devices and DVD players want a picture: the sound's length of black.
    const std::string input = corpusFile("audio-only.mp3");
    const Job dvd = dvdJob(input, out.file("sound.vob"));
    const Job mp4 = mp4Job(input, out.file("sound.mp4"));
    for (const auto& [entry, job] : {std::pair{"X_SetPar_D2MPEG", dvd}, std::pair{"X_TO_HD_AVC", mp4}}) {
        SCOPED_TRACE(entry);
        clearLog();
        ASSERT_EQ(callEngine(engine, entry, job), 0) << engineLog();
        const QJsonObject probe = ffprobe(job.output);
        const QJsonObject video = firstStream(probe, "video");
        EXPECT_EQ(video.value("width").toInt(), job.frame == "720:480" ? 720 : 160);
        EXPECT_EQ(streamCount(probe, "audio"), 1);
        EXPECT_NEAR(durationSeconds(probe), 3.0, 0.3);
        const Rgb centre = meanColour(rgbFrame(job.output, 1.0, 64, 48), 64, 16, 12, 32, 24);
        EXPECT_LT(centre.r + centre.g + centre.b, 30.0);
    }
}

} // namespace
} // namespace quilo::test
