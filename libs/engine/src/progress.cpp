#include "progress.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>

namespace tz::progress {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> seconds{0}, fps{0}, encodingFlag{0}, percent{0};
std::atomic<int64_t> videoFrames{0};
std::atomic<int64_t> startedNs{0};
std::atomic<double> segment{0};

int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Video and sound reach the encoders on threads of their own: keep the furthest.
void raise(std::atomic<int>& value, int to) {
    int current = value.load();
    while (to > current && !value.compare_exchange_weak(current, to)) {
    }
}

} // namespace

void start(double segmentSeconds) {
    seconds.store(0);
    fps.store(0);
    percent.store(0);
    videoFrames.store(0);
    segment.store(segmentSeconds);
    startedNs.store(nowNs());
}

void setEncoding(bool encoding) {
    encodingFlag.store(encoding ? 1 : 0);
}

void reached(double at) {
    raise(seconds, static_cast<int>(std::max(0.0, at)));
    const double elapsed = static_cast<double>(nowNs() - startedNs.load()) / 1e9;
    if (elapsed > 0.2)
        fps.store(static_cast<int>(static_cast<double>(videoFrames.load()) / elapsed + 0.5));
    const double length = segment.load();
    if (length > 0)
        raise(percent, std::clamp(static_cast<int>(at * 100 / length), 0, 99));
}

void countVideoFrame() {
    videoFrames.fetch_add(1);
}

void complete() {
    percent.store(100);
}

int secondsDone() {
    return seconds.load();
}

void read(int info[4]) {
    info[0] = seconds.load();
    info[1] = fps.load();
    info[2] = encodingFlag.load();
    info[3] = percent.load();
}

} // namespace tz::progress
