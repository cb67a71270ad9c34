// The user's standard folders, each ending with '/', empty when unknown.
#pragma once

#include <string>

namespace quilo {

std::string applicationDataFolder(); // where programs keep their per-user data
std::string documentsFolder();
std::string videosFolder();
std::string picturesFolder();
std::string homeFolder();

// The folder with a trailing '/'; an empty text stays empty (it names no folder).
std::string WithTrailingSlash(const std::string& folder);

} // namespace quilo
