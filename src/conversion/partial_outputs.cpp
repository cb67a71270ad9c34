#include "conversion/partial_outputs.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <random>
#include <sys/file.h>
#include <unistd.h>

namespace quilo {
namespace {

namespace fs = std::filesystem;

std::string lockName(const std::string& run) {
    return std::string(PartialOutputPrefix) + run + ".lock";
}

// The run a partial name belongs to: the text between the prefix and the next '-' or '.'.
std::string runOf(const std::string& name) {
    const std::size_t start = std::strlen(PartialOutputPrefix);
    if (name.compare(0, start, PartialOutputPrefix) != 0)
        return {};
    const std::size_t end = name.find_first_of("-.", start);
    return end == std::string::npos ? std::string() : name.substr(start, end - start);
}

// Whether a live process holds the run's lock.
bool runIsAlive(const std::string& folder, const std::string& run) {
    const int file = ::open((folder + lockName(run)).c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool held = ::flock(file, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(file);
    return held;
}

std::string newRunName() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const unsigned value = random() ^ (static_cast<unsigned>(getpid()) << 12) ^ counter++;
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

} // namespace

PartialOutputs::PartialOutputs(std::string folder) : folder_(std::move(folder)), run_(newRunName()) {}

PartialOutputs::~PartialOutputs() {
    std::error_code ignored;
    for (const auto& path : partial_)
        fs::remove_all(path, ignored);
    if (lockFile_ >= 0) {
        fs::remove(folder_ + lockName(run_), ignored);
        ::close(lockFile_);
    }
}

bool PartialOutputs::lock(std::string& error) {
    if (lockFile_ >= 0)
        return true;
    // Locked under another name first: a lock file that exists is always held
    // while its run lives.
    const std::string locking = folder_ + ".quilo-locking-" + run_;
    const int file = ::open(locking.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0 || ::flock(file, LOCK_EX | LOCK_NB) != 0 ||
        ::rename(locking.c_str(), (folder_ + lockName(run_)).c_str()) != 0) {
        error = std::strerror(errno);
        if (file >= 0) {
            ::unlink(locking.c_str());
            ::close(file);
        }
        return false;
    }
    lockFile_ = file;
    return true;
}

std::string PartialOutputs::TemporaryPath(const std::string& finalPath, std::string& error) {
    if (!lock(error))
        return {};
    const std::string extension = fs::path(finalPath).extension().string();
    const std::string path = folder_ + PartialOutputPrefix + run_ + "-" + std::to_string(++count_) +
                             (extension.size() <= 16 ? extension : std::string());
    partial_.push_back(path);
    return path;
}

bool PartialOutputs::Keep(const std::string& temporaryPath, const std::string& finalPath,
                          std::string& error) {
    std::error_code failure;
    fs::rename(temporaryPath, finalPath, failure);
    if (failure) {
        error = failure.message();
        return false;
    }
    partial_.erase(std::remove(partial_.begin(), partial_.end(), temporaryPath), partial_.end());
    return true;
}

void PartialOutputs::Discard(const std::string& temporaryPath) {
    std::error_code ignored;
    fs::remove_all(temporaryPath, ignored);
    partial_.erase(std::remove(partial_.begin(), partial_.end(), temporaryPath), partial_.end());
}

std::vector<std::string> PartialOutputs::RemoveLeftovers(const std::string& folder) {
    std::vector<std::string> removed;
    std::error_code error;
    std::map<std::string, bool> alive;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    for (const fs::path& entry : entries) {
        const std::string name = entry.filename().string();
        const std::string run = runOf(name);
        if (run.empty())
            continue;
        if (!alive.contains(run))
            alive[run] = runIsAlive(folder, run);
        if (alive[run])
            continue;
        std::error_code ignored;
        if (fs::remove_all(entry, ignored) > 0)
            removed.push_back(name);
    }
    return removed;
}

} // namespace quilo
