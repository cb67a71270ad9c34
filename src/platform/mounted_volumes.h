// The system's mounted volumes, read in one place for every part that needs
// them: the disc-arrival watch of clip loading and the PSP upload.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quilo {

struct MountedVolume {
    std::string device;               // e.g. "/dev/sr0"
    std::string root;                 // where it is mounted, without a trailing '/'
    std::string fileSystemType;       // in lower case, e.g. "iso9660"
    std::optional<std::string> label; // none while the volume cannot be read
};

// Every mounted volume the system reports as valid.
std::vector<MountedVolume> MountedVolumes();

// Mount roots of removable volumes (those under the user's media folders),
// each ending with '/'.
std::vector<std::string> RemovableVolumeRoots();

// True for /dev/srN (also reached through a link such as /dev/cdrom).
bool IsOpticalDevice(const std::string& device);

} // namespace quilo
