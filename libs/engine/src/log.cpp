#include "log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

namespace tz {
namespace {

std::atomic<LogCallback> callbackFn{nullptr};

void deliver(const char* line) {
    if (LogCallback cb = callbackFn.load())
        cb(line);
}

// FFmpeg writes a line in pieces; keep the pieces per thread until the break.
void ffmpegLog(void* avcl, int level, const char* format, va_list args) {
    if (level > av_log_get_level() || !callbackFn.load())
        return;
    thread_local std::string pending;
    thread_local int printPrefix = 1;
    char piece[1024];
    av_log_format_line2(avcl, level, format, args, piece, sizeof piece, &printPrefix);
    pending += piece;
    std::size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
        std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            deliver(line.c_str());
    }
}

// FFmpeg keeps a pointer to our function: install it while the library is
// loaded and take it out before the code goes away.
struct FfmpegLogHook {
    FfmpegLogHook() {
        av_log_set_level(AV_LOG_INFO);
        av_log_set_callback(ffmpegLog);
    }
    ~FfmpegLogHook() {
        av_log_set_level(AV_LOG_QUIET);
        av_log_set_callback(av_log_default_callback);
    }
} hook;

} // namespace

void setLogCallback(LogCallback callback) {
    callbackFn.store(callback);
}

void logLine(const char* format, ...) {
    if (!callbackFn.load())
        return;
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    deliver(line);
}

namespace {
// Each thread keeps its own: a conversion's stages hand theirs to the thread
// that called it (keepFailure); the grabber's threads keep their own.
thread_local std::string failure;
} // namespace

void failLine(const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (failure.empty())
        failure = line;
    deliver(line);
}

void clearFailure() {
    failure.clear();
}

void keepFailure(const std::string& reason) {
    if (failure.empty())
        failure = reason;
}

std::string firstFailure() {
    return failure;
}

} // namespace tz
