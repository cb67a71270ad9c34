#include "timestamp_guard.h"

#include <algorithm>

namespace tz {
namespace {
// Far beyond any real timestamp (about 30 years), near enough to zero that
// sums of such values cannot overflow.
constexpr int64_t kFarUs = 1'000'000'000'000'000;
} // namespace

void TimestampGuard::startPart(int64_t entryUs, int64_t slackUs) {
    // Each part has timestamps of its own: a correction of the last one does not apply.
    correctionUs_ = 0;
    entryUs_ = entryUs;
    slackUs_ = slackUs;
    placedInPart_ = false;
}

int64_t TimestampGuard::place(int64_t baseUs, int64_t timestampUs) {
    const int64_t rawUs = std::clamp(baseUs, -kFarUs, kFarUs) + std::clamp(timestampUs, -kFarUs, kFarUs);
    const int64_t positionUs = rawUs + correctionUs_;
    if (!placedInPart_) {
        placedInPart_ = true;
        if (positionUs < entryUs_ - slackUs_ || positionUs > entryUs_ + JumpLimitUs)
            correct(positionUs, entryUs_);
    } else if (positionUs > expectedUs_ + JumpLimitUs || positionUs < expectedUs_ - JumpLimitUs) {
        correct(positionUs, expectedUs_);
    }
    return rawUs + correctionUs_;
}

void TimestampGuard::correct(int64_t positionUs, int64_t targetUs) {
    lastJumpUs_ = positionUs - targetUs;
    correctionUs_ -= lastJumpUs_;
    ++discontinuities_;
}

} // namespace tz
