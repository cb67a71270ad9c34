// A job through the real engine: clips in turn, progress, stop, the engine
// missing, unreadable clips, and the messages at the end.
#include "conversion/conversion_job.h"
#include "conversion/engine_log.h"
#include "conversion/job_end.h"
#include "conversion/job_runner.h"
#include "job_fixture.h"
#include "quilo_test/refused_libraries.h"
#include "quilo_test/test_doubles.h"

#include <gtest/gtest.h>
#include <thread>

using namespace quilo;
using namespace quilo::test;

TEST(ConversionJob, ConvertsEveryClipLogsItAndOpensTheFolder) {
    JobFixture f;
    f.clip(shortClip(), 3, "first.avi");
    f.clip(shortClip(), 3, "second.avi");
    UserLog log(f.dir.path());
    RecordingObserver observer;
    ConversionJob job(f.inputs(Target::AVI), log, &observer);

    EXPECT_EQ(job.Run(), JobResult::Finished);
    EXPECT_EQ(observer.started(), (std::vector<std::string>{"first.avi", "second.avi"}));
    EXPECT_EQ(job.clipResults(), std::vector<EngineResult>(2, EngineResult::Converted));
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
    RecordingObserver observer;
    JobRunner runner(f.inputs(Target::AVI), log, observer);
    runner.Start();
    // Stop once the engine reports progress; the runner's ticks give the labels.
    const JobProgress seen = observer.waitForConvertedSeconds();
    // Until it ends, the clip's file is written under a name of its own.
    EXPECT_FALSE(fileExists(f.dir.file("out/AVI/long.avi")));
    EXPECT_EQ(partialOutputsIn(f.dir.file("out/AVI/")), 1u);
    f.prompter.script({PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_EQ(runner.StopClicked(f.prompter), StopOutcome::GoOn);
    EXPECT_EQ(runner.StopClicked(f.prompter), StopOutcome::Stopping);
    observer.waitForEnd();
    runner.WaitFor(std::chrono::hours(1));
    EXPECT_EQ(runner.StopClicked(f.prompter), StopOutcome::CloseWindow); // nothing runs any more
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>(2, "Do you want to stop the process?"));
    f.prompter.clear();

    EXPECT_NE(seen.currentTime, "00:00:00");
    EXPECT_EQ(runner.result(), JobResult::Stopped);
    const std::vector<std::string>& outputs = runner.conversion().outputs();
    ASSERT_EQ(outputs.size(), 1u); // the second clip never started
    EXPECT_EQ(outputs[0], f.dir.file("out/AVI/long.avi"));
    EXPECT_EQ(partialOutputsIn(f.dir.file("out/AVI/")), 0u);
    const double converted = durationSeconds(ffprobe(outputs[0]));
    EXPECT_GT(converted, 0.0);
    EXPECT_LT(converted, 120.0);
    EXPECT_EQ(runner.Finish({}, f.prompter, f.desktop), JobEndAction::Close);
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
    ASSERT_EQ(job.unsupported().size(), 1u);
    EXPECT_EQ(job.unsupported()[0].path, f.dir.file("text.avi"));
    EXPECT_EQ(job.clipResults(), (std::vector<EngineResult>{EngineResult::Failed, EngineResult::Converted}));
    ReportUnsupportedClips(job.unsupported(), EngineLogPath(f.dir.path()), f.prompter);
    ASSERT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_NE(f.prompter.texts()[0].find("Some UNSUPPORTED file(s) format can not be converted correctly."),
              std::string::npos);

    TempDir noEngine;
    ConversionJob broken(f.inputs(Target::AVI, noEngine.path()), log);
    EXPECT_EQ(broken.Run(), JobResult::EngineUnusable);
    EXPECT_FALSE(broken.lastEngineError().empty());
    EXPECT_EQ(broken.clipResults(), std::vector<EngineResult>{EngineResult::Unusable});

    // The reason is in the log the user sends with a report.
    const std::string otherVersion = refusedLibraryFolder("engine-of-another-version");
    ConversionJob refused(f.inputs(Target::AVI, otherVersion), log);
    EXPECT_EQ(refused.Run(), JobResult::EngineUnusable);
    const std::string reason = otherVersion + EngineLibraryName + " is version " +
                               std::to_string(TRANZEL_ABI_VERSION + 1) + "; this program needs version " +
                               std::to_string(TRANZEL_ABI_VERSION);
    EXPECT_EQ(refused.lastEngineError(), reason);
    EXPECT_EQ(readFile(EngineLogPath(f.dir.path())), reason + "\n");

    f.prompter.clear();
    EXPECT_EQ(refused.failureReason(), reason);
    FinishJob(JobResult::EngineUnusable, Target::AVI, {}, {}, "", f.prompter, f.desktop, log, {}, "",
              refused.failureReason());
    EXPECT_EQ(
        f.prompter.texts(),
        std::vector<std::string>{"Can not initial conversion function!\nRe-install software may fix this "
                                 "problem!\n\n" +
                                 reason});
}

TEST(ConversionJob, AJobThatMadeNothingFailsAndEveryFailureSaysWhy) {
    JobFixture f;
    writeFile(f.dir.file("text.avi"), "this is no video");
    f.clip(f.dir.file("text.avi"), 3, "bad.avi");
    UserLog log(f.dir.path());
    const auto run = [&](TargetTypeId target) {
        RecordingObserver observer;
        auto runner = std::make_unique<JobRunner>(f.inputs(target), log, observer);
        runner->Start();
        runner->WaitFor(std::chrono::hours(1));
        f.prompter.clear();
        runner->Finish({}, f.prompter, f.desktop);
        return runner;
    };

    auto runner = run(Target::AVI);
    EXPECT_EQ(runner->result(), JobResult::Failed);
    ASSERT_EQ(runner->conversion().unsupported().size(), 1u);
    const std::string reason = runner->conversion().unsupported()[0].reason;
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason, "no reason given");
    ASSERT_EQ(f.prompter.texts().size(), 2u);
    EXPECT_NE(f.prompter.texts()[0].find(f.dir.file("text.avi") + "\n    " + reason + "\n"),
              std::string::npos)
        << f.prompter.texts()[0];
    EXPECT_NE(f.prompter.texts()[0].find(f.dir.file("tamberlog.log")), std::string::npos);
    EXPECT_EQ(
        f.prompter.texts()[1],
        "Conversion wrong, please check parameter and try again!\n\nNone of the clips could be converted.");
    EXPECT_EQ(partialOutputsIn(f.dir.file("out/AVI/")), 0u);

    // A DVD missing one of its titles is not made, and the job says so.
    f.clip(shortClip(), 3, "good.vob");
    runner = run(Target::DVD_Folder);
    EXPECT_EQ(runner->result(), JobResult::Failed);
    EXPECT_NE(runner->failureReason().find("because 1 of its clips could not be converted"),
              std::string::npos)
        << runner->failureReason();
    EXPECT_TRUE(runner->dvdFolder().empty());
    EXPECT_TRUE(fileExists(runner->conversion().outputs()[1])); // the converted clip is kept

    // An output folder that is a file: one reason, no clip tried.
    f.owned.erase(f.owned.begin());
    writeFile(f.dir.file("out/MP4"), "a file where the folder should be");
    runner = run(Target::MP4);
    EXPECT_EQ(runner->result(), JobResult::Failed);
    EXPECT_TRUE(runner->conversion().clipResults().empty());
    EXPECT_EQ(runner->failureReason().rfind("The output folder " + f.dir.file("out/MP4/"), 0), 0u)
        << runner->failureReason();
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"Conversion wrong, please check parameter and try "
                                                           "again!\n\n" +
                                                           runner->failureReason()});
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
    JobProgress last;
    last.currentTime = "00:01:02";
    last.fps = "31";
    last.remainingTime = "00:00:10";
    FinishJob(JobResult::Failed, Target::MP4, {}, outputs, "/out/", prompter, desktop, log, last);
    EXPECT_EQ(
        prompter.texts(),
        (std::vector<std::string>{"Process finished!\nYou can upload files to your PSP.", "Process Finished!",
                                  "Conversion wrong, please check parameter and try again!"}));
    EXPECT_NE(readFile(log.path()).find("[ConversionWrongInfo]\nCurrentTime=00:01:02"), std::string::npos);
}

TEST(JobEnd, AFinishedJobIsToldWhereverTheFolderCannotBeSeen) {
    TempDir dir;
    UserLog log(dir.path());
    ScriptedPrompter prompter;
    RecordingDesktopServices desktop;
    const std::vector<std::string> outputs = {"/out/MP4/a.mp4", "/out/MP4/b.mp4"};
    const auto finish = [&](TargetTypeId target, JobEndChoices choices) {
        return FinishJob(JobResult::Finished, target, choices, outputs, "/out/MP4/", prompter, desktop, log,
                         {});
    };

    // The file manager shows the folder: nothing else to say.
    EXPECT_EQ(finish(Target::MP4, {}), JobEndAction::Close);
    EXPECT_EQ(desktop.shown, std::vector<std::string>{"/out/MP4/b.mp4"});
    EXPECT_TRUE(desktop.notifications.empty());

    // No file manager, or a minimised window: a notification says what and where.
    desktop.showResult = false;
    finish(Target::MP4, {});
    desktop.showResult = true;
    JobEndChoices minimised;
    minimised.windowMinimised = true;
    finish(Target::MP4, minimised);
    // A disc job has no folder to open.
    finish(Target::DVD_Disc, {});
    EXPECT_EQ(desktop.notifications,
              (std::vector<std::string>{"Process Finished!\n2 files (MP4) in /out/MP4/",
                                        "Process Finished!\n2 files (MP4) in /out/MP4/",
                                        "Process Finished!\n2 files (DVD_Disc) in /out/MP4/"}));
    EXPECT_TRUE(prompter.texts().empty());

    // Without a notification service either, a message box tells it.
    desktop.notifyResult = false;
    desktop.openResult = false;
    FinishJob(JobResult::Finished, Target::DVD_Folder, {}, {"/out/DVD/DVD_DISC/VIDEO_TS/VTS_01_1.VOB"},
              "/out/DVD/", prompter, desktop, log, {});
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Process Finished!\n\nVTS_01_1.VOB (DVD_Folder) in /out/DVD/"});
}
