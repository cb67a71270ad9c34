#include "run_settings.h"

#include <algorithm>
#include <vector>

namespace videodl {

namespace {

std::mutex listLock;
std::vector<RunSettings*> listedRuns;
// A plain pointer: a thread_local with a destructor would pin the library until the thread ends.
thread_local RunSettings* current = nullptr;

} // namespace

void RunSettings::stop() {
    stopRequested = true;
    std::lock_guard guard(childLock);
    if (child)
        child->kill();
}

RunSettings& threadRunSettings() {
    if (!current) {
        current = new RunSettings;
        std::lock_guard guard(listLock);
        listedRuns.push_back(current);
    }
    return *current;
}

void endThreadRunSettings() {
    if (!current)
        return;
    {
        std::lock_guard guard(listLock);
        listedRuns.erase(std::remove(listedRuns.begin(), listedRuns.end(), current), listedRuns.end());
    }
    delete current;
    current = nullptr;
}

int stopRuns(void* user, bool everyRun) {
    std::lock_guard guard(listLock);
    int reached = 0;
    for (RunSettings* run : listedRuns) {
        if (everyRun || run->user == user) {
            run->stop();
            ++reached;
        }
    }
    return reached;
}

} // namespace videodl
