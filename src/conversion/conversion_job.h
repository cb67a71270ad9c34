// A conversion job: every clip of the list in turn through the engine, with
// the progress the window (or the command line) shows while it runs.
#pragma once

#include "conversion/engine_api.h"
#include "conversion/parameter_assembly.h"
#include "conversion/user_log.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace quilo {

// Job results.
namespace JobResult {
inline constexpr int Finished = 1, Stopped = 0, Failed = -1, EngineUnusable = 2;
}

struct JobInputs {
    const ProfileDefinitions& definitions;
    const PanelControls& panel;
    JobSetup setup;
    std::vector<TVideoInfo*> clips;
    std::string baseOutputFolder; // made when missing, like the job's own folder
    std::string dataFolder;       // user log, engine log, the engine's working file
    std::string engineFolder;     // where libTranzel.so is loaded from
    const QuiloWindowPort* window = nullptr;
};

// What the progress window shows.
struct JobProgress {
    // Per clip.
    std::string clipName, destinationName, startTime, stopTime, length;
    // Per tick.
    std::string currentTime = "00:00:00", fps = "0", remainingTime = "0";
    int percent = 0;
    int barWidth = 0; // of ProgressBarWidth
};
inline constexpr int ProgressBarWidth = 271;

class ConversionJob {
public:
    ConversionJob(JobInputs inputs, UserLog& log);

    // The worker: converts every clip until the list ends, a stop is asked for or
    // the engine is unusable. Returns the job result. For the DVD folder and disc
    // targets the authoring step follows when every clip converted.
    int Run();

    // Stop: the running clip finishes its file and the job ends after it.
    void RequestStop();
    bool stopRequested() const { return stop_; }
    bool engineLoaded() const;

    // One tick of the 500 ms progress timer, from any thread.
    JobProgress Tick();
    JobProgress progress() const;

    const std::vector<std::string>& outputs() const { return outputs_; }
    const std::vector<std::string>& unsupported() const { return unsupported_; }
    const std::string& lastEngineError() const { return engineError_; }

    // Told when a clip starts (labels) and when it ends (result).
    std::function<void(const JobProgress&)> onClipStart;
    std::function<void(int clipIndex, int result)> onClipEnd;
    // The DVD authoring (and burning) step after the clips; without one the
    // DVD folder and disc targets fail with a message.
    std::function<int()> dvdStep;

private:
    int convertClip(int index);

    JobInputs inputs_;
    UserLog& log_;
    ParameterAssembly assembly_;
    EngineParameterSet parameters_;
    std::vector<std::string> outputs_;
    std::vector<std::string> unsupported_;
    std::string engineError_;
    std::atomic<bool> stop_{false};

    mutable std::mutex progressLock_; // the engine and the progress between worker and timer
    const EngineApi* running_ = nullptr;
    JobProgress progress_;
    int startSecond_ = 0;
    int progressSeconds_ = 0;
    int ticks_ = 0;
};

} // namespace quilo
