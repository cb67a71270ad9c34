// Keeps one stream's frames on the timeline when its timestamps jump. Damaged
// or restarted timestamps can claim hours within a few seconds of input; the
// frame-rate filter would fill such a gap with copies of one picture. A jump
// of more than JumpLimitUs from where the stream's last frame ended is taken
// for a discontinuity, as players do, and the stream goes on from there.
#pragma once

#include <cstdint>

namespace tz {

class TimestampGuard {
public:
    static constexpr int64_t JumpLimitUs = 10'000'000;

    // Before the first frame of an input part: its frames are expected from
    // entryUs on, or up to slackUs earlier (a seek lands on an earlier keyframe).
    void startPart(int64_t entryUs, int64_t slackUs);
    // The timeline position of a frame whose timestamp, in microseconds, says
    // baseUs + timestampUs (either may be anything a damaged file holds).
    int64_t place(int64_t baseUs, int64_t timestampUs);
    // Where the last placed frame ends: the next one is expected there.
    void frameEnds(int64_t endUs) { expectedUs_ = endUs; }
    // The size of the last jump taken for a discontinuity.
    int64_t lastJumpUs() const { return lastJumpUs_; }
    int discontinuities() const { return discontinuities_; }

private:
    void correct(int64_t positionUs, int64_t targetUs);

    int64_t correctionUs_ = 0;
    int64_t entryUs_ = 0, slackUs_ = 0;
    int64_t expectedUs_ = 0;
    bool placedInPart_ = false;
    int64_t lastJumpUs_ = 0;
    int discontinuities_ = 0;
};

} // namespace tz
