// One analysis or download of a page, from the arguments of Run.
#pragma once

#include "run_settings.h"

#include <string>
#include <vector>

namespace videodl {

struct RunArguments {
    std::string fileNameFormat = "%i.%s";
    bool analyseOnly = false;
    bool resume = true;
    std::string pageUrl;
};

RunArguments parseRunArguments(const std::vector<std::string>& argv);

// Runs to its end, reporting through the callbacks of `settings`.
void runPage(RunSettings& settings, const RunArguments& arguments);

} // namespace videodl
