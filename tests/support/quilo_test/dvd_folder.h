// A real DVD-Video folder for the disc tests, authored by the dvdauthor program.
#pragma once

#include <string>

namespace quilo::test {

// Authors `titles` short PAL titles into `folder` (which then holds VIDEO_TS).
// Returns an empty text on success, else what went wrong.
std::string MakeDvdFolder(const std::string& folder, int titles);

} // namespace quilo::test
