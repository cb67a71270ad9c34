// The job runner: what its observer hears and in which order, the settings it
// was given staying what they were, the end of a disc job without a drive, and
// the whole job's figures with clips of the list and clips that come later.
#include "conversion/job_runner.h"
#include "job_fixture.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>

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
    // The message names the engine the job looked for.
    const std::vector<std::string> said = f.prompter.texts();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(
        said[0].rfind("Can not initial conversion function!\nRe-install software may fix this problem!\n\n" +
                          noLibraries.path(),
                      0),
        0u)
        << said[0];
    EXPECT_NE(said[0].find(EngineLibraryName), std::string::npos) << said[0];
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

namespace {

// Hands its clips over one at a time, as downloaded links arrive.
class HandedClips : public ClipFeed {
public:
    explicit HandedClips(std::vector<TVideoInfo*> clips) : clips_(clips.begin(), clips.end()) {}
    TVideoInfo* NextClip() override {
        std::lock_guard lock(lock_);
        if (clips_.empty() || stopped_)
            return nullptr;
        TVideoInfo* next = clips_.front();
        clips_.pop_front();
        return next;
    }
    bool Complete() const override { return true; }
    int ClipsToCome() const override {
        std::lock_guard lock(lock_);
        return stopped_ ? 0 : static_cast<int>(clips_.size());
    }
    void Stop() override {
        std::lock_guard lock(lock_);
        stopped_ = true;
    }

private:
    mutable std::mutex lock_;
    std::deque<TVideoInfo*> clips_;
    bool stopped_ = false;
};

bool isTime(const std::string& text) {
    return text.size() >= 8 && text[2] == ':' && text[5] == ':';
}

} // namespace

TEST(JobRunner, TheWholeJobsPercentRisesByEachClipsSegmentToAHundredAtTheEnd) {
    JobFixture f;
    f.clip(shortClip(), 3, "short.avi");
    // Thirty seconds of a two-minute clip: the trimmed part is what weighs.
    f.clip(longClip(), 120, "part.avi").SetEndTime(30);
    UserLog log(f.dir.path());
    RecordingObserver observer;
    JobRunner runner(f.inputs(Target::AVI), log, observer);
    runner.Start();
    ASSERT_TRUE(runner.WaitFor(std::chrono::hours(1)));
    ASSERT_EQ(runner.result(), JobResult::Finished);

    const auto totals = observer.totals();
    ASSERT_FALSE(totals.empty());
    int last = 0;
    int duringSecond = 0;
    for (const auto& seen : totals) {
        EXPECT_FALSE(seen.afterEnd);
        EXPECT_GE(seen.totals.percent, last);
        last = seen.totals.percent;
        const std::string& remaining = seen.totals.remainingTime;
        EXPECT_TRUE(remaining == EstimatingText || isTime(remaining)) << remaining;
        // The short clip is a tenth of the job: no more before the long part
        // starts, at least that once it runs.
        if (seen.clipsStarted < 2) {
            EXPECT_LE(seen.totals.percent, 9);
        } else if (seen.totals.percent < 100) {
            EXPECT_GE(seen.totals.percent, 9);
            ++duringSecond;
        }
    }
    EXPECT_GE(duringSecond, 1) << "no tick while the long part converted";
    EXPECT_EQ(totals.back().totals.percent, 100);
    EXPECT_EQ(totals.back().totals.remainingTime, "00:00:00");
}

TEST(JobRunner, ClipsThatComeLaterAreNamedUntilTheyArriveAndWeighedOnceTheyDo) {
    JobFixture f;
    f.clip(longClip(), 120, "listed.avi").SetEndTime(30);
    TVideoInfo& later = f.clip(shortClip(), 3, "later.avi");
    JobInputs inputs = f.inputs(Target::AVI);
    inputs.clips.pop_back(); // the short clip comes from the feed
    HandedClips feed({&later});
    inputs.feed = &feed;
    UserLog log(f.dir.path());
    RecordingObserver observer;
    JobRunner runner(std::move(inputs), log, observer);
    runner.Start();
    ASSERT_TRUE(runner.WaitFor(std::chrono::hours(1)));
    ASSERT_EQ(runner.result(), JobResult::Finished);
    EXPECT_EQ(observer.started(), (std::vector<std::string>{"listed.avi", "later.avi"}));

    int estimated = 0;
    for (const auto& seen : observer.totals()) {
        if (seen.clipsStarted >= 2)
            continue;
        // The clip to come counts as long as the listed one: never past half.
        EXPECT_LE(seen.totals.percent, 50);
        if (seen.totals.remainingTime != EstimatingText) {
            EXPECT_TRUE(seen.totals.remainingTime.ends_with(" + 1 link")) << seen.totals.remainingTime;
            ++estimated;
        }
    }
    EXPECT_GE(estimated, 1) << "no estimate while the listed clip converted";
    EXPECT_EQ(observer.totals().back().totals.percent, 100);
    EXPECT_EQ(observer.totals().back().totals.remainingTime, "00:00:00");
}
