// The rule that keeps a stream's frames on the timeline when its timestamps
// jump, on made-up sequences of timestamps.
#include "timestamp_guard.h"

#include <gtest/gtest.h>
#include <vector>

namespace tz {
namespace {

constexpr int64_t kSecond = 1'000'000;

// Places frames of 40 ms at the given timestamps; returns their positions.
std::vector<int64_t> placeAll(TimestampGuard& guard, const std::vector<int64_t>& timestamps) {
    std::vector<int64_t> positions;
    for (int64_t timestamp : timestamps) {
        positions.push_back(guard.place(0, timestamp));
        guard.frameEnds(positions.back() + 40'000);
    }
    return positions;
}

TEST(TimestampGuard, JumpsOfHoursAreDiscontinuitiesAndPausesAreKept) {
    TimestampGuard guard;
    guard.startPart(0, TimestampGuard::JumpLimitUs);
    // A jump of an hour goes on where the stream was; so does the way back.
    EXPECT_EQ(placeAll(guard, {0, 40'000, 3600 * kSecond, 3600 * kSecond + 40'000, 120'000}),
              (std::vector<int64_t>{0, 40'000, 80'000, 120'000, 160'000}));
    EXPECT_EQ(guard.discontinuities(), 2);
    // A pause of a few seconds is the source's own and stays.
    EXPECT_EQ(guard.place(0, 5 * kSecond), 5 * kSecond + 40'000);
    EXPECT_EQ(guard.discontinuities(), 2);
}

TEST(TimestampGuard, TheFirstFrameOfAPartMustBeNearItsEntry) {
    TimestampGuard guard;
    // A part that starts at 100 s of the timeline, entered by a seek to 130 s:
    // the keyframe before the seek point is fine, a time days away is not.
    guard.startPart(130 * kSecond, 60 * kSecond);
    EXPECT_EQ(guard.place(100 * kSecond, 25 * kSecond), 125 * kSecond);
    guard.startPart(130 * kSecond, 60 * kSecond);
    EXPECT_EQ(guard.place(100 * kSecond, 200'000 * kSecond), 130 * kSecond);
    guard.frameEnds(130 * kSecond + 40'000);
    EXPECT_EQ(guard.place(100 * kSecond, 200'000 * kSecond + 40'000), 130 * kSecond + 40'000);
    // A new part forgets the correction of the last one.
    guard.startPart(200 * kSecond, TimestampGuard::JumpLimitUs);
    EXPECT_EQ(guard.place(200 * kSecond, 0), 200 * kSecond);
}

TEST(TimestampGuard, TimestampsAtTheEndsOfTheirRangeDoNotOverflow) {
    TimestampGuard guard;
    guard.startPart(0, TimestampGuard::JumpLimitUs);
    EXPECT_EQ(guard.place(INT64_MAX, INT64_MAX), 0);
    guard.frameEnds(40'000);
    EXPECT_EQ(guard.place(INT64_MIN, INT64_MIN), 40'000);
    guard.frameEnds(80'000);
    EXPECT_EQ(guard.place(0, 80'000), 80'000);
}

} // namespace
} // namespace tz
