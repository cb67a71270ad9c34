// Turns a job's settings and one clip into the texts and numbers of one engine
// conversion call.
#pragma once

#include "conversion/engine_parameter_set.h"
#include "conversion/job_settings.h"
#include "media/clip_record.h"

#include <string>
#include <vector>

namespace quilo {

class ParameterAssembly {
public:
    explicit ParameterAssembly(JobSettings settings);

    // Once per job, before the first clip.
    void ReadProfileValues(EngineParameterSet& set) const;
    // False when `index` is past the last clip. Makes the output path unique and
    // stores it in the clip.
    bool PrepareClip(const std::vector<TVideoInfo*>& clips, int index, EngineParameterSet& set) const;

    const JobSettings& settings() const { return settings_; }

private:
    void frameAndPicture(const TVideoInfo& clip, EngineParameterSet& set) const;
    void frameRate(const TVideoInfo& clip, EngineParameterSet& set) const;

    JobSettings settings_;
};

// The seconds the engine converts of `clip`: the trimmed part of one file, or
// the whole of a clip of several files; 0 when its length is unknown.
int ClipSegmentSeconds(const TVideoInfo& clip);

// Threads handed to the engine for a processor-core selector index: index + 3, within 4 … 8.
int EngineThreadCount(int coreIndex);

} // namespace quilo
