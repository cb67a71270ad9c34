#include "platform/runtime_folder.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {
namespace {

// Another user may have made the folder first, to watch or steal our sockets.
bool isPrivateFolder(const std::string& folder) {
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}

} // namespace

std::string runtimeFolder() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (xdg && *xdg && stat(xdg, &info) == 0 && S_ISDIR(info.st_mode)) {
        std::string folder = xdg;
        return folder.back() == '/' ? folder : folder + "/";
    }
    const std::string folder = "/tmp/quilo-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    return isPrivateFolder(folder) ? folder + "/" : std::string{};
}

std::string safeFileName(const std::string& name) {
    std::string safe;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        safe += plain ? c : '_';
    }
    if (safe.find_first_not_of('.') == std::string::npos)
        return "_";
    return safe;
}

} // namespace quilo
