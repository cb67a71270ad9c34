#include "media/trim_bar.h"

#include "shell/text_format.h"

#include <algorithm>

namespace quilo {

int MaskedTimeToSeconds(const std::string& text) {
    const auto twoDigits = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = at; i < at + 2; ++i) {
            const char c = i < text.size() ? text[i] : ' ';
            value = value * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
        }
        return value;
    };
    return twoDigits(0) * 3600 + twoDigits(3) * 60 + twoDigits(6);
}

void TrimBar::SetClip(TVideoInfo* clip) {
    clip_ = clip;
    dragging_ = false;
    start_ = {};
    end_ = {};
    if (clip_) {
        start_.Text = SecondsToText(clip_->StartTime);
        end_.Text = SecondsToText(clip_->EndTime);
    }
    PlaceHandles();
}

void TrimBar::PlaceHandles() {
    // A clip without a length gives no fraction: the handles rest at the ends.
    if (!clip_ || clip_->Duration <= 0) {
        left_ = 0;
        right_ = TrackLength + HandleWidth;
        enabled_ = false;
        return;
    }
    const double a = static_cast<double>(clip_->StartTime) / clip_->Duration;
    const double b = static_cast<double>(clip_->EndTime) / clip_->Duration;
    left_ = std::clamp(static_cast<int>(a * TrackLength + 0.5), 0, TrackLength);
    right_ = std::clamp(static_cast<int>(b * TrackLength + HandleWidth + 0.5), HandleWidth,
                        TrackLength + HandleWidth);
    enabled_ = true;
}

int TrimBar::timeOf(double fraction) const {
    return clip_ ? static_cast<int>(clip_->Duration * fraction) : 0;
}

int TrimBar::StartFromHandles() const {
    return timeOf(static_cast<double>(left_) / TrackLength);
}

int TrimBar::EndFromHandles() const {
    return timeOf(static_cast<double>(right_ - HandleWidth) / TrackLength);
}

void TrimBar::showTimes(bool start, bool end, FieldColour colour) {
    if (start) {
        start_.Text = SecondsToText(StartFromHandles());
        start_.Colour = colour;
    }
    if (end) {
        end_.Text = SecondsToText(EndFromHandles());
        end_.Colour = colour;
    }
}

void TrimBar::Press(TrimItem item, int x) {
    if (!enabled_ || !clip_)
        return;
    dragging_ = true;
    dragged_ = item;
    pressX_ = x;
    pressLeft_ = item == TrimItem::LeftHandle    ? left_
                 : item == TrimItem::RightHandle ? right_
                                                 : StretchLeft();
    if (item == TrimItem::Stretch) {
        start_.Colour = FieldColour::Lime;
        end_.Colour = FieldColour::Lime;
    }
}

void TrimBar::Move(int x) {
    if (!dragging_)
        return;
    const int wanted = pressLeft_ + (x - pressX_);
    switch (dragged_) {
    case TrimItem::LeftHandle:
        left_ = std::clamp(wanted, 0, std::max(0, right_ - HandleWidth));
        showTimes(true, false, FieldColour::Lime);
        break;
    case TrimItem::RightHandle:
        right_ = std::clamp(wanted, left_ + HandleWidth, TrackLength + HandleWidth);
        showTimes(false, true, FieldColour::Lime);
        break;
    case TrimItem::Stretch: {
        const int width = StretchWidth();
        const int p = std::clamp(wanted, HandleWidth, TrackLength + HandleWidth - width);
        left_ = p - HandleWidth;
        right_ = p + width;
        showTimes(true, true, FieldColour::Lime);
        break;
    }
    }
}

void TrimBar::Release() {
    if (!dragging_)
        return;
    dragging_ = false;
    const bool start = dragged_ != TrimItem::RightHandle;
    const bool end = dragged_ != TrimItem::LeftHandle;
    const int startTime = StartFromHandles();
    const int endTime = EndFromHandles();
    events_.showSeeking();
    if (start)
        clip_->SetStartTime(startTime);
    if (end)
        clip_->SetEndTime(endTime);
    showTimes(start, end, FieldColour::Normal);
    events_.requestFrame(start ? startTime : endTime);
    events_.refreshOutputNames();
}

void TrimBar::EditStart(const std::string& text) {
    start_.Text = text;
    if (clip_) {
        const int seconds = MaskedTimeToSeconds(text);
        start_.Colour = seconds < 0 || seconds > clip_->EndTime ? FieldColour::Red : FieldColour::Normal;
    }
    events_.refreshOutputNames();
}

void TrimBar::EditEnd(const std::string& text) {
    end_.Text = text;
    if (clip_) {
        const int seconds = MaskedTimeToSeconds(text);
        end_.Colour =
            seconds > clip_->Duration || seconds < clip_->StartTime ? FieldColour::Red : FieldColour::Normal;
    }
    events_.refreshOutputNames();
}

void TrimBar::LeaveStart() {
    leave(start_, true);
}
void TrimBar::LeaveEnd() {
    leave(end_, false);
}

void TrimBar::leave(TimeField& field, bool isStart) {
    if (!clip_) {
        field = {};
        return;
    }
    if (field.Colour == FieldColour::Red) {
        field.Text = SecondsToText(isStart ? clip_->StartTime : clip_->EndTime);
        field.Colour = FieldColour::Normal;
        return;
    }
    const int seconds = MaskedTimeToSeconds(field.Text);
    if (isStart)
        clip_->SetStartTime(seconds);
    else
        clip_->SetEndTime(seconds);
    field.Colour = FieldColour::Normal;
    PlaceHandles();
}

} // namespace quilo
