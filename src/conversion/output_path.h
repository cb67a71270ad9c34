// Output file paths of a job.
#pragma once

#include <cstddef>
#include <string>

namespace quilo {

// Characters that may not stand in a file name become "_" (a name from a web
// page or a tag must not reach another folder).
std::string SanitizeOutputName(const std::string& name);
// The name in at most `longest` bytes: the stem is shortened, the extension
// and whole UTF-8 characters are kept.
std::string FitFileName(const std::string& name, std::size_t longest);
// folder + name, or folder + N + "-" + name for the first N = 1, 2, ... whose path
// does not exist yet; a name too long for the folder's file system has its
// stem shortened. `folder` ends with '/'.
std::string UniqueOutputPath(const std::string& folder, const std::string& name);

} // namespace quilo
