// One running copy of the program per product and user: a lock file held with
// flock, which the system releases even when the process crashes.
#pragma once

#include <string>

namespace quilo {

class SingleInstanceLock {
public:
    // The lock file is <productName>.lock in $XDG_RUNTIME_DIR, or
    // /tmp/<productName>-<uid>.lock without one.
    explicit SingleInstanceLock(std::string productName);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False when another process holds the lock. When the lock file cannot be
    // opened at all the answer is true: better to run than to refuse to start.
    bool tryAcquire();
    bool isHeld() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace quilo
