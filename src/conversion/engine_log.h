// The engine log "tamberlog.log": the raw text the engine reports while the last
// clip converts. The engine calls back through a plain C function, from any of
// its threads, so the log is one process-wide object.
#pragma once

#include <string>

namespace quilo {

// Where the engine log of `dataFolder` is.
std::string EngineLogPath(const std::string& dataFolder);
// Replaces the file with an empty one; later texts go to it.
bool OpenEngineLog(const std::string& dataFolder);
// The function handed to the engine's log callback setter.
extern "C" void EngineLogCallback(const char* text);
void CloseEngineLog();
// Why the last conversion since OpenEngineLog failed, in the engine's words
// (its closing line "<entry point>: failed: <reason>"); empty when none failed.
std::string LastEngineFailure();

} // namespace quilo
