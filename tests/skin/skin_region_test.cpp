// The shape of a skinned window, cut from its background picture.
#include "skin/skin_region.h"

#include <gtest/gtest.h>

using namespace quilo;

TEST(SkinShape, OnlyKeyColouredCornersAreCut) {
    const QRgb magenta = qRgb(255, 0, 255);
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(40, 60, 80));
    // A three-pixel triangle in the top-left corner and a key pixel in the middle.
    picture.setPixel(0, 0, magenta);
    picture.setPixel(1, 0, magenta);
    picture.setPixel(0, 1, magenta);
    picture.setPixel(10, 5, magenta);

    const QRegion cut = MakeSkinRegion(picture, magenta);
    int cutPixels = 0;
    for (const QRect& rect : cut)
        cutPixels += rect.width() * rect.height();
    EXPECT_EQ(cutPixels, 3);
    EXPECT_TRUE(cut.contains(QPoint(1, 0)));
    EXPECT_FALSE(cut.contains(QPoint(10, 5)));
    EXPECT_EQ(MakeSkinRegion(picture, 0), cut); // 0 takes the top-left pixel's colour

    // All four corners, and a shape that keeps the middle pixel.
    picture.setPixel(19, 9, magenta);
    picture.setPixel(0, 9, magenta);
    picture.setPixel(19, 0, magenta);
    const QRegion shape = SkinWindowShape(picture, magenta);
    for (QPoint corner : {QPoint(0, 0), QPoint(19, 9), QPoint(0, 9), QPoint(19, 0)})
        EXPECT_FALSE(shape.contains(corner));
    EXPECT_TRUE(shape.contains(QPoint(10, 5)));
    EXPECT_TRUE(MakeSkinRegion(QImage()).isEmpty());
}
