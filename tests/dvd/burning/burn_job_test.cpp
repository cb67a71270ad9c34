// A disc job through the job runner: the clip converted and authored, then
// burned to the drive chosen before the job, with the burn's percent and its
// outcome reaching the observer and the job's end.
#include "conversion/job_runner.h"
#include "dvd/burning/disc_device.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "scripted_drives.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>

namespace quilo {
namespace {

using test::ScriptedDrives;

class BurnObserver : public JobObserver {
public:
    void StageStarted(JobStage stage) override { record(stage == JobStage::Burn ? "burn" : "stage"); }
    void StagePercent(JobStage stage, int percent) override {
        if (stage == JobStage::Burn)
            record("burn " + std::to_string(percent) + "%");
    }
    void StatusText(const std::string& text) override { record("status " + text); }
    std::vector<std::string> burnEvents() const {
        std::lock_guard lock(lock_);
        return events_;
    }

private:
    void record(const std::string& event) {
        std::lock_guard lock(lock_);
        if (event != "stage")
            events_.push_back(event);
    }
    mutable std::mutex lock_;
    std::vector<std::string> events_;
};

class DiscJob : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedDrives().clear();
        CDevice::UseDiscLibrary(&test::ScriptedLibrary());
        clip.FilePath =
            test::fixture("burn-job.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f",
                                           "lavfi", "-i", "sine=frequency=500", "-t", "2", "-c:v", "libx264",
                                           "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
        clip.Width = clip.CropW = 320;
        clip.Height = clip.CropH = 240;
        clip.SetDuration(2);
        clip.SetEndTime(2);
        clip.FrameRate = 25;
        clip.Checked = true;
        clip.OutputName = "clip.vob";
    }
    void TearDown() override {
        burner.UninitBurner();
        CDevice::Devices().clear();
        CDevice::SetPseudoDrives({});
        CDevice::UseDiscLibrary(nullptr);
    }
    // The DVD targets take every value from their own rules: no definitions needed.
    JobInputs inputs() {
        const ProfileDefinitions none(work.file("PfDef.dll"));
        const JobSetup setup{Target::DVD_Disc, "Tamber-DVD_Disc", work.file("out/DVD/"), 0};
        return {TakeJobSettings(none, PanelControls{}, setup),
                {&clip},
                work.file("out/"),
                work.path(),
                test::programDir(),
                {}};
    }
    // What the burner settings dialog leaves behind: the drive chosen, its fastest speed.
    void chooseDrive(JobRunner& runner) {
        CDevice::SetPseudoDrives({"drive"});
        burner.InitBurner(runner.burnerNotices());
        ASSERT_TRUE(burner.ScanBurners(true, true));
        ASSERT_EQ(burner.SelectBurner(0), BurnerUsable);
        burner.SetWriteSpeed(static_cast<int>(burner.speeds().size()) - 1);
        runner.SetBurnStep(burner, prompter);
    }
    JobResult run(JobRunner& runner) {
        runner.Start();
        runner.WaitFor(std::chrono::hours(1));
        return runner.result();
    }

    test::TempDir work;
    TVideoInfo clip;
    BurnerControl burner;
    ScriptedPrompter prompter;
    RecordingDesktopServices desktop;
    BurnObserver observer;
};

TEST_F(DiscJob, BurnsTheAuthoredFolderToTheChosenDriveAndEndsLikeAnyJob) {
    ScriptedDrives()["drive"] = {};
    UserLog log(work.path());
    JobRunner runner(inputs(), log, observer);
    chooseDrive(runner);

    EXPECT_EQ(run(runner), JobResult::Finished);
    EXPECT_EQ(burner.folderToBurn(), runner.dvdFolder() + "/VIDEO_TS");
    EXPECT_TRUE(std::filesystem::exists(runner.dvdFolder() + "/VIDEO_TS/VIDEO_TS.IFO"));
    const test::ScriptedDisc& disc = ScriptedDrives()["drive"];
    EXPECT_EQ(disc.writes, 1);
    EXPECT_EQ(disc.ejects, 1);
    const std::vector<std::string> events = observer.burnEvents();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), "burn");
    EXPECT_EQ(events[events.size() - 2], "burn 100%"); // the poller's last word
    EXPECT_EQ(events.back(), "status ");               // the animation's label cleared

    EXPECT_EQ(runner.Finish({false, false, false}, prompter, desktop), JobEndAction::Close);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Process Finished!"});
    EXPECT_TRUE(desktop.opened.empty()); // a disc has no folder to open
}

TEST_F(DiscJob, BurnOutcomesBecomeTheJobsResultAndMessage) {
    ScriptedDrives()["drive"] = {};
    ScriptedDrives()["drive"].writeFails = true;
    UserLog log(work.path());
    {
        JobRunner runner(inputs(), log, observer);
        chooseDrive(runner);
        EXPECT_EQ(run(runner), JobResult::BurnFailed);
        runner.Finish({}, prompter, desktop);
        EXPECT_EQ(ScriptedDrives()["drive"].ejects, 1); // a failed burn still ejects
    }
    burner.UninitBurner();
    ScriptedDrives()["drive"] = {};
    ScriptedDrives()["drive"].freeBytes = 1000; // far too small for any DVD folder
    {
        JobRunner runner(inputs(), log, observer);
        chooseDrive(runner);
        EXPECT_EQ(run(runner), JobResult::BurnNotStarted);
        runner.Finish({}, prompter, desktop);
        EXPECT_EQ(ScriptedDrives()["drive"].writes, 0);
    }
    EXPECT_EQ(
        prompter.texts(),
        (std::vector<std::string>{
            "Burning process is failed, please try again!\n\nThe DVD folder is kept in " +
                work.file("out/DVD/DVD_DISC/"),
            "The size of the DVD file you are burning is larger than the size of the blank DVD!",
            "Cannot start burning process, please check or change your DVD disc and try again!\n\nThe DVD "
            "folder is kept in " +
                work.file("out/DVD/DVD_DISC_1/")}));
}

} // namespace
} // namespace quilo
