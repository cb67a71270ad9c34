// Frame-size, letter-box and frame-rate arithmetic of a conversion.
#pragma once

#include <string>

namespace quilo {

// x when it is a multiple of 4, else the next multiple of 4 above it.
int up4(int x);
// Display-aspect ratio of a clip's aspect code (0 4:3, 1 16:9, 2 1:1, 3 2.21:1, 4 none).
float aspectRatioOfCode(int aspectCode);
std::string sizeText(int width, int height);

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The narrowest picture side a letter box leaves.
inline constexpr int MinimumPictureSide = 16;

// The picture inside a W0 x H0 frame of display ratio R that keeps a source of
// display size SW x SH undistorted, leaving room for black borders.
PictureSize letterBoxFit(int frameWidth, int frameHeight, float displayRatio, int sourceWidth,
                         int sourceHeight);

// The engine's name for a frame rate: a rational for the common rates, else three decimals.
std::string frameRateName(float rate);
// True when the rate is one the engine can be given (0.001 ... 150).
bool isPlausibleFrameRate(float rate);

} // namespace quilo
