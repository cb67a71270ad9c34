// The settings of one run, kept per thread, and the process-wide list of runs
// that a stop can reach.
#pragma once

#include "child_process.h"
#include "videodl.h"

#include <atomic>
#include <mutex>
#include <string>

namespace videodl {

struct RunSettings {
    VideodlCsvCallback csv = nullptr;
    VideodlFileCallback file = nullptr;
    VideodlStatusCallback status = nullptr;
    VideodlProcessCallback progress = nullptr;
    VideodlErrorCallback error = nullptr;
    void* user = nullptr;
    std::string downloadFolder;

    std::atomic<bool> stopRequested{false};
    std::mutex childLock;
    ChildProcess* child = nullptr; // the running child, for a stop to kill

    // Asks the run to stop and kills its child; from any thread.
    void stop();
};

// The calling thread's settings, made and listed on first use.
RunSettings& threadRunSettings();
// Ends the calling thread's settings: unlisted and freed.
void endThreadRunSettings();
// Stops the listed runs with this user value, or all when `everyRun`; returns how many.
int stopRuns(void* user, bool everyRun);

} // namespace videodl
