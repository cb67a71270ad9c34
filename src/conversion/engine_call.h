// One clip's calls into the engine: the global settings, then the conversion
// entry point of the target with its own argument list.
#pragma once

#include "conversion/engine_api.h"
#include "conversion/engine_parameter_set.h"
#include "conversion/job_results.h"
#include "shell/target_catalogue.h"

#include <functional>
#include <string>

namespace quilo {

struct EngineCallSettings {
    TargetTypeId target = -1;
    int coreIndex = 0; // processor-core selector index
    bool deinterlace = false;
    std::string tempFilePath; // the engine's working file
};

// The entry point for the target and the values it forces, applied to `set`;
// empty when the target has none (the clip then counts as unsupported).
std::string ChooseEntryPoint(TargetTypeId target, EngineParameterSet& set);

// Runs the global calls, then `beforeConversion` (stop button, progress timer,
// user log: it sees the values before the forced ones), then the conversion.
// Returns the engine's result; failed without a call when the target has no
// entry point.
EngineResult CallEngine(const EngineApi& api, const QuiloWindowPort* window, const EngineParameterSet& set,
                        const EngineCallSettings& settings, const std::function<void()>& beforeConversion);

} // namespace quilo
