#include "progress_line.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace videodl {

namespace {

double number(const std::string& field) {
    char* end = nullptr;
    const double value = std::strtod(field.c_str(), &end);
    return end != field.c_str() && *end == '\0' && std::isfinite(value) && value > 0 ? value : 0;
}

} // namespace

std::string progressTemplate() {
    return std::string("download:") + ProgressMarker +
           " %(progress.status)s %(progress.downloaded_bytes)s %(progress.total_bytes)s"
           " %(progress.total_bytes_estimate)s %(progress.speed)s %(progress.eta)s";
}

std::optional<ProgressReport> parseProgressLine(const std::string& line) {
    std::istringstream fields(line);
    std::string marker, status, downloaded, total, estimate, speed, eta;
    if (!(fields >> marker >> status >> downloaded >> total >> estimate >> speed >> eta) ||
        marker != ProgressMarker)
        return std::nullopt;
    ProgressReport report;
    report.finished = status == "finished";
    report.downloaded = number(downloaded);
    report.total = number(total) > 0 ? number(total) : number(estimate);
    report.bytesPerSecond = number(speed);
    const double seconds = number(eta);
    report.remainingSeconds = eta == "0" ? 0 : seconds > 0 && seconds < 1e9 ? static_cast<long>(seconds) : -1;
    if (report.finished && report.total <= 0)
        report.total = report.downloaded;
    return report;
}

int percentOf(const ProgressReport& report) {
    if (report.finished)
        return 100;
    if (report.total <= 0)
        return 0;
    const double percent = report.downloaded * 100.0 / report.total;
    return percent >= 99 ? 99 : percent <= 0 ? 0 : static_cast<int>(percent);
}

void scaleRate(double bytesPerSecond, double& rate, std::string& unit) {
    rate = bytesPerSecond;
    unit = "B/s";
    if (rate >= 1024 * 1024) {
        rate /= 1024 * 1024;
        unit = "MB/s";
    } else if (rate >= 1024) {
        rate /= 1024;
        unit = "KB/s";
    }
}

std::string remainingTimeText(long seconds) {
    if (seconds < 0)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

} // namespace videodl
