// The engine's log: its own lines and FFmpeg's, handed to the caller's callback.
#pragma once

namespace tz {

using LogCallback = void (*)(const char* line);

void setLogCallback(LogCallback callback);
// One line (printf format, no line break needed). Safe from any thread.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace tz
