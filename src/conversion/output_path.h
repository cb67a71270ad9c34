// Output file paths of a job.
#pragma once

#include <string>

namespace quilo {

// Characters that may not stand in a file name become "_" (a name from a web
// page or a tag must not reach another folder).
std::string SanitizeOutputName(const std::string& name);
// folder + name, or folder + N + "-" + name for the first N = 1, 2, ... whose path
// does not exist yet. `folder` ends with '/'.
std::string UniqueOutputPath(const std::string& folder, const std::string& name);

} // namespace quilo
