// Progress and stop from another thread while a long conversion runs, as the
// progress window does with its timer and its Stop button.
#include "engine_library.h"
#include "window_posts.h"

#include <chrono>
#include <future>
#include <iostream>
#include <thread>

namespace quilo::test {
namespace {

class EngineStop : public EngineTest {};

// The same clip given as many parts: a long input without a long fixture.
Job longJob(const std::string& output) {
    Job job;
    job.files.assign(30, sourceClip()); // 120 s in all
    job.container = "mp4";
    job.videoFormat = "h264";
    job.audioCodec = "aac";
    job.picture = job.frame = "320:240";
    job.output = output;
    return job;
}

TEST_F(EngineStop, StopEndsTheRunningConversionWithAPlayableFile) {
    const auto getInfo = engine.TZ_BIND(X_Get_Info);
    const auto stop = engine.TZ_BIND(X_StopConvert);
    WindowPosts progressWindow;
    Job job = longJob(out.file("stopped.mp4"));
    job.window = progressWindow.port();

    auto running = std::async(std::launch::async, [&] { return callEngine(engine, "X_TO_HD_AVC", job); });
    // Poll as the progress window does until two seconds are done.
    int info[4] = {};
    bool reported = false;
    while (running.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        getInfo(info);
        if (info[2] != 0 && info[0] >= 2 && info[1] > 0) {
            reported = true;
            break;
        }
    }
    ASSERT_TRUE(reported) << "the conversion ended before reporting progress\n" << engineLog();
    EXPECT_LE(info[3], 5); // two seconds of 120 are a few percent
    // The window was told that a stop is possible.
    ASSERT_FALSE(progressWindow.messages().empty());
    EXPECT_EQ(progressWindow.messages().front(), 2312u);

    const auto askedAt = std::chrono::steady_clock::now();
    EXPECT_EQ(stop(), 0);
    // Only a guard against hanging; the time it took is printed below.
    ASSERT_EQ(running.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - askedAt).count();
    std::cout << "the conversion returned " << waited << " s after the stop\n";
    EXPECT_EQ(running.get(), 0) << engineLog();
    getInfo(info);
    EXPECT_EQ(info[2], 0); // no longer encoding

    // A finished file that holds the part before the stop, not the whole input.
    const QJsonObject probe = ffprobe(job.output);
    ASSERT_FALSE(probe.isEmpty());
    EXPECT_EQ(firstStream(probe, "video").value("codec_name").toString(), "h264");
    EXPECT_EQ(streamCount(probe, "audio"), 1);
    EXPECT_GE(durationSeconds(probe), 1.5);
    EXPECT_LT(durationSeconds(probe), 60.0);
    const auto decoded = runProcess("ffmpeg", {"-v", "error", "-i", job.output, "-f", "null", "-"});
    EXPECT_EQ(decoded.exitCode, 0);
    EXPECT_EQ(decoded.err, "");

    // The stop belonged to that conversion; nor does one made while nothing
    // runs cut the next conversion short.
    EXPECT_EQ(stop(), 0);
    Job next;
    next.files = {sourceClip()};
    next.container = "mp4";
    next.videoFormat = "mpeg4";
    next.output = out.file("after-stop.mp4");
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2IMP4", next), 0) << engineLog();
    EXPECT_NEAR(durationSeconds(ffprobe(next.output)), 4.0, 0.1);
}

} // namespace
} // namespace quilo::test
