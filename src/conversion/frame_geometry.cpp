#include "conversion/frame_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quilo {

int up4(int x) {
    return x % 4 == 0 ? x : x - x % 4 + 4;
}

float aspectRatioOfCode(int aspectCode) {
    switch (aspectCode) {
    case 0:
        return 4.0f / 3.0f;
    case 1:
        return 16.0f / 9.0f;
    case 2:
        return 1.0f;
    case 3:
        return 2.21f;
    default:
        return 0.0f;
    }
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + ":" + std::to_string(height);
}

PictureSize letterBoxFit(int W0, int H0, float R, int SW, int SH) {
    if (W0 <= 0 || H0 <= 0 || SW <= 0 || SH <= 0 || !(R > 0.0f))
        return {W0, H0};
    const float fa = static_cast<float>(W0) / static_cast<float>(H0);
    const float sa = static_cast<float>(SW) / static_cast<float>(SH);

    int padV = 0, padH = 0;
    const bool wide = sa > fa;
    if (wide)
        padV = H0 - SH * W0 / SW;
    else
        padH = W0 - SW * H0 / SH;

    if (fa > R) {
        if (wide) {
            const int M = static_cast<int>(static_cast<float>(W0) / R);
            padV =
                static_cast<int>(static_cast<float>(M) / static_cast<float>(H0) * static_cast<float>(padV));
        } else {
            const int M = static_cast<int>(R * static_cast<float>(H0));
            padV += H0 - H0 * M / W0;
        }
    } else {
        if (wide) {
            const int M = static_cast<int>(static_cast<float>(W0) / R);
            padH += W0 - W0 * M / H0;
        } else {
            const int M = static_cast<int>(R * static_cast<float>(H0));
            padH =
                static_cast<int>(static_cast<float>(M) / static_cast<float>(W0) * static_cast<float>(padH));
        }
    }

    int sideH, sideV;
    if (padH != 0 && padV != 0) {
        const int pw = W0 - padH, ph = H0 - padV;
        if (pw <= 0 || ph <= 0)
            return {W0, H0};
        const double a0 = static_cast<double>(W0) / pw, a1 = static_cast<double>(H0) / ph;
        if (a0 >= a1) {
            sideV = 0;
            sideH = static_cast<int>((W0 - pw * a1) * 0.5);
        } else {
            sideH = 0;
            sideV = static_cast<int>((H0 - ph * a0) * 0.5);
        }
    } else {
        sideV = padV / 2;
        sideH = padH / 2;
    }
    sideH = std::max(sideH, 0);
    sideV = std::max(sideV, 0);
    // A sliver of a source (8 x 4096, say) would leave borders wider than the
    // frame; the picture keeps a side the scaler can make.
    const int width = std::clamp(W0 - 2 * sideH, std::min(MinimumPictureSide, W0), W0);
    const int height = std::clamp(up4(H0 - 2 * sideV), std::min(MinimumPictureSide, H0), H0);
    return {width, height};
}

bool isPlausibleFrameRate(float rate) {
    return rate >= 0.001f && rate <= 150.0f;
}

std::string frameRateName(float rate) {
    struct Named {
        float reference;
        const char* name;
    };
    static const Named table[] = {{29.97f, "30000/1001"}, {23.97f, "24000/1001"}, {25.0f, "25/1"},
                                  {30.0f, "30/1"},        {24.0f, "24/1"},        {15.0f, "15/1"},
                                  {60.0f, "60/1"},        {50.0f, "50/1"},        {20.0f, "20/1"}};
    // The nearest entry within 0.05, so that 30 and 24 keep their exact rates
    // instead of being taken for 29.97 and 23.97.
    const Named* best = nullptr;
    float bestDistance = 0.05f;
    for (const Named& entry : table) {
        const float distance = std::fabs(entry.reference - rate);
        if (distance < bestDistance) {
            best = &entry;
            bestDistance = distance;
        }
    }
    if (best)
        return best->name;
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(rate));
    return text;
}

} // namespace quilo
