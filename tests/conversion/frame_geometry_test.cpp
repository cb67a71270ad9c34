#include "conversion/frame_geometry.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

std::string fit(int w0, int h0, float ratio, int sw, int sh) {
    const PictureSize picture = letterBoxFit(w0, h0, ratio, sw, sh);
    return sizeText(picture.width, picture.height);
}

TEST(ConversionLetterBox, FitsSourcesIntoDvdFrames) {
    EXPECT_EQ(fit(720, 480, 16.0f / 9.0f, 640, 480), "626:480");   // 4:3 source pillar-boxed in 16:9
    EXPECT_EQ(fit(720, 480, 16.0f / 9.0f, 1920, 1080), "720:480"); // 16:9 fills 16:9
    EXPECT_EQ(fit(720, 480, 4.0f / 3.0f, 853, 480), "720:396");    // 16:9 letter-boxed in 4:3
    EXPECT_EQ(fit(720, 576, 4.0f / 3.0f, 640, 480), "720:576");    // 4:3 fills 4:3
}

TEST(ConversionLetterBox, DegenerateSizesKeepTheFrame) {
    EXPECT_EQ(fit(720, 480, 4.0f / 3.0f, 0, 480), "720:480");
    EXPECT_EQ(fit(720, 480, 0.0f, 640, 480), "720:480");
    EXPECT_EQ(fit(720, 480, 16.0f / 9.0f, 4000, 2), "720:480");
    // Slivers: the borders never take the whole frame.
    EXPECT_EQ(fit(720, 480, 16.0f / 9.0f, 8, 4096), "16:480");
    EXPECT_EQ(fit(720, 576, 16.0f / 9.0f, 8, 4096), "16:576");
    EXPECT_EQ(fit(720, 480, 16.0f / 9.0f, 4096, 8), "720:16");
}

TEST(ConversionFrameGeometry, RoundsUpToMultiplesOfFour) {
    EXPECT_EQ(up4(480), 480);
    EXPECT_EQ(up4(481), 484);
    EXPECT_EQ(up4(483), 484);
    EXPECT_EQ(up4(0), 0);
}

TEST(ConversionFrameRateName, NamesCommonRatesAndFormatsTheRest) {
    EXPECT_EQ(frameRateName(29.970f), "30000/1001");
    EXPECT_EQ(frameRateName(29.97002997f), "30000/1001");
    EXPECT_EQ(frameRateName(23.976f), "24000/1001");
    EXPECT_EQ(frameRateName(25.0f), "25/1");
    EXPECT_EQ(frameRateName(12.5f), "12.500");
    EXPECT_EQ(frameRateName(59.94f), "59.940"); // more than 0.05 from 60
    // Exact rates keep their own name rather than the NTSC neighbour a few hundredths away.
    EXPECT_EQ(frameRateName(30.0f), "30/1");
    EXPECT_EQ(frameRateName(24.0f), "24/1");
}

TEST(ConversionFrameRateName, PlausibleRange) {
    EXPECT_FALSE(isPlausibleFrameRate(0.0f));
    EXPECT_FALSE(isPlausibleFrameRate(200.0f));
    EXPECT_TRUE(isPlausibleFrameRate(150.0f));
    EXPECT_TRUE(isPlausibleFrameRate(0.001f));
}

} // namespace
} // namespace quilo
