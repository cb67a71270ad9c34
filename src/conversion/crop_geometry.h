// The crop dialog's geometry without the window: the preview panel, the crop
// rectangle in panel pixels with its eight handles, and the four number
// fields in source pixels that follow it (and that it follows).
#pragma once

#include "media/clip_record.h"

namespace quilo {

struct CropRect {
    int X = 0, Y = 0, W = 0, H = 0;
    bool operator==(const CropRect&) const = default;
};

struct PanelRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool operator==(const PanelRect&) const = default;
};

enum class CropHandle { TL, Top, TR, Left, Right, BL, Bottom, BR };
enum class CropField { W, H, X, Y };

// The display ratio of a clip: its aspect code's when that is in use, else
// the picture's own width / height.
double CropDisplayRatio(const TVideoInfo& clip);

class CropGeometry {
public:
    static constexpr int AreaWidth = 400;
    static constexpr int AreaHeight = 300;
    static constexpr int MinimumSide = 40;
    static constexpr int HandleSize = 10;

    CropGeometry() = default;
    // Fills the state for a clip and places the rectangle from its crop.
    void Open(const TVideoInfo& clip);

    int SourceWidth() const { return sourceWidth_; }
    int SourceHeight() const { return sourceHeight_; }
    double DisplayRatio() const { return ratio_; }
    double VerticalFactor() const { return verticalFactor_; }
    int GrabWidth() const { return grabWidth_; }
    int GrabHeight() const { return grabHeight_; }
    double Scale() const { return scale_; }
    // The preview panel inside the 400 x 300 area.
    const PanelRect& Panel() const { return panel_; }

    const PanelRect& Rectangle() const { return rect_; }
    const CropRect& Fields() const { return fields_; }
    // Where a handle's 10 x 10 picture sits on the panel.
    PanelRect HandlePlace(CropHandle handle) const;

    bool KeepAspect = false;

    // Places the rectangle from source values; the fields follow it.
    void PlaceFromSource(const CropRect& source);
    // Shows a crop in the fields exactly and places the rectangle from it.
    void ShowCrop(const CropRect& source);

    // Left button on the rectangle or on a handle, then moves of the cursor.
    void Press(int x, int y);
    void DragRectangle(int x, int y);
    // False when the move is refused and nothing changed.
    bool DragHandle(CropHandle handle, int x, int y);

    // A number typed into a field: only that field is limited.
    void EditField(CropField field, int value);
    // The whole frame.
    void Restore();

private:
    void refresh();

    int sourceWidth_ = 0, sourceHeight_ = 0;
    double ratio_ = 1, verticalFactor_ = 1, scale_ = 1;
    int grabWidth_ = 0, grabHeight_ = 0;
    PanelRect panel_;
    PanelRect rect_;
    CropRect fields_;
    bool applyingFields_ = false;
    int pressX_ = 0, pressY_ = 0;
    PanelRect pressRect_;
};

} // namespace quilo
