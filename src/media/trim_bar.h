// The trim bar under the preview without the window: two handles and the bar
// between them, the typed start and end fields, and the clip's trim times.
#pragma once

#include "media/clip_record.h"

#include <string>

namespace quilo {

// What a finished drag or a typed time asks of the rest of the main window.
class TrimBarEvents {
public:
    virtual ~TrimBarEvents() = default;
    virtual void showSeeking() {} // snapshot and trim bar off, label on
    virtual void requestFrame(int /*seconds*/) {}
    virtual void refreshOutputNames() {}
};

enum class FieldColour { Normal, Lime, Red };
enum class TrimItem { LeftHandle, RightHandle, Stretch };

inline constexpr const char* EmptyTimeText = "  :  :  ";

struct TimeField {
    std::string Text = EmptyTimeText;
    FieldColour Colour = FieldColour::Normal;
};

// Seconds of a masked "hh:mm:ss" field; a blank or missing digit counts as 0.
// Minutes and seconds are not limited to 59, as the mask lets them be typed.
int MaskedTimeToSeconds(const std::string& text);

class TrimBar {
public:
    static constexpr int TrackEnd = 156;
    static constexpr int HandleWidth = 10;
    static constexpr int TrackLength = TrackEnd - HandleWidth; // 146

    explicit TrimBar(TrimBarEvents& events) : events_(events) {}

    // The current clip (or none): handles and fields follow its trim times.
    void SetClip(TVideoInfo* clip);
    TVideoInfo* Clip() const { return clip_; }
    void PlaceHandles();

    int LeftHandleLeft() const { return left_; }
    int RightHandleLeft() const { return right_; }
    bool HandlesEnabled() const { return enabled_; }
    int StretchLeft() const { return left_ + HandleWidth; }
    int StretchWidth() const { return right_ - (left_ + HandleWidth); }

    // Times of the handle positions, in whole seconds of the clip.
    int StartFromHandles() const;
    int EndFromHandles() const;

    // Left mouse button on a handle or on the bar; x is the cursor in pixels.
    void Press(TrimItem item, int x);
    void Move(int x);
    void Release();
    bool Dragging() const { return dragging_; }

    const TimeField& StartField() const { return start_; }
    const TimeField& EndField() const { return end_; }
    // The user typed into a field (the whole masked text).
    void EditStart(const std::string& text);
    void EditEnd(const std::string& text);
    void LeaveStart();
    void LeaveEnd();

private:
    int timeOf(double fraction) const;
    void showTimes(bool start, bool end, FieldColour colour);
    void leave(TimeField& field, bool isStart);

    TrimBarEvents& events_;
    TVideoInfo* clip_ = nullptr;
    int left_ = 0;
    int right_ = TrackEnd;
    bool enabled_ = false;
    TimeField start_, end_;
    bool dragging_ = false;
    TrimItem dragged_ = TrimItem::LeftHandle;
    int pressX_ = 0;
    int pressLeft_ = 0;
};

} // namespace quilo
