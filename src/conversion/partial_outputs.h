// Outputs under construction. Each file or folder a job writes is first named
// ".quilo-partial-<run>-<n>..." in its folder and gets its own name when it is
// finished (or stopped: a stopped file plays). The run holds a lock file beside
// them while it lives; partial outputs whose lock nobody holds are what a
// killed run left, and the next run in that folder removes them.
#pragma once

#include <string>
#include <vector>

namespace quilo {

inline constexpr const char* PartialOutputPrefix = ".quilo-partial-";

class PartialOutputs {
public:
    explicit PartialOutputs(std::string folder); // ends with '/'
    ~PartialOutputs();                           // removes what is still partial
    PartialOutputs(const PartialOutputs&) = delete;
    PartialOutputs& operator=(const PartialOutputs&) = delete;

    // A short name in the folder for what will be `finalPath`, with its
    // extension (the engine picks some containers by it). Empty when the
    // folder cannot be written; `error` then says why.
    std::string TemporaryPath(const std::string& finalPath, std::string& error);
    // Gives a partial output its own name. False, with the reason, when that fails.
    bool Keep(const std::string& temporaryPath, const std::string& finalPath, std::string& error);
    // Removes a partial output that will not be kept (a failed or empty one).
    void Discard(const std::string& temporaryPath);

    // Removes the partial outputs of runs that no longer live; returns their names.
    static std::vector<std::string> RemoveLeftovers(const std::string& folder);

private:
    bool lock(std::string& error);

    std::string folder_;
    std::string run_;
    int lockFile_ = -1;
    int count_ = 0;
    std::vector<std::string> partial_;
};

} // namespace quilo
