// yt-dlp's download progress, as printed by the progress template of a download.
#pragma once

#include <optional>
#include <string>

namespace videodl {

// yt-dlp prints one such line per progress report (see progressTemplate()).
inline constexpr const char* ProgressMarker = "QUILO-PROGRESS";

// The --progress-template value: the marker, the status, the byte counts, the
// rate in bytes per second and the remaining seconds, "NA" for what is unknown.
std::string progressTemplate();

struct ProgressReport {
    bool finished = false;
    double downloaded = 0;
    double total = 0; // 0 when unknown
    double bytesPerSecond = 0;
    long remainingSeconds = -1; // -1 when unknown
};

// The report of one output line; nothing for lines that are not progress.
std::optional<ProgressReport> parseProgressLine(const std::string& line);

// 0 … 100; 100 only for a finished file; 99 at most while bytes still arrive.
int percentOf(const ProgressReport& report);
// The rate in the largest of B/s, KB/s and MB/s that keeps it at least 1.
void scaleRate(double bytesPerSecond, double& rate, std::string& unit);
// "HH:MM:SS"; empty for an unknown time.
std::string remainingTimeText(long seconds);

} // namespace videodl
