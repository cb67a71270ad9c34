// The engine's log: its own lines and FFmpeg's, handed to the caller's callback.
#pragma once

#include <string>

namespace tz {

using LogCallback = void (*)(const char* line);

void setLogCallback(LogCallback callback);
// One line (printf format, no line break needed). Safe from any thread.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A line that says why the work of this thread fails. The first one since
// clearFailure() is kept: a failed conversion repeats it as its last line.
void failLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
void clearFailure();
// Takes a reason given on another thread of the same work, when this thread
// has none yet; it is not logged again.
void keepFailure(const std::string& reason);
std::string firstFailure();

} // namespace tz
