#include "skin/program_icon.h"

#include "skin/skin_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quilo::skin {

QImage ProgramIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Drawn on a 64-unit square and scaled: one drawing for every size.
    painter.scale(size / 64.0, size / 64.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Panel);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The film frame, with its sprocket holes along the top and bottom edges.
    const QRectF frame(9, 14, 46, 36);
    painter.setBrush(Ink);
    painter.drawRoundedRect(frame, 4, 4);
    painter.setBrush(Panel);
    for (int hole = 0; hole < 5; ++hole) {
        painter.drawRect(QRectF(13 + hole * 8.5, 16.5, 4.5, 3.5));
        painter.drawRect(QRectF(13 + hole * 8.5, 44, 4.5, 3.5));
    }
    painter.drawRect(QRectF(12, 22, 40, 20));

    // The play mark: what goes in plays again, somewhere else.
    QPainterPath play;
    play.moveTo(27, 24.5);
    play.lineTo(40, 32);
    play.lineTo(27, 39.5);
    play.closeSubpath();
    painter.setBrush(Accent);
    painter.drawPath(play);
    return icon;
}

QIcon ProgramIcons() {
    QIcon icons;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icons.addPixmap(QPixmap::fromImage(ProgramIcon(size)));
    return icons;
}

} // namespace quilo::skin
