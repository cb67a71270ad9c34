// What a running job tells whoever shows it: the progress window, the
// command-line converter's progress lines. The job calls these from its own
// threads (worker and progress tick), never from the caller's; an observer
// that drives widgets carries each call over to its window thread.
#pragma once

#include "conversion/job_results.h"

#include <string>

namespace quilo {

// The stages of a job in the order they run; a job runs only those it needs.
enum class JobStage {
    Download, // web videos fetched before they are converted
    Convert,  // the clips through the engine
    Author,   // the DVD-Video folder
    Burn,     // the DVD folder onto the disc in the chosen drive
    Upload,   // the outputs onto a PSP, after the job, on the caller's thread
};

// The labels of the clip being converted, as the progress window shows them.
struct JobProgress {
    int clip = 0; // index among the job's clips
    int clipCount = 0;
    // Per clip.
    std::string clipName, destinationName, startTime, stopTime, length;
    // Per tick.
    std::string currentTime = "00:00:00", fps = "0", remainingTime = "0";
    int percent = 0;
    int barWidth = 0; // of ProgressBarWidth
    // The figures behind them: the seconds the engine converts for this clip
    // (0 when its length is unknown) and those it has converted.
    int segmentSeconds = 0;
    int doneSeconds = 0;
};
inline constexpr int ProgressBarWidth = 271;

// The whole job, beside the running clip: its percent and the time it still needs.
struct JobTotals {
    int percent = 0; // 0 … 100
    std::string remainingTime = "0";
};

class JobObserver {
public:
    virtual ~JobObserver() = default;

    virtual void StageStarted(JobStage) {}
    // Every stage but Convert reports a plain percent, 0 … 100.
    virtual void StagePercent(JobStage, int /*percent*/) {}
    // The status line under the labels ("Burning DVD ...", "Uploading : …").
    virtual void StatusText(const std::string&) {}

    // Convert: a clip starts (Stop waits for StopPossible), its 500 ms ticks, its end.
    virtual void ClipStarted(const JobProgress&) {}
    virtual void StopPossible() {}
    virtual void ConversionProgress(const JobProgress&) {}
    virtual void ClipEnded(int /*clip*/, EngineResult) {}
    // The whole job, with every 500 ms tick of any stage, after each clip and
    // once more just before JobEnded.
    virtual void JobProgressed(const JobTotals&) {}

    // The last call of a run; the caller then finishes the job (JobRunner::Finish).
    virtual void JobEnded(JobResult) {}
};

} // namespace quilo
