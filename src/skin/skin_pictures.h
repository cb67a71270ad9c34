// The skin's pictures. Corners outside a window's rounded outline carry the
// key colour, which the window's shape cuts away.
#pragma once

#include "skin/skin_palette.h"

#include <QImage>

namespace quilo::skin {

inline const QColor KeyColour{255, 0, 255};
inline const QColor& Panel = WindowGround;

// 860 x 635: a title band, the button rows and the clip area.
QImage MainWindowBackground();
// 400 x 220, the start-up picture.
QImage SplashPicture(const QString& productName, const QString& version);

} // namespace quilo::skin
