// Turns the output settings panel, the profile definitions and one clip into
// the texts and numbers of one engine conversion call.
#pragma once

#include "conversion/engine_parameter_set.h"
#include "media/clip_record.h"
#include "profiles/panel_controls.h"
#include "profiles/profile_definitions.h"
#include "shell/target_catalogue.h"

#include <string>
#include <vector>

namespace quilo {

struct JobSetup {
    TargetTypeId target = -1;
    std::string section;      // the target's definition section, "Tamber-" + identifier
    std::string outputFolder; // base output folder + the target's sub-folder, ends with '/'
    int minDuration = 0;      // a shorter segment is converted this long (0 = off)
};

class ParameterAssembly {
public:
    ParameterAssembly(const ProfileDefinitions& definitions, const PanelControls& panel, JobSetup setup);

    // Once per job, before the first clip.
    void ReadProfileValues(EngineParameterSet& set) const;
    // False when `index` is past the last clip. Makes the output path unique and
    // stores it in the clip.
    bool PrepareClip(const std::vector<TVideoInfo*>& clips, int index, EngineParameterSet& set) const;

    const JobSetup& setup() const { return setup_; }

private:
    std::string lookup(const std::string& section, const char* stem, const SelectorControl& selector) const;
    // From `first`, or from `second` when `first` defines nothing.
    std::string lookupEither(const std::string& first, const std::string& second, const char* stem,
                             const SelectorControl& selector) const;
    void frameAndPicture(const TVideoInfo& clip, EngineParameterSet& set) const;
    void frameRate(const TVideoInfo& clip, EngineParameterSet& set) const;

    const ProfileDefinitions& definitions_;
    const PanelControls& panel_;
    JobSetup setup_;
};

// Threads handed to the engine for a processor-core selector index: index + 3, within 4 … 8.
int EngineThreadCount(int coreIndex);

} // namespace quilo
