// What the job tests share: definitions and a panel for the AVI target, clips
// made by hand, generated media, and an observer that records what a job told it.
#pragma once

#include "conversion/conversion_job.h"
#include "quilo_test/output_folder.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "test_definitions.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quilo::test {

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
    JobInputs inputs(TargetTypeId target, std::string libraryFolder = programDir()) {
        std::vector<TVideoInfo*> clips;
        for (auto& c : owned)
            clips.push_back(c.get());
        const std::string folder = dir.file("out/" + targetIdentifier(target) + "/");
        return JobInputs{TakeJobSettings(definitions, panel, JobSetup{target, "Tamber-AVI", folder, 0}),
                         clips,
                         dir.file("out/"),
                         dir.path(),
                         libraryFolder,
                         {}};
    }
};

inline std::string shortClip() {
    return fixture("job-short.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi",
                                     "-i", "sine=frequency=300", "-t", "3", "-c:v", "libx264", "-preset",
                                     "ultrafast", "-c:a", "aac", "-shortest"});
}

inline std::string longClip() {
    return fixture("job-long.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi", "-i",
                                    "sine=frequency=300", "-t", "120", "-c:v", "libx264", "-preset",
                                    "ultrafast", "-c:a", "aac", "-shortest"});
}

// Records every call as a line, from whichever thread it comes.
class RecordingObserver : public JobObserver {
public:
    void StageStarted(JobStage stage) override { record("stage " + name(stage)); }
    void StagePercent(JobStage stage, int percent) override {
        std::lock_guard lock(lock_);
        lastPercent_[static_cast<int>(stage)] = percent;
    }
    void StatusText(const std::string& text) override {
        std::lock_guard lock(lock_);
        statusTexts_.push_back(text);
    }
    void ClipStarted(const JobProgress& progress) override {
        record("clip " + std::to_string(progress.clip + 1) + "/" + std::to_string(progress.clipCount) + " " +
               progress.destinationName);
    }
    void StopPossible() override {
        std::lock_guard lock(lock_);
        ++stopPossible_;
    }
    void ConversionProgress(const JobProgress& progress) override {
        std::lock_guard lock(lock_);
        lastProgress_ = progress;
        changed_.notify_all();
    }
    void ClipEnded(int clip, EngineResult result) override {
        record("end " + std::to_string(clip + 1) + " " + std::to_string(ResultNumber(result)));
    }
    void JobProgressed(const JobTotals& totals) override {
        std::lock_guard lock(lock_);
        int started = 0;
        for (const auto& event : events_)
            started += event.starts_with("clip ") ? 1 : 0;
        totals_.push_back({started, totals, ended_});
    }
    void JobEnded(JobResult result) override {
        record("job " + std::to_string(ResultNumber(result)));
        std::lock_guard lock(lock_);
        ended_ = true;
        changed_.notify_all();
    }

    std::vector<std::string> events() const {
        std::lock_guard lock(lock_);
        return events_;
    }
    std::vector<std::string> started() const {
        std::vector<std::string> names;
        for (const auto& event : events())
            if (event.starts_with("clip "))
                names.push_back(event.substr(event.rfind(' ') + 1));
        return names;
    }
    // The whole job's figures as they came, with the clips started by then.
    struct Totals {
        int clipsStarted = 0;
        JobTotals totals;
        bool afterEnd = false;
    };
    std::vector<Totals> totals() const {
        std::lock_guard lock(lock_);
        return totals_;
    }
    std::vector<std::string> statusTexts() const {
        std::lock_guard lock(lock_);
        return statusTexts_;
    }
    int lastPercent(JobStage stage) const {
        std::lock_guard lock(lock_);
        return lastPercent_[static_cast<int>(stage)];
    }
    int stopPossible() const {
        std::lock_guard lock(lock_);
        return stopPossible_;
    }
    // The first tick that shows converted seconds.
    JobProgress waitForConvertedSeconds() {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return ended_ || lastProgress_.currentTime != "00:00:00"; });
        return lastProgress_;
    }
    void waitForEnd() {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return ended_; });
    }

    static std::string name(JobStage stage) {
        static const char* const names[] = {"download", "convert", "author", "burn", "upload"};
        return names[static_cast<int>(stage)];
    }

private:
    void record(const std::string& event) {
        std::lock_guard lock(lock_);
        events_.push_back(event);
    }
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
    std::vector<std::string> statusTexts_;
    std::vector<Totals> totals_;
    int lastPercent_[5] = {-1, -1, -1, -1, -1};
    int stopPossible_ = 0;
    JobProgress lastProgress_;
    bool ended_ = false;
};

} // namespace quilo::test
