#include "platform/single_instance.h"

#include "platform/runtime_folder.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {
namespace {

// A runtime folder that is named but missing would leave us with no lock at all.
std::string lockPathFor(const std::string& productName) {
    const std::string name = safeFileName(productName);
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (xdg && *xdg && stat(xdg, &info) == 0 && S_ISDIR(info.st_mode))
        return runtimeFolder() + name + ".lock";
    return "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
}

} // namespace

SingleInstanceLock::SingleInstanceLock(std::string productName) : path_(lockPathFor(productName)) {}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0)
        close(fd_); // releases the flock
}

bool SingleInstanceLock::tryAcquire() {
    if (fd_ >= 0)
        return true;
    // No symbolic links: in /tmp another user could point the name at a file of ours.
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_uid != getuid()) {
        close(fd); // someone else's file cannot tell whether our program runs
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

} // namespace quilo
