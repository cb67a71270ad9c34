// The progress window's background: a rounded card whose corners carry the
// skin's key colour, so the window is shaped like the main window.
#pragma once

#include <QImage>

namespace quilo {

inline constexpr int ProgressPictureWidth = 470;
inline constexpr int ProgressPictureHeight = 388;

QImage ProgressWindowBackground();

} // namespace quilo
