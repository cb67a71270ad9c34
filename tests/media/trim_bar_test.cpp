// The trim bar: handle positions from the clip's times, drags that become
// times, and typed times with their red marking.
#include "media/trim_bar.h"

#include <gtest/gtest.h>
#include <vector>

namespace quilo {
namespace {

struct Recorder : TrimBarEvents {
    void showSeeking() override { ++seeking; }
    void requestFrame(int seconds) override { frames.push_back(seconds); }
    void refreshOutputNames() override { ++refreshes; }
    int seeking = 0;
    std::vector<int> frames;
    int refreshes = 0;
};

class TrimBarTest : public ::testing::Test {
protected:
    void clipOf(int duration) {
        clip.SetDuration(duration);
        clip.SetStartTime(0);
        clip.SetEndTime(duration);
        bar.SetClip(&clip);
    }
    TVideoInfo clip;
    Recorder events;
    TrimBar bar{events};
};

TEST_F(TrimBarTest, HandlesFollowTheClipsTimesAndRestWithoutALength) {
    clipOf(600);
    EXPECT_TRUE(bar.HandlesEnabled());
    EXPECT_EQ(bar.LeftHandleLeft(), 0);
    EXPECT_EQ(bar.RightHandleLeft(), 156);
    EXPECT_EQ(bar.StretchWidth(), 146);

    clip.SetStartTime(150);
    clip.SetEndTime(450);
    bar.PlaceHandles();
    EXPECT_EQ(bar.LeftHandleLeft(), 37);   // 0.25 * 146 + 0.5
    EXPECT_EQ(bar.RightHandleLeft(), 120); // 0.75 * 146 + 10 + 0.5
    EXPECT_EQ(bar.StretchLeft(), 47);

    clip.SetDuration(0); // no fraction at all
    bar.PlaceHandles();
    EXPECT_FALSE(bar.HandlesEnabled());
    EXPECT_EQ(bar.LeftHandleLeft(), 0);
    EXPECT_EQ(bar.RightHandleLeft(), 156);
    EXPECT_EQ(bar.StretchWidth(), 0 + 146);

    bar.SetClip(nullptr);
    EXPECT_FALSE(bar.HandlesEnabled());
    bar.Press(TrimItem::LeftHandle, 0); // disabled: no drag
    EXPECT_FALSE(bar.Dragging());
}

TEST_F(TrimBarTest, DraggingTheHandlesSetsTheTimesAndAsksForTheirFrames) {
    clipOf(600);
    bar.Press(TrimItem::LeftHandle, 100);
    bar.Move(173);
    EXPECT_EQ(bar.LeftHandleLeft(), 73);
    EXPECT_EQ(bar.StartField().Text, "00:05:00");
    EXPECT_EQ(bar.StartField().Colour, FieldColour::Lime);
    EXPECT_EQ(clip.StartTime, 0); // stored only on release
    bar.Release();
    EXPECT_EQ(clip.StartTime, 300);
    EXPECT_EQ(bar.StartField().Colour, FieldColour::Normal);
    EXPECT_EQ(events.seeking, 1);
    EXPECT_EQ(events.frames, std::vector<int>{300});
    EXPECT_EQ(events.refreshes, 1);

    // The right handle cannot pass the left one, nor the end of the track.
    bar.Press(TrimItem::RightHandle, 50);
    bar.Move(-500);
    EXPECT_EQ(bar.RightHandleLeft(), 83);
    bar.Move(500);
    EXPECT_EQ(bar.RightHandleLeft(), 156);
    bar.Release();
    EXPECT_EQ(clip.EndTime, 600);
    EXPECT_EQ(events.frames.back(), 600); // the preview adjusts it to 590 itself
    EXPECT_EQ(clip.StartTime, 300);
}

TEST_F(TrimBarTest, TheStretchBarMovesBothHandlesInsideTheTrack) {
    clipOf(146);
    clip.SetStartTime(20);
    clip.SetEndTime(60);
    bar.PlaceHandles();
    ASSERT_EQ(bar.StretchWidth(), 40);
    bar.Press(TrimItem::Stretch, 0);
    EXPECT_EQ(bar.StartField().Colour, FieldColour::Lime);
    EXPECT_EQ(bar.EndField().Colour, FieldColour::Lime);
    bar.Move(1000);
    EXPECT_EQ(bar.RightHandleLeft(), 156);
    EXPECT_EQ(bar.LeftHandleLeft(), 106);
    bar.Move(-1000);
    EXPECT_EQ(bar.LeftHandleLeft(), 0);
    EXPECT_EQ(bar.StretchWidth(), 40);
    bar.Move(10);
    bar.Release();
    EXPECT_EQ(clip.StartTime, 30);
    EXPECT_EQ(clip.EndTime, 70);
    EXPECT_EQ(bar.StartField().Text, "00:00:30");
    EXPECT_EQ(bar.EndField().Text, "00:01:10");
    EXPECT_EQ(events.frames, std::vector<int>{30});
}

TEST_F(TrimBarTest, MaskedTimesReadBlankDigitsAsZero) {
    EXPECT_EQ(MaskedTimeToSeconds("01:70:00"), 7800);
    EXPECT_EQ(MaskedTimeToSeconds(" 1:02:03"), 3723);
    EXPECT_EQ(MaskedTimeToSeconds("  :  :  "), 0);
    EXPECT_EQ(MaskedTimeToSeconds("__:_5:9_"), 5 * 60 + 90);
    EXPECT_EQ(MaskedTimeToSeconds("12"), 12 * 3600); // short text: the rest is blank
}

TEST_F(TrimBarTest, AnInvalidTypedTimeTurnsRedAndIsPutBackOnLeaving) {
    clipOf(7200);
    bar.EditStart("01:70:00");
    EXPECT_EQ(bar.StartField().Colour, FieldColour::Red);
    bar.LeaveStart();
    EXPECT_EQ(bar.StartField().Text, "00:00:00");
    EXPECT_EQ(bar.StartField().Colour, FieldColour::Normal);
    EXPECT_EQ(clip.StartTime, 0);

    bar.EditEnd("02:00:01"); // past the duration
    EXPECT_EQ(bar.EndField().Colour, FieldColour::Red);
    bar.EditEnd("01:00:00");
    EXPECT_EQ(bar.EndField().Colour, FieldColour::Normal);
    bar.LeaveEnd();
    EXPECT_EQ(clip.EndTime, 3600);
    EXPECT_EQ(bar.RightHandleLeft(), 83); // 0.5 * 146 + 10 + 0.5

    bar.EditStart("01:00:01"); // after the end
    EXPECT_EQ(bar.StartField().Colour, FieldColour::Red);
    bar.EditStart("00:30:00");
    bar.LeaveStart();
    EXPECT_EQ(clip.StartTime, 1800);
    EXPECT_EQ(bar.LeftHandleLeft(), 37);
    bar.EditEnd("00:29:59"); // before the start
    EXPECT_EQ(bar.EndField().Colour, FieldColour::Red);
    EXPECT_EQ(events.refreshes, 6);
    EXPECT_TRUE(events.frames.empty());
}

TEST_F(TrimBarTest, TypingWithoutAClipEmptiesTheField) {
    bar.EditStart("00:00:05");
    EXPECT_EQ(bar.StartField().Colour, FieldColour::Normal);
    bar.LeaveStart();
    EXPECT_EQ(bar.StartField().Text, EmptyTimeText);
}

} // namespace
} // namespace quilo
