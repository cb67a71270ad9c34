// What a job left in its output folder: finished files and outputs still under
// construction (or left by a killed run).
#pragma once

#include "conversion/partial_outputs.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quilo::test {

inline bool isPartialOutput(const std::string& name) {
    return name.starts_with(PartialOutputPrefix) && !name.ends_with(".lock");
}

// The sorted names of the folder's finished files (none when it is missing).
inline std::vector<std::string> finishedNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (!it->path().filename().string().starts_with(PartialOutputPrefix))
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline size_t partialOutputsIn(const std::string& folder) {
    size_t count = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        count += isPartialOutput(it->path().filename().string()) ? 1 : 0;
    return count;
}

} // namespace quilo::test
