// Whether a job can write into its output folder, asked before the first clip
// so that the user hears why nothing can be written instead of N failures.
#pragma once

#include <cstdint>
#include <string>

namespace quilo {

// Less room than this and a conversion cannot even write its headers.
inline constexpr std::uint64_t OutputFolderMinimumFreeBytes = 1024 * 1024;

// Makes the folder when it is missing. Empty when a job can write into it;
// otherwise one line saying why not, naming the folder.
std::string OutputFolderProblem(const std::string& folder);

} // namespace quilo
