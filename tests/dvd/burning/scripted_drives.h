// Drives whose discs a test sets up freely: rewritable discs with data,
// written DVD-Rs, discs too small, blanking that works or fails. A file drive
// can be none of these.
#pragma once

#include "dvd/burning/disc_library.h"

#include <map>
#include <string>

namespace quilo::test {

struct ScriptedDisc {
    int discType = 6;
    bool blank = true;
    uint64_t usedBytes = 0;
    uint64_t freeBytes = 4700000000ull;
    bool blankWorks = true; // erasing leaves the disc blank
    int trackCount = 0, sessionCount = 0;
    unsigned maxWrite = 22160;
    // Counted so tests see what the control did.
    int blanks = 0, writes = 0, ejects = 0, loads = 0, locks = 0, unlocks = 0;
    bool writeFails = false;
};

// The drives by address, shared by all scripted handles.
std::map<std::string, ScriptedDisc>& ScriptedDrives();
int& ScriptedSearches();
const DiscLibraryCalls& ScriptedLibrary();

} // namespace quilo::test
