#include "ui/trim_bar_view.h"

#include "skin/skin_pictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace quilo {
namespace {

constexpr int HandleHeight = 14;
constexpr int StretchTop = 6;
constexpr int StretchHeight = 5;

} // namespace

TrimBarView::TrimBarView(PreviewPanelModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("Panel_Progress");
    setAccessibleName("Trim bar");
    setFixedSize(BarWidth, BarHeight);
    setCursor(Qt::SizeHorCursor);
}

QRect TrimBarView::handleRect(TrimItem item) const {
    const TrimBar& trim = model_.Trim();
    switch (item) {
    case TrimItem::LeftHandle:
        return {trim.LeftHandleLeft(), 1, TrimBar::HandleWidth, HandleHeight};
    case TrimItem::RightHandle:
        return {trim.RightHandleLeft(), 1, TrimBar::HandleWidth, HandleHeight};
    case TrimItem::Stretch:
        break;
    }
    return {trim.StretchLeft(), StretchTop, trim.StretchWidth(), StretchHeight};
}

std::optional<TrimItem> TrimBarView::itemAt(QPoint point) const {
    for (TrimItem item : {TrimItem::LeftHandle, TrimItem::RightHandle})
        if (handleRect(item).contains(point))
            return item;
    // The thin bar is hard to hit: its whole column counts.
    const QRect stretch = handleRect(TrimItem::Stretch);
    if (point.x() >= stretch.left() && point.x() <= stretch.right())
        return TrimItem::Stretch;
    return std::nullopt;
}

void TrimBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool enabled = model_.TrimBarEnabled();
    // The track.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x14, 0x19, 0x1f));
    painter.drawRoundedRect(QRectF(1, StretchTop - 1, BarWidth - 1, StretchHeight + 2), 3, 3);
    const QRect stretch = handleRect(TrimItem::Stretch);
    painter.setBrush(enabled ? skin::Accent : QColor(0x3a, 0x46, 0x57));
    painter.drawRect(stretch);
    for (TrimItem item : {TrimItem::LeftHandle, TrimItem::RightHandle}) {
        const QRectF handle = QRectF(handleRect(item)).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QColor(0x14, 0x19, 0x1f));
        painter.setBrush(enabled ? skin::Ink : QColor(0x6b, 0x7d, 0x93));
        painter.drawRoundedRect(handle, 2, 2);
        painter.setPen(QColor(0x6b, 0x7d, 0x93));
        painter.drawLine(QPointF(handle.center().x(), handle.top() + 3),
                         QPointF(handle.center().x(), handle.bottom() - 3));
    }
}

void TrimBarView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto item = itemAt(event->position().toPoint())) {
        model_.Press(*item, event->position().toPoint().x());
        emit dragged();
        update();
    }
}

void TrimBarView::mouseMoveEvent(QMouseEvent* event) {
    if (!model_.Trim().Dragging())
        return;
    model_.Move(event->position().toPoint().x());
    emit dragged();
    update();
}

void TrimBarView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !model_.Trim().Dragging())
        return;
    model_.Release();
    emit released();
    update();
}

} // namespace quilo
