#include "conversion/output_folder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/statvfs.h>
#include <unistd.h>

namespace quilo {

std::string OutputFolderProblem(const std::string& folder) {
    namespace fs = std::filesystem;
    const std::string named = "The output folder " + folder;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return named + " cannot be made: " + error.message();
    if (!fs::is_directory(folder, error))
        return named + " is not a folder";
    // Permissions alone do not tell (root, read-only mounts, ACLs): try a file.
    const std::string probe = (fs::path(folder) / ".quilo-write-test").string();
    const int file = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0)
        return named + " cannot be written: " + std::strerror(errno);
    ::close(file);
    ::unlink(probe.c_str());
    struct statvfs space {};
    if (::statvfs(folder.c_str(), &space) == 0 &&
        static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize < OutputFolderMinimumFreeBytes)
        return named + " is on a full disk";
    return {};
}

} // namespace quilo
