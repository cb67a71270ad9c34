#include "skin/skin_region.h"

namespace quilo {
namespace {

bool isKey(const QImage& picture, int x, int y, QRgb key) {
    return (picture.pixel(x, y) & RGB_MASK) == (key & RGB_MASK);
}

// Rows from `first` towards `last` (step ±1) while the edge pixel is the key colour.
void cutCorner(const QImage& picture, QRgb key, bool fromLeft, bool fromTop, QRegion& cut) {
    const int width = picture.width(), height = picture.height();
    const int edge = fromLeft ? 0 : width - 1;
    for (int row = 0; row < height; ++row) {
        const int y = fromTop ? row : height - 1 - row;
        if (!isKey(picture, edge, y, key))
            break;
        int run = 0;
        while (run < width && isKey(picture, fromLeft ? run : width - 1 - run, y, key))
            ++run;
        cut += QRect(fromLeft ? 0 : width - run, y, run, 1);
    }
}

} // namespace

QRegion MakeSkinRegion(const QImage& picture, QRgb key) {
    QRegion cut;
    if (picture.isNull())
        return cut;
    if (key == 0)
        key = picture.pixel(0, 0);
    cutCorner(picture, key, true, true, cut);
    cutCorner(picture, key, true, false, cut);
    cutCorner(picture, key, false, false, cut);
    cutCorner(picture, key, false, true, cut);
    return cut;
}

QRegion SkinWindowShape(const QImage& picture, QRgb key) {
    return QRegion(picture.rect()).subtracted(MakeSkinRegion(picture, key));
}

} // namespace quilo
