#include "ui/progress_picture.h"

#include "skin/skin_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quilo {

QImage ProgressWindowBackground() {
    QImage picture(ProgressPictureWidth, ProgressPictureHeight, QImage::Format_RGB32);
    picture.fill(skin::KeyColour);
    QPainter painter(&picture);
    // No smoothing at the outline: a blended edge pixel would be neither key nor window.
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, ProgressPictureWidth, ProgressPictureHeight), 14, 14);
    QLinearGradient fill(0, 0, 0, ProgressPictureHeight);
    fill.setColorAt(0, QColor(0x26, 0x30, 0x3f));
    fill.setColorAt(1, QColor(0x14, 0x19, 0x22));
    painter.fillPath(outline, fill);
    painter.fillRect(QRect(14, 40, ProgressPictureWidth - 28, 2), skin::Accent);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(skin::Panel);
    painter.drawRoundedRect(QRectF(14, 52, ProgressPictureWidth - 28, 196), 8, 8);
    return picture;
}

} // namespace quilo
