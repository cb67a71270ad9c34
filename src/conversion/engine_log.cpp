#include "conversion/engine_log.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace quilo {
namespace {

std::mutex logLock;
FILE* logFile = nullptr;

} // namespace

bool OpenEngineLog(const std::string& dataFolder) {
    std::lock_guard guard(logLock);
    if (logFile)
        std::fclose(logFile);
    logFile = std::fopen((dataFolder + "tamberlog.log").c_str(), "w+b");
    return logFile != nullptr;
}

extern "C" void EngineLogCallback(const char* text) {
    if (!text)
        return;
    const size_t length = std::strlen(text);
    // Texts of exactly 23 characters are the engine's progress ticks; they would drown the log.
    if (length == 23)
        return;
    std::lock_guard guard(logLock);
    if (!logFile)
        return;
    std::fwrite(text, 1, length, logFile);
    std::fflush(logFile);
}

void CloseEngineLog() {
    std::lock_guard guard(logLock);
    if (logFile)
        std::fclose(logFile);
    logFile = nullptr;
}

} // namespace quilo
