// The shape of a skinned window: the corners of its background picture that
// carry the key colour are cut away.
#pragma once

#include <QImage>
#include <QRegion>
#include <QRgb>

namespace quilo {

// The cut pixels: from each corner, row by row while the row's edge pixel has
// the key colour, the run of key-coloured pixels from that edge. A key of 0
// means the colour of the top-left pixel. Key pixels inside the picture stay.
QRegion MakeSkinRegion(const QImage& picture, QRgb key = 0);

// The window's shape: the picture's rectangle without the cut pixels.
QRegion SkinWindowShape(const QImage& picture, QRgb key = 0);

} // namespace quilo
