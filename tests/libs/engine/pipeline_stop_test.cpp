// A stop or a failure reaches every thread of a conversion: whichever stage
// holds the work when it comes, the call returns soon with a finished file
// (a stop) or -1 and its reason (a failure), and never hangs.
#include "engine_library.h"

#include <chrono>
#include <functional>
#include <future>
#include <iostream>

namespace quilo::test {
namespace {

using namespace std::chrono_literals;

// Only a guard against a hang: the time a stop took is printed, not judged.
constexpr auto kWatchdog = 10s;

// 2 s of 1280x720 H.264 at a high rate: costly to decode, cheap to make small.
std::string largeClip() {
    return fixture("engine-pipeline-720p.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25:duration=2", "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=44100:duration=2", "-ac", "2", "-c:v", "libx264",
                    "-preset", "ultrafast", "-b:v", "20M", "-c:a", "aac", "-shortest"});
}

// 2 s of interlaced 640x480 H.264: the deinterlacer has work on every frame.
std::string interlacedClip() {
    return fixture("engine-pipeline-interlaced.mp4",
                   {"-f",       "lavfi",       "-i",   "testsrc2=size=640x480:rate=25:duration=2",
                    "-f",       "lavfi",       "-i",   "sine=frequency=440:sample_rate=44100:duration=2",
                    "-ac",      "2",           "-vf",  "tinterlace=interleave_top",
                    "-flags",   "+ildct+ilme", "-c:v", "libx264",
                    "-preset",  "ultrafast",   "-c:a", "aac",
                    "-shortest"});
}

struct StopCase {
    const char* stage; // where most of the work lies when the stop comes
    const char* entry;
    Job job;
    bool deinterlace = false;
    // When the progress figures say the stage is at work.
    std::function<bool(const int info[4])> ready;
};

class EnginePipelineStop : public EngineTest {
protected:
    Job videoJob(const std::string& source, int copies, const char* size, const char* name) {
        Job job;
        job.files.assign(copies, source);
        job.container = "mp4";
        job.videoFormat = "mpeg4";
        job.audioCodec = "aac";
        job.picture = job.frame = size;
        job.output = out.file(name);
        return job;
    }
};

TEST_F(EnginePipelineStop, AStopAtAnyStageEndsTheConversionWithAPlayableFile) {
    const auto getInfo = engine.TZ_BIND(X_Get_Info);
    const auto stop = engine.TZ_BIND(X_StopConvert);
    const auto twoSecondsDone = [](const int info[4]) { return info[2] != 0 && info[0] >= 2; };

    std::vector<StopCase> cases;
    // Large pictures in, small ones out: decoding is the slow part.
    cases.push_back({"decoding", "X_TO_HD_MP4", videoJob(largeClip(), 20, "160:120", "decoding.mp4"), false,
                     twoSecondsDone});
    // Deinterlacing and scaling down, a cheap encoder after them.
    cases.push_back({"filtering", "X_TO_HD_MP4", videoJob(interlacedClip(), 20, "320:240", "filtering.mp4"),
                     true, twoSecondsDone});
    // Small pictures scaled up for a slow H.264 encoder.
    Job slow = videoJob(sourceClip(), 10, "1280:720", "encoding.mp4");
    slow.videoFormat = "h264";
    slow.highQuality = 1;
    cases.push_back({"video encoding", "X_TO_HD_AVC", slow, false, twoSecondsDone});
    // Sound alone, many parts long.
    Job sound;
    sound.files.assign(60, sourceClip());
    sound.audioCodec = "mp3";
    sound.audioBitrate = "128";
    sound.output = out.file("audio.mp3");
    cases.push_back({"audio only", "X_SetPar_D2IPOD_MP3", sound, false,
                     [](const int info[4]) { return info[2] != 0 && info[0] >= 10; }});
    // The last picture is with the encoder, whose look-ahead still holds dozens.
    Job flush = videoJob(sourceClip(), 1, "1280:720", "flush.mp4");
    flush.videoFormat = "h264";
    cases.push_back({"encoder flush", "X_TO_HD_AVC", flush, false,
                     [](const int info[4]) { return info[2] != 0 && info[3] >= 99; }});

    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.stage);
        engine.TZ_BIND(X_SetPar_Global)(2, c.deinterlace ? 1 : 0, 0, 0, 0, -1);
        clearLog();
        auto running = std::async(std::launch::async, [&] { return callEngine(engine, c.entry, c.job); });
        int info[4] = {};
        bool reached = false;
        while (running.wait_for(5ms) != std::future_status::ready) {
            getInfo(info);
            if (c.ready(info)) {
                reached = true;
                break;
            }
        }
        ASSERT_TRUE(reached) << "the conversion ended before the stop\n" << engineLog();
        const auto askedAt = std::chrono::steady_clock::now();
        EXPECT_EQ(stop(), 0);
        ASSERT_EQ(running.wait_for(kWatchdog), std::future_status::ready) << "no end after the stop";
        const double waited =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - askedAt).count();
        std::cout << "stop during " << c.stage << " at " << info[0] << " s (" << info[3] << " %): returned "
                  << waited << " s later\n";
        EXPECT_EQ(running.get(), 0) << engineLog();
        EXPECT_NE(engineLog().find("stopped at"), std::string::npos) << engineLog();
        getInfo(info);
        EXPECT_EQ(info[2], 0);

        const QJsonObject probe = ffprobe(c.job.output);
        EXPECT_GT(durationSeconds(probe), 0.0) << engineLog();
        const auto decoded = runProcess("ffmpeg", {"-v", "error", "-i", c.job.output, "-f", "null", "-"});
        EXPECT_EQ(decoded.exitCode, 0);
        EXPECT_EQ(decoded.err, "");
    }
}

TEST_F(EnginePipelineStop, AFileThatCannotBeWrittenFailsTheConversionWithItsReason) {
    // /dev/full takes the small header into the write buffer and refuses what
    // follows: the encoder threads meet the failure, not the calling thread.
    struct Case {
        const char* entry;
        const char* container;
        const char* videoFormat;
        const char* audioCodec;
    };
    for (const Case& c :
         {Case{"X_TO_HD_H264", "mkv", "h264", "vorbis"}, Case{"X_SetPar_D2IPOD_MP3", "", "", "pcm"}}) {
        SCOPED_TRACE(c.entry);
        Job job;
        job.files.assign(5, sourceClip());
        job.container = c.container;
        job.videoFormat = c.videoFormat;
        job.audioCodec = c.audioCodec;
        job.output = "/dev/full";
        clearLog();
        auto running = std::async(std::launch::async, [&] { return callEngine(engine, c.entry, job); });
        ASSERT_EQ(running.wait_for(kWatchdog), std::future_status::ready) << "no end after the failure";
        EXPECT_EQ(running.get(), -1) << engineLog();
        const std::string log = engineLog();
        const std::string reason = ": failed: cannot write to \"/dev/full\": No space left on device\n";
        ASSERT_GE(log.size(), reason.size());
        EXPECT_EQ(log.substr(log.rfind('\n', log.size() - 2) + 1), c.entry + reason) << log;
        int info[4] = {};
        engine.TZ_BIND(X_Get_Info)(info);
        EXPECT_EQ(info[2], 0);
    }
    // The engine is free again afterwards.
    Job next = videoJob(sourceClip(), 1, "160:120", "after-failure.mp4");
    clearLog();
    ASSERT_EQ(callEngine(engine, "X_TO_HD_MP4", next), 0) << engineLog();
    EXPECT_NEAR(durationSeconds(ffprobe(next.output)), 4.0, 0.1);
}

TEST_F(EnginePipelineStop, DamagedInputEndsWithAFailureAndNoHang) {
    const std::string noise = out.file("noise.mp4");
    std::string bytes(256 * 1024, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    writeFile(noise, bytes);
    const std::string cut = out.file("cut.mp4");
    const std::string whole = readFile(sourceClip());
    writeFile(cut, whole.substr(0, whole.size() / 3)); // its index, at the end, is gone
    for (const std::string& input : {noise, cut}) {
        SCOPED_TRACE(input);
        // A good part first: the call still fails as a whole, naming the
        // damaged one, before anything is written.
        Job job = videoJob(sourceClip(), 1, "160:120", "damaged.mp4");
        job.files.push_back(input);
        clearLog();
        auto running = std::async(std::launch::async, [&] { return callEngine(engine, "X_TO_HD_MP4", job); });
        ASSERT_EQ(running.wait_for(kWatchdog), std::future_status::ready) << "no end with damaged input";
        EXPECT_EQ(running.get(), -1) << engineLog();
        EXPECT_NE(engineLog().find("X_TO_HD_MP4: failed: cannot open"), std::string::npos) << engineLog();
        EXPECT_FALSE(fileExists(job.output)); // a failed conversion leaves nothing behind
    }
}

} // namespace
} // namespace quilo::test
