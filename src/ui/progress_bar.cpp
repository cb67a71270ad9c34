#include "ui/progress_bar.h"

#include "skin/skin_pictures.h"

#include <QPainter>
#include <algorithm>

namespace quilo {

ProgressBar::ProgressBar(int fullWidth, QWidget* parent) : QWidget(parent) {
    setFixedSize(fullWidth, 12);
}

void ProgressBar::setFilled(int pixels) {
    filled_ = std::clamp(pixels, 0, width());
    update();
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x0d, 0x11, 0x17));
    painter.fillRect(QRect(0, 0, filled_, height()), skin::Accent);
}

} // namespace quilo
