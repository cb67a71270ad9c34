#include "conversion/engine_log.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace quilo {
namespace {

std::mutex logLock;
FILE* logFile = nullptr;
std::string lastFailure;
constexpr const char* FailedMark = ": failed: ";

} // namespace

std::string EngineLogPath(const std::string& dataFolder) {
    return dataFolder + "tamberlog.log";
}

bool OpenEngineLog(const std::string& dataFolder) {
    std::lock_guard guard(logLock);
    if (logFile)
        std::fclose(logFile);
    logFile = std::fopen(EngineLogPath(dataFolder).c_str(), "w+b");
    lastFailure.clear();
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
    if (const char* failed = std::strstr(text, FailedMark)) {
        lastFailure = failed + std::strlen(FailedMark);
        while (!lastFailure.empty() && (lastFailure.back() == '\n' || lastFailure.back() == '\r'))
            lastFailure.pop_back();
    }
    if (!logFile)
        return;
    std::fwrite(text, 1, length, logFile);
    std::fflush(logFile);
}

std::string LastEngineFailure() {
    std::lock_guard guard(logLock);
    return lastFailure;
}

void CloseEngineLog() {
    std::lock_guard guard(logLock);
    if (logFile)
        std::fclose(logFile);
    logFile = nullptr;
}

} // namespace quilo
