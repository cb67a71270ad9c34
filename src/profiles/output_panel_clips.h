// What the output settings panel needs from the clip list: the current clip's
// picture size for the size boxes, and the clips whose output names follow the
// panel's settings.
#pragma once

#include "profiles/output_naming.h"

#include <optional>
#include <string>

namespace quilo {

struct ClipSize {
    int width = 0;
    int height = 0;
};

class CurrentClipSize {
public:
    virtual ~CurrentClipSize() = default;
    // The source picture size of the current clip; nothing without a current clip.
    virtual std::optional<ClipSize> currentClipSize() const = 0;
};

class NamingClipList {
public:
    virtual ~NamingClipList() = default;
    virtual int clipCount() const = 0;
    virtual std::optional<NamingClip> clip(int position) const = 0;
    // Stores the name in the clip record and shows it in the clip's row.
    virtual void setOutputName(int position, const std::string& name) = 0;
};

} // namespace quilo
