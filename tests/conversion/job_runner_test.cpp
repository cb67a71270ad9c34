// The job runner: what its observer hears and in which order, the settings it
// was given staying what they were, and the end of a disc job without a drive.
#include "conversion/job_runner.h"
#include "job_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(JobRunner, TellsItsObserverEachClipInOrderAndTheEndOnce) {
    JobFixture f;
    f.clip(shortClip(), 3, "first.avi");
    f.clip(shortClip(), 3, "second.avi");
    UserLog log(f.dir.path());
    RecordingObserver observer;
    JobRunner runner(f.inputs(Target::AVI), log, observer);
    // The job has its settings: what the panel shows from now on does not reach it.
    f.panel = PanelControls{};
    f.panel.videoBitRate.text = "1";

    runner.Start();
    EXPECT_TRUE(runner.WaitFor(std::chrono::hours(1)));
    EXPECT_EQ(observer.events(), (std::vector<std::string>{"stage convert", "clip 1/2 first.avi", "end 1 0",
                                                           "clip 2/2 second.avi", "end 2 0", "job 1"}));
    EXPECT_GE(observer.stopPossible(), 2); // the engine says so for each clip
    EXPECT_EQ(runner.result(), JobResult::Finished);

    EXPECT_EQ(runner.Finish({}, f.prompter, f.desktop), JobEndAction::Close);
    const std::vector<std::string>& outputs = runner.conversion().outputs();
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(f.desktop.shown, std::vector<std::string>{outputs.back()});
    EXPECT_TRUE(f.prompter.shown().empty());
    const QJsonObject probe = ffprobe(outputs[0]);
    EXPECT_EQ(firstStream(probe, "video")["codec_name"].toString(), "mpeg4");
    EXPECT_EQ(firstStream(probe, "video")["width"].toInt(), 640);
    // 800 kbit/s asked for, not the 1 typed after the start.
    EXPECT_GT(probe["format"].toObject()["bit_rate"].toString().toInt(), 200000);
}

TEST(JobRunner, AMissingEngineEndsTheJobWithItsMessage) {
    JobFixture f;
    f.clip(shortClip(), 3, "never.avi");
    UserLog log(f.dir.path());
    RecordingObserver observer;
    TempDir noLibraries;
    JobRunner runner(f.inputs(Target::DVD_Folder, noLibraries.path()), log, observer);
    runner.Start();
    runner.WaitFor(std::chrono::hours(1));
    EXPECT_EQ(runner.result(), JobResult::EngineUnusable);
    // No authoring after an engine that could not convert.
    EXPECT_EQ(observer.events(),
              (std::vector<std::string>{"stage convert", "clip 1/1 never.avi", "end 1 2", "job 2"}));
    runner.Finish({}, f.prompter, f.desktop);
    EXPECT_EQ(f.prompter.texts(),
              std::vector<std::string>{
                  "Can not initial conversion function!\nRe-install software may fix this problem!"});
}

TEST(JobRunner, ADiscJobWithoutADriveKeepsItsFolderButIsNoSuccess) {
    JobFixture f;
    f.clip(shortClip(), 3, "clip.vob");
    UserLog log(f.dir.path());
    RecordingObserver observer;
    JobRunner runner(f.inputs(Target::DVD_Disc), log, observer);
    runner.Start();
    runner.WaitFor(std::chrono::hours(1));

    EXPECT_EQ(runner.result(), JobResult::Failed);
    const std::vector<std::string> events = observer.events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2], "stage author");
    ASSERT_FALSE(runner.dvdFolder().empty());
    EXPECT_TRUE(std::filesystem::exists(runner.dvdFolder() + "/VIDEO_TS/VIDEO_TS.IFO")) << runner.dvdFolder();
    runner.Finish({}, f.prompter, f.desktop);
    EXPECT_EQ(f.prompter.texts(),
              std::vector<std::string>{"Conversion wrong, please check parameter and try again!"});
    EXPECT_TRUE(f.desktop.opened.empty());
}
