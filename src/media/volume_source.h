// Arrival and removal of mounted volumes, optical discs in particular.
#pragma once

#include "platform/mounted_volumes.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quilo {

struct VolumeEvent {
    enum class Kind { Arrival, Removal };
    Kind kind = Kind::Arrival;
    std::string Drive;                // the device, e.g. "/dev/sr0"
    std::string Root;                 // where it is mounted
    bool Optical = false;             // a CD/DVD drive
    std::optional<std::string> Label; // none when the volume information cannot be read
    bool HasVideoTs = false;          // holds a VIDEO_TS folder
};

class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    // What changed since the last call.
    virtual std::vector<VolumeEvent> Poll() = 0;
};

// The system's mounted volumes, compared between polls; the first poll only
// learns what is there. A device counts as optical when it is one of /dev/sr*
// or carries an optical file system.
class MountedVolumeSource : public VolumeSource {
public:
    std::vector<VolumeEvent> Poll() override;

private:
    bool primed_ = false;
    std::map<std::string, VolumeEvent> known_; // by mount root and device
};

} // namespace quilo
