#include "conversion/crop_geometry.h"

#include <algorithm>

namespace quilo {

double CropDisplayRatio(const TVideoInfo& clip) {
    const double own = clip.Height > 0 ? static_cast<double>(clip.Width) / clip.Height : 1.0;
    if (!clip.UseAspectCode)
        return clip.PixelAspect > 0 ? clip.PixelAspect : own;
    switch (clip.AspectCode) {
    case Aspect::Ratio4x3:
        return 4.0 / 3.0;
    case Aspect::Ratio16x9:
        return 16.0 / 9.0;
    case Aspect::Ratio1x1:
        return 1.0;
    case Aspect::Ratio221x1:
        return 2.21;
    default:
        return own; // a ratio of 0 would divide by zero below
    }
}

void CropGeometry::Open(const TVideoInfo& clip) {
    sourceWidth_ = std::max(1, clip.Width);
    sourceHeight_ = std::max(1, clip.Height);
    ratio_ = CropDisplayRatio(clip);
    verticalFactor_ = clip.UseAspectCode ? (sourceWidth_ / ratio_) / sourceHeight_ : 1.0;
    grabWidth_ = sourceWidth_;
    grabHeight_ = static_cast<int>(sourceWidth_ / ratio_);
    grabHeight_ = (grabHeight_ + 3) / 4 * 4;

    if (ratio_ > 4.0 / 3.0) {
        panel_.Width = AreaWidth;
        panel_.Height = 2 * static_cast<int>(200 / ratio_ + 0.5);
        panel_.Left = 0;
        panel_.Top = (AreaHeight - panel_.Height) / 2;
    } else {
        panel_.Height = AreaHeight;
        panel_.Width = 2 * static_cast<int>(ratio_ * 150 + 0.5);
        panel_.Top = 0;
        panel_.Left = (AreaWidth - panel_.Width) / 2;
    }
    scale_ = static_cast<double>(panel_.Width) / sourceWidth_;
    KeepAspect = false;
    // The fields show the clip's crop as it is: read back from the rounded
    // rectangle it would drift, and OK would store the drift.
    ShowCrop({clip.CropX, clip.CropY, clip.CropW, clip.CropH});
}

void CropGeometry::PlaceFromSource(const CropRect& s) {
    rect_.Left = static_cast<int>(s.X * scale_);
    rect_.Top = static_cast<int>(s.Y * scale_ * verticalFactor_);
    rect_.Width = static_cast<int>(panel_.Width - (sourceWidth_ - s.W) * scale_);
    rect_.Height = static_cast<int>(panel_.Height - (sourceHeight_ - s.H) * scale_ * verticalFactor_);
    refresh();
}

void CropGeometry::ShowCrop(const CropRect& source) {
    applyingFields_ = true;
    PlaceFromSource(source);
    applyingFields_ = false;
    fields_ = source;
}

void CropGeometry::refresh() {
    if (applyingFields_)
        return;
    const float x = static_cast<float>(rect_.Left / scale_);
    const float y = static_cast<float>(rect_.Top / scale_ / verticalFactor_);
    const float h = static_cast<float>(
        sourceHeight_ - (panel_.Height - rect_.Height - rect_.Top) / scale_ / verticalFactor_ - y);
    const float w = static_cast<float>(sourceWidth_ - (panel_.Width - rect_.Width - rect_.Left) / scale_ - x);
    fields_ = {static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h)};
}

PanelRect CropGeometry::HandlePlace(CropHandle handle) const {
    const int centreX = rect_.Left + rect_.Width / 2 - HandleSize / 2;
    const int centreY = rect_.Top + rect_.Height / 2 - HandleSize / 2;
    const int right = rect_.Right() - HandleSize;
    const int bottom = rect_.Bottom() - HandleSize;
    int left = rect_.Left, top = rect_.Top;
    switch (handle) {
    case CropHandle::TL:
        break;
    case CropHandle::Top:
        left = centreX;
        break;
    case CropHandle::TR:
        left = right;
        break;
    case CropHandle::Left:
        top = centreY;
        break;
    case CropHandle::Right:
        left = right, top = centreY;
        break;
    case CropHandle::BL:
        top = bottom;
        break;
    case CropHandle::Bottom:
        left = centreX, top = bottom;
        break;
    case CropHandle::BR:
        left = right, top = bottom;
        break;
    }
    return {left, top, HandleSize, HandleSize};
}

void CropGeometry::Press(int x, int y) {
    pressX_ = x;
    pressY_ = y;
    pressRect_ = rect_;
}

void CropGeometry::DragRectangle(int x, int y) {
    rect_.Left = std::clamp(pressRect_.Left + x - pressX_, 0, std::max(0, panel_.Width - rect_.Width));
    rect_.Top = std::clamp(pressRect_.Top + y - pressY_, 0, std::max(0, panel_.Height - rect_.Height));
    refresh();
}

bool CropGeometry::DragHandle(CropHandle handle, int x, int y) {
    const int dx = x - pressX_, dy = y - pressY_;
    const bool leftSide = handle == CropHandle::TL || handle == CropHandle::Left || handle == CropHandle::BL;
    const bool topSide = handle == CropHandle::TL || handle == CropHandle::Top || handle == CropHandle::TR;
    const bool rightSide =
        handle == CropHandle::TR || handle == CropHandle::Right || handle == CropHandle::BR;
    const bool bottomSide =
        handle == CropHandle::BL || handle == CropHandle::Bottom || handle == CropHandle::BR;
    PanelRect r = pressRect_;
    if (leftSide) {
        r.Left = pressRect_.Left + dx;
        r.Width = pressRect_.Width - dx;
    }
    if (topSide) {
        r.Top = pressRect_.Top + dy;
        r.Height = pressRect_.Height - dy;
    }
    if (rightSide)
        r.Width = pressRect_.Width + dx;
    if (bottomSide)
        r.Height = pressRect_.Height + dy;

    if (KeepAspect) {
        const int hw = static_cast<int>(r.Width / ratio_);
        const int wh = static_cast<int>(r.Height * ratio_);
        switch (handle) {
        case CropHandle::TL:
        case CropHandle::TR:
            r.Top += r.Height - hw, r.Height = hw;
            break;
        case CropHandle::Top:
        case CropHandle::Bottom:
            r.Left += (r.Width - wh) / 2, r.Width = wh;
            break;
        case CropHandle::Left:
        case CropHandle::Right:
            r.Top += (r.Height - hw) / 2, r.Height = hw;
            break;
        case CropHandle::BL:
        case CropHandle::BR:
            r.Height = hw;
            break;
        }
        if (r.Left < 0 || r.Top < 0 || r.Right() > panel_.Width || r.Bottom() > panel_.Height)
            return false;
    } else {
        // Past the left or top edge the handle stops there; the opposite
        // edge stays where it was.
        if (r.Left < 0) {
            r.Width += r.Left;
            r.Left = 0;
        }
        if (r.Top < 0) {
            r.Height += r.Top;
            r.Top = 0;
        }
        r.Width = std::min(r.Width, panel_.Width - r.Left);
        r.Height = std::min(r.Height, panel_.Height - r.Top);
    }
    if (r.Width < MinimumSide || r.Height < MinimumSide)
        return false;
    rect_ = r;
    refresh();
    return true;
}

void CropGeometry::EditField(CropField field, int value) {
    CropRect f = fields_;
    switch (field) {
    case CropField::X:
        f.X = std::clamp(value, 0, std::max(0, sourceWidth_ - f.W));
        break;
    case CropField::Y:
        f.Y = std::clamp(value, 0, std::max(0, sourceHeight_ - f.H));
        break;
    case CropField::W:
        f.W = std::clamp(value, 0, std::max(0, sourceWidth_ - f.X));
        break;
    case CropField::H:
        f.H = std::clamp(value, 0, std::max(0, sourceHeight_ - f.Y));
        break;
    }
    ShowCrop(f);
}

void CropGeometry::Restore() {
    PlaceFromSource({0, 0, sourceWidth_, sourceHeight_});
}

} // namespace quilo
