// A job through the real engine: clips in turn, progress, stop, the engine
// missing, unreadable clips, and the messages at the end.
#include "conversion/conversion_job.h"
#include "conversion/job_end.h"
#include "quilo_test/support.h"
#include "test_definitions.h"

#include <gtest/gtest.h>
#include <thread>

using namespace quilo;
using namespace quilo::test;

namespace {

struct JobFixture {
    TempDir dir;
    ProfileDefinitions definitions{dir.file("PfDef.dll")};
    PanelControls panel;
    std::vector<std::unique_ptr<TVideoInfo>> owned;
    ScriptedPrompter prompter;
    RecordingDesktopServices desktop;

    JobFixture() {
        writeFile(dir.file("PfDef.dll"), Definitions);
        panel.outputFormat.items = {"avi"};
        panel.outputFormat.index = 0;
        panel.videoCodec.items = {"Xvid", "MPEG-4"};
        panel.videoCodec.index = 1;
        panel.videoFrameRate.items = {"Auto", "25"};
        panel.videoFrameRate.index = 1;
        for (SelectorControl* one : {&panel.audioCodec, &panel.audioBitRate, &panel.audioSampleRate}) {
            one->items = {"item"};
            one->index = 0;
        }
        panel.imageMode.items = {"Full"};
        panel.imageMode.index = 0;
        panel.resolution.items = {"640 x 480"};
        panel.resolution.index = 0;
        panel.videoBitRate.text = "800";
    }
    TVideoInfo& clip(const std::string& path, int seconds, const std::string& outputName) {
        owned.push_back(std::make_unique<TVideoInfo>());
        TVideoInfo& c = *owned.back();
        c.FilePath = path;
        c.Width = c.CropW = 320;
        c.Height = c.CropH = 240;
        c.SetDuration(seconds);
        c.SetEndTime(seconds);
        c.FrameRate = 25;
        c.Checked = true;
        c.OutputName = outputName;
        return c;
    }
    JobInputs inputs(TargetTypeId target, std::string engineFolder = programDir()) {
        std::vector<TVideoInfo*> clips;
        for (auto& c : owned)
            clips.push_back(c.get());
        return JobInputs{definitions,
                         panel,
                         JobSetup{target, "Tamber-AVI", dir.file("out/AVI/"), 0},
                         clips,
                         dir.file("out/"),
                         dir.path(),
                         engineFolder,
                         nullptr};
    }
};

std::string shortClip() {
    return fixture("job-short.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi",
                                     "-i", "sine=frequency=300", "-t", "3", "-c:v", "libx264", "-preset",
                                     "ultrafast", "-c:a", "aac", "-shortest"});
}

std::string longClip() {
    return fixture("job-long.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi", "-i",
                                    "sine=frequency=300", "-t", "120", "-c:v", "libx264", "-preset",
                                    "ultrafast", "-c:a", "aac", "-shortest"});
}

} // namespace

TEST(ConversionJob, ConvertsEveryClipLogsItAndOpensTheFolder) {
    JobFixture f;
    f.clip(shortClip(), 3, "first.avi");
    f.clip(shortClip(), 3, "second.avi");
    UserLog log(f.dir.path());
    ConversionJob job(f.inputs(Target::AVI), log);
    std::vector<std::string> started;
    job.onClipStart = [&](const JobProgress& progress) { started.push_back(progress.destinationName); };

    EXPECT_EQ(job.Run(), JobResult::Finished);
    EXPECT_EQ(started, (std::vector<std::string>{"first.avi", "second.avi"}));
    ASSERT_EQ(job.outputs().size(), 2u);
    for (const auto& output : job.outputs()) {
        const QJsonObject probe = ffprobe(output);
        EXPECT_EQ(firstStream(probe, "video")["codec_name"].toString(), "mpeg4") << output;
        EXPECT_EQ(firstStream(probe, "video")["width"].toInt(), 640);
        EXPECT_NEAR(durationSeconds(probe), 3.0, 0.2);
    }
    EXPECT_TRUE(log.lastConversionFinished());
    const std::string written = readFile(log.path());
    EXPECT_NE(written.find("ReturnValue=0"), std::string::npos);
    EXPECT_NE(written.find("VideoFormat=mpeg4"), std::string::npos);
    EXPECT_NE(written.find("OutputName=" + job.outputs()[1]), std::string::npos);
    EXPECT_FALSE(readFile(f.dir.file("tamberlog.log")).empty());

    EXPECT_EQ(FinishJob(JobResult::Finished, Target::AVI, {}, job.outputs(), f.dir.file("out/AVI/"),
                        f.prompter, f.desktop, log, job.progress()),
              JobEndAction::Close);
    EXPECT_EQ(f.desktop.shown, std::vector<std::string>{job.outputs().back()});
    EXPECT_TRUE(f.prompter.shown().empty());
}

TEST(ConversionJob, AStopEndsTheJobAfterTheRunningClip) {
    JobFixture f;
    f.clip(longClip(), 120, "long.avi");
    f.clip(shortClip(), 3, "never.avi");
    UserLog log(f.dir.path());
    ConversionJob job(f.inputs(Target::AVI), log);
    int result = 99;
    std::thread worker([&] { result = job.Run(); });
    // Stop once the engine reports progress; the timer's ticks give the labels.
    JobProgress seen;
    for (int i = 0; i < 600 && seen.currentTime == "00:00:00"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        seen = job.Tick();
    }
    f.prompter.script({PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_EQ(StopClicked(job, f.prompter), StopOutcome::GoOn);
    EXPECT_EQ(StopClicked(job, f.prompter), StopOutcome::Stopping);
    worker.join();
    EXPECT_EQ(StopClicked(job, f.prompter), StopOutcome::CloseWindow); // nothing runs any more
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>(2, "Do you want to stop the process?"));
    f.prompter.clear();

    EXPECT_NE(seen.currentTime, "00:00:00");
    EXPECT_EQ(result, JobResult::Stopped);
    ASSERT_EQ(job.outputs().size(), 1u); // the second clip never started
    const double converted = durationSeconds(ffprobe(job.outputs()[0]));
    EXPECT_GT(converted, 0.0);
    EXPECT_LT(converted, 120.0);
    FinishJob(result, Target::AVI, {}, job.outputs(), f.dir.path(), f.prompter, f.desktop, log,
              job.progress());
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"Stop process by user!"});
}

TEST(ConversionJob, UnreadableClipsAreListedAndAMissingEngineEndsTheJob) {
    JobFixture f;
    writeFile(f.dir.file("text.avi"), "this is no video");
    f.clip(f.dir.file("text.avi"), 3, "bad.avi");
    f.clip(shortClip(), 3, "good.avi");
    UserLog log(f.dir.path());
    ConversionJob job(f.inputs(Target::AVI), log);
    EXPECT_EQ(job.Run(), JobResult::Finished);
    EXPECT_EQ(job.unsupported(), std::vector<std::string>{f.dir.file("text.avi")});
    ReportUnsupportedClips(job.unsupported(), f.prompter);
    ASSERT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_NE(f.prompter.texts()[0].find("Some UNSUPPORTED file(s) format can not be converted correctly."),
              std::string::npos);

    TempDir noEngine;
    ConversionJob broken(f.inputs(Target::AVI, noEngine.path()), log);
    EXPECT_EQ(broken.Run(), JobResult::EngineUnusable);
    EXPECT_FALSE(broken.lastEngineError().empty());
    f.prompter.clear();
    FinishJob(JobResult::EngineUnusable, Target::AVI, {}, {}, "", f.prompter, f.desktop, log, {});
    EXPECT_EQ(f.prompter.texts(),
              std::vector<std::string>{
                  "Can not initial conversion function!\nRe-install software may fix this problem!"});
}

TEST(JobEnd, MessagesAndActionsByResultAndTarget) {
    TempDir dir;
    UserLog log(dir.path());
    ScriptedPrompter prompter;
    RecordingDesktopServices desktop;
    const std::vector<std::string> outputs = {"/out/a.mp4"};

    EXPECT_EQ(FinishJob(JobResult::Finished, Target::PSP, {false, false, true}, outputs, "/out/", prompter,
                        desktop, log, {}),
              JobEndAction::StayOpen);
    EXPECT_EQ(FinishJob(JobResult::Finished, Target::PSP, {false, true, false}, outputs, "/out/", prompter,
                        desktop, log, {}),
              JobEndAction::Upload);
    FinishJob(JobResult::Finished, Target::DVD_Folder, {}, outputs, "/out/DVD/", prompter, desktop, log, {});
    FinishJob(JobResult::Finished, Target::DVD_Disc, {}, outputs, "/out/DVD/", prompter, desktop, log, {});
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"/out/DVD/"}); // the folder, never for a disc
    EXPECT_TRUE(desktop.shown.empty());
    FinishJob(JobResult::Finished, Target::MP4, {false, false, false}, outputs, "/out/", prompter, desktop,
              log, {});
    FinishJob(JobResult::Finished, Target::MP4, {true, false, true}, outputs, "/out/", prompter, desktop, log,
              {});
    EXPECT_EQ(desktop.powerOffRequests, 1);
    FinishJob(JobResult::Failed, Target::MP4, {}, outputs, "/out/", prompter, desktop, log,
              {"", "", "", "", "", "00:01:02", "31", "00:00:10", 0, 0});
    EXPECT_EQ(
        prompter.texts(),
        (std::vector<std::string>{"Process finished!\nYou can upload files to your PSP.", "Process Finished!",
                                  "Conversion wrong, please check parameter and try again!"}));
    EXPECT_NE(readFile(log.path()).find("[ConversionWrongInfo]\nCurrentTime=00:01:02"), std::string::npos);
}
