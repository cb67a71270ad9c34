// What one clip's conversion and what a whole job come to. The two share some
// numbers (the user log and the old window messages carry them as integers),
// but not their meaning: 0 is a converted clip yet a stopped job.
#pragma once

#include <string>

namespace quilo {

// A conversion entry point's result, or why no entry point ran.
enum class EngineResult : int {
    Converted = 0, // also a clip stopped by the user: its file plays up to the stop
    Failed = -1,   // unreadable input, an unsupported value, or no entry point for the target
    Unusable = 2,  // the engine library could not be loaded or lacks a name
};

enum class JobResult : int {
    Finished = 1,
    Stopped = 0,
    Failed = -1,
    EngineUnusable = 2, // the engine or the authoring library
    BurnNotStarted = -2,
    BurnFolderMissing = -3,
    BurnFailed = -4,
};

// A clip the engine could not convert, and why in one line.
struct FailedClip {
    std::string path;
    std::string reason;
    bool operator==(const FailedClip&) const = default;
};

// The library returns 0 or -1; anything else is no success either.
inline EngineResult EngineResultOf(int returned) {
    return returned == 0 ? EngineResult::Converted : EngineResult::Failed;
}

inline int ResultNumber(EngineResult result) {
    return static_cast<int>(result);
}
inline int ResultNumber(JobResult result) {
    return static_cast<int>(result);
}

} // namespace quilo
