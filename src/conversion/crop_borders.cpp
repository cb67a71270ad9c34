#include "conversion/crop_borders.h"

#include <algorithm>
#include <cstdlib>

namespace quilo {
namespace {

struct Pixel {
    int r, g, b;
};

bool differ(const Pixel& a, const Pixel& b) {
    return std::abs(a.r - b.r) > 2 || std::abs(a.g - b.g) > 2 || std::abs(a.b - b.b) > 2;
}

// Columns or rows of the frame seen the same way.
class Lines {
public:
    Lines(const Bitmap24& frame, bool columns) : frame_(frame), columns_(columns) {}

    int count() const { return columns_ ? frame_.Width : frame_.Height; }
    int across() const { return columns_ ? frame_.Height : frame_.Width; }

    Pixel at(int line, int position) const {
        const int x = columns_ ? line : position;
        const int y = columns_ ? position : line;
        const auto at = (static_cast<std::size_t>(y) * frame_.Width + x) * 3;
        return {frame_.Pixels[at], frame_.Pixels[at + 1], frame_.Pixels[at + 2]};
    }

    bool content(int line) const {
        int red = 0, green = 0, blue = 0;
        for (int i = 0; i < across(); ++i) {
            const Pixel p = at(line, i);
            red += p.r > 10;
            green += p.g > 10;
            blue += p.b > 10;
        }
        return red > 20 || green > 20 || blue > 20;
    }

private:
    const Bitmap24& frame_;
    bool columns_;
};

// Steps from one edge inwards: step k looks at line(k) and its inner
// neighbour; the result is the step at which the border ends.
template <typename LineOf> int scan(const Lines& lines, int firstStep, int stepLimit, LineOf lineOf) {
    const int n = lines.across();
    const int samples[3] = {n / 4, n / 2, n * 3 / 4};
    for (int k = firstStep;; ++k) {
        const int line = lineOf(k);
        const int inner = lineOf(k + 1);
        if (line < 0 || line >= lines.count() || inner < 0 || inner >= lines.count())
            return k;
        Pixel here[3], next[3];
        for (int s = 0; s < 3; ++s) {
            here[s] = lines.at(line, samples[s]);
            next[s] = lines.at(inner, samples[s]);
        }
        if (differ(here[0], here[1]) && differ(here[1], here[2]) && differ(here[0], here[2]))
            return k;
        if (differ(next[0], here[0]) && differ(next[1], here[1]) && differ(next[2], here[2]))
            return k + 1;
        if (k > stepLimit)
            return k;
        if (lines.content(line))
            return k;
    }
}

} // namespace

CropRect DetectBlackBorders(const Bitmap24& frame, int sourceWidth, int sourceHeight, double verticalFactor) {
    if (frame.empty() || frame.Pixels.size() < static_cast<std::size_t>(frame.Width) * frame.Height * 3)
        return {0, 0, sourceWidth, sourceHeight};
    const Lines columns(frame, true), rows(frame, false);
    const int width = frame.Width, height = frame.Height;

    const int left = scan(columns, 0, width / 2, [](int i) { return i; });
    const int j = scan(columns, 1, width / 2, [width](int k) { return width - k; });
    const int right = width - j;
    int contentWidth = right - left + 1;
    int contentLeft = left;
    if (right - left < 39) {
        contentWidth = 40;
        contentLeft = std::max(right - 39, 0);
    }

    const int t = scan(rows, 0, 126, [](int n) { return n; });
    int top = static_cast<int>(t / verticalFactor);
    const int m = scan(rows, 1, 126, [height](int k) { return height - k; });
    int contentHeight = static_cast<int>(sourceHeight - m / verticalFactor - top + 1);
    if (contentHeight < 40) {
        top = std::max(top - (40 - contentHeight), 0);
        contentHeight = 40;
    }

    if (sourceHeight - contentHeight < sourceWidth - contentWidth)
        return {contentLeft, 0, contentWidth, sourceHeight};
    return {0, top, sourceWidth, contentHeight};
}

} // namespace quilo
