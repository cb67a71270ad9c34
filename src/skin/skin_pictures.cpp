#include "skin/skin_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quilo::skin {
namespace {

constexpr qreal CornerRadius = 14;

// A rounded card on the key colour, filled with a dark vertical gradient.
QImage roundedCard(QSize size, QColor top, QColor bottom) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(KeyColour);
    QPainter painter(&picture);
    // No smoothing at the outline: a blended edge pixel would be neither key nor window.
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), CornerRadius, CornerRadius);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.fillPath(outline, fill);
    return picture;
}

} // namespace

QImage MainWindowBackground() {
    QImage picture = roundedCard({860, 635}, QColor(0x26, 0x30, 0x3f), QColor(0x14, 0x19, 0x22));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Title band with an accent line under it.
    painter.fillRect(QRect(14, 44, 832, 2), Accent);
    // Category row, target row and the clip area as soft panels.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Panel);
    painter.drawRoundedRect(QRectF(14, 58, 832, 44), 8, 8);
    painter.drawRoundedRect(QRectF(14, 110, 832, 52), 8, 8);
    painter.drawRoundedRect(QRectF(14, 172, 520, 448), 8, 8);
    painter.drawRoundedRect(QRectF(544, 172, 302, 448), 8, 8);
    return picture;
}

QImage SplashPicture(const QString& productName, const QString& version) {
    QImage picture = roundedCard({400, 220}, QColor(0x2a, 0x3a, 0x52), QColor(0x12, 0x18, 0x22));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // A play mark turning into a film strip: the product's sign.
    QPainterPath mark;
    mark.moveTo(40, 70);
    mark.lineTo(88, 100);
    mark.lineTo(40, 130);
    mark.closeSubpath();
    painter.fillPath(mark, Accent);
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRectF(98 + i * 14, 88, 8, 24), Accent.lighter(110 + i * 15));
    painter.setPen(Ink);
    QFont title = painter.font();
    title.setPixelSize(24);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(40, 140, 340, 34), Qt::AlignLeft | Qt::AlignVCenter, productName);
    QFont small = painter.font();
    small.setPixelSize(13);
    small.setBold(false);
    painter.setFont(small);
    painter.setPen(Ink.darker(130));
    painter.drawText(QRect(40, 176, 340, 20), Qt::AlignLeft | Qt::AlignVCenter, "Version " + version);
    return picture;
}

} // namespace quilo::skin
