// The crop dialog's rectangle and fields, and border detection on pictures
// made here pixel by pixel.
#include "conversion/crop_borders.h"
#include "conversion/crop_geometry.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

void sourceOf(TVideoInfo& clip, int width, int height) {
    clip.Width = width;
    clip.Height = height;
    clip.PixelAspect = static_cast<double>(width) / height;
    clip.CropX = 0;
    clip.CropY = 0;
    clip.CropW = width;
    clip.CropH = height;
}

TEST(CropGeometry, PanelSizeFollowsTheDisplayRatio) {
    TVideoInfo clip;
    sourceOf(clip, 720, 576);
    clip.UseAspectCode = true;
    clip.AspectCode = Aspect::Ratio16x9;
    CropGeometry g;
    g.Open(clip);
    EXPECT_EQ(g.Panel(), (PanelRect{0, 37, 400, 226}));
    EXPECT_NEAR(g.VerticalFactor(), 405.0 / 576, 1e-9);
    EXPECT_EQ(g.GrabHeight(), 408); // 405 raised to a multiple of 4
    EXPECT_EQ(g.Rectangle(), (PanelRect{0, 0, 400, 226}));
    EXPECT_EQ(g.Fields(), (CropRect{0, 0, 720, 576}));

    clip.AspectCode = Aspect::Ratio4x3;
    g.Open(clip);
    EXPECT_EQ(g.Panel(), (PanelRect{0, 0, 400, 300}));

    clip.UseAspectCode = false; // 1.25: narrower than 4:3
    g.Open(clip);
    EXPECT_EQ(g.Panel(), (PanelRect{12, 0, 376, 300}));

    // The "other" aspect code has no ratio of its own: the picture's is used
    // rather than a division by zero.
    clip.UseAspectCode = true;
    clip.AspectCode = Aspect::Other;
    g.Open(clip);
    EXPECT_DOUBLE_EQ(g.DisplayRatio(), 1.25);
    EXPECT_EQ(g.GrabHeight(), 576);
}

TEST(CropGeometry, FieldsAndRectangleFollowEachOther) {
    TVideoInfo clip;
    sourceOf(clip, 800, 600); // scale 0.5
    clip.CropX = 100, clip.CropY = 50, clip.CropW = 400, clip.CropH = 300;
    CropGeometry g;
    g.Open(clip);
    EXPECT_EQ(g.Rectangle(), (PanelRect{50, 25, 200, 150}));
    EXPECT_EQ(g.Fields(), (CropRect{100, 50, 400, 300}));
    EXPECT_EQ(g.HandlePlace(CropHandle::BR), (PanelRect{240, 165, 10, 10}));
    EXPECT_EQ(g.HandlePlace(CropHandle::Left), (PanelRect{50, 95, 10, 10}));

    g.EditField(CropField::X, 9999); // only the edited field is limited
    EXPECT_EQ(g.Fields(), (CropRect{400, 50, 400, 300}));
    EXPECT_EQ(g.Rectangle().Left, 200);
    g.EditField(CropField::W, 9999);
    EXPECT_EQ(g.Fields().W, 400);
    g.EditField(CropField::Y, -5);
    EXPECT_EQ(g.Fields().Y, 0);

    g.Press(0, 0);
    g.DragRectangle(-1000, 1000); // kept inside the panel
    EXPECT_EQ(g.Rectangle(), (PanelRect{0, 150, 200, 150}));
    EXPECT_EQ(g.Fields(), (CropRect{0, 300, 400, 300}));

    g.Restore();
    EXPECT_EQ(g.Fields(), (CropRect{0, 0, 800, 600}));
}

TEST(CropGeometry, HandleDragsStayInsideAndAboveTheMinimum) {
    TVideoInfo clip;
    sourceOf(clip, 800, 600);
    clip.CropX = 100, clip.CropY = 100, clip.CropW = 400, clip.CropH = 300;
    CropGeometry g;
    g.Open(clip);
    ASSERT_EQ(g.Rectangle(), (PanelRect{50, 50, 200, 150}));

    g.Press(0, 0);
    EXPECT_FALSE(g.DragHandle(CropHandle::Right, -170, 0)); // 30 wide
    EXPECT_EQ(g.Rectangle().Width, 200);
    EXPECT_TRUE(g.DragHandle(CropHandle::Right, -160, 0)); // 40 wide
    EXPECT_EQ(g.Rectangle().Width, 40);

    g.Press(0, 0);
    EXPECT_TRUE(g.DragHandle(CropHandle::BR, 1000, 1000)); // cut at the edges
    EXPECT_EQ(g.Rectangle(), (PanelRect{50, 50, 350, 250}));

    // Past the left edge the left side stops at 0 and the right side stays.
    g.Press(0, 0);
    EXPECT_TRUE(g.DragHandle(CropHandle::TL, -80, -80));
    EXPECT_EQ(g.Rectangle(), (PanelRect{0, 0, 400, 300}));

    g.EditField(CropField::W, 400);
    g.EditField(CropField::H, 300);
    g.EditField(CropField::X, 100);
    g.EditField(CropField::Y, 100);
    ASSERT_EQ(g.Rectangle(), (PanelRect{50, 50, 200, 150}));
    g.KeepAspect = true; // 4:3 on the panel
    g.Press(0, 0);
    EXPECT_TRUE(g.DragHandle(CropHandle::BR, 40, 0));
    EXPECT_EQ(g.Rectangle(), (PanelRect{50, 50, 240, 180}));
    g.Press(0, 0);
    const PanelRect before = g.Rectangle();
    EXPECT_FALSE(g.DragHandle(CropHandle::BR, 120, 0)); // would pass the bottom
    EXPECT_EQ(g.Rectangle(), before);
    EXPECT_TRUE(g.DragHandle(CropHandle::Top, 0, 30)); // centre kept
    EXPECT_EQ(g.Rectangle(), (PanelRect{70, 80, 200, 150}));
    g.Press(0, 0);
    EXPECT_TRUE(g.DragHandle(CropHandle::TL, 40, 0)); // bottom kept
    EXPECT_EQ(g.Rectangle(), (PanelRect{110, 110, 160, 120}));
}

// A picture of `inner` colour with black borders; the inner part has a
// different colour at each quarter so the samples differ from black and
// from each other.
Bitmap24 boxed(int width, int height, int left, int top, int right, int bottom) {
    Bitmap24 frame(width, height);
    for (int y = top; y < height - bottom; ++y)
        for (int x = left; x < width - right; ++x) {
            auto* p = &frame.Pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(40 + (x * 200) / width);
            p[1] = static_cast<std::uint8_t>(40 + (y * 200) / height);
            p[2] = 90;
        }
    return frame;
}

TEST(CropBorders, CutsTheLargerBorderPair) {
    EXPECT_EQ(DetectBlackBorders(boxed(720, 480, 0, 60, 0, 60), 720, 480, 1.0), (CropRect{0, 60, 720, 360}));
    EXPECT_EQ(DetectBlackBorders(boxed(640, 480, 80, 0, 80, 0), 640, 480, 1.0), (CropRect{80, 0, 480, 480}));
    // An all-black frame: at most a 40-pixel content is left, never less.
    const CropRect black = DetectBlackBorders(Bitmap24(320, 240), 320, 240, 1.0);
    EXPECT_GE(black.W, 40);
    EXPECT_GE(black.H, 40);
    EXPECT_GE(black.X, 0);
    EXPECT_GE(black.Y, 0);
    EXPECT_LE(black.X + black.W, 320);
    EXPECT_LE(black.Y + black.H, 240);
    // Borders deeper than 126 rows are not chased further.
    EXPECT_EQ(DetectBlackBorders(boxed(400, 400, 0, 150, 0, 0), 400, 400, 1.0).Y, 127);
}

} // namespace
} // namespace quilo
