#include "ui/web_list_view.h"

#include "skin/skin_pictures.h"
#include "ui/web_list_accessible.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace quilo {
namespace {

const QColor Background{0x14, 0x19, 0x22};
const QColor RowSelected{0x2f, 0x8f, 0xe8, 110};
const QColor LinkInk{0xe8, 0xee, 0xf6};
const QColor FileInk{0xa9, 0xbb, 0xd0};
const QColor Branch{0x6b, 0x7d, 0x93};

} // namespace

WebListView::WebListView(WebLinks& links, QSize size, QWidget* parent) : QWidget(parent), links_(links) {
    // Before anything asks for the view's accessible interface.
    InstallWebListAccessibility();
    setObjectName("webList");
    setAccessibleName("Web video list");
    setFixedSize(size);
    QFont font = this->font();
    font.setPixelSize(10);
    setFont(font);
}

void WebListView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    const auto& rows = links_.Rows().Rows();
    firstRow_ = std::clamp(firstRow_, 0, std::max(0, static_cast<int>(rows.size()) - visibleRows()));
    for (int i = 0; i < visibleRows() && firstRow_ + i < static_cast<int>(rows.size()); ++i)
        paintRow(painter, rows[static_cast<size_t>(firstRow_ + i)], i * WebVideoRows::RowHeight);
    if (links_.Analysing())
        paintAnalysing(painter);
}

void WebListView::paintRow(QPainter& painter, const WebRow& row, int top) const {
    const int height = WebVideoRows::RowHeight;
    if (row.selected)
        painter.fillRect(QRect(0, top, width(), height), RowSelected);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (row.isLink) {
        // A globe for the page.
        const QRectF globe(row.iconLeft + 1, top + 3, 12, 12);
        painter.setPen(QPen(skin::Accent, 1.3));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(globe);
        painter.drawEllipse(globe.adjusted(3.5, 0, -3.5, 0));
        painter.drawLine(QPointF(globe.left(), globe.center().y()),
                         QPointF(globe.right(), globe.center().y()));
    } else {
        // The tree connector from the link, then a film frame for the file.
        painter.setPen(Branch);
        const double x = row.leadLeft + 4.5;
        painter.drawLine(QPointF(x, top),
                         QPointF(x, row.connector == WebConnector::End ? top + 9.5 : top + height));
        painter.drawLine(QPointF(x, top + 9.5), QPointF(row.iconLeft - 1, top + 9.5));
        const QRectF film(row.iconLeft, top + 4, 13, 10);
        painter.setPen(QPen(FileInk, 1.2));
        painter.drawRoundedRect(film, 2, 2);
        painter.drawLine(QPointF(film.left() + 3, film.top()), QPointF(film.left() + 3, film.bottom()));
        painter.drawLine(QPointF(film.right() - 3, film.top()), QPointF(film.right() - 3, film.bottom()));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(row.isLink ? LinkInk : FileInk);
    for (const WebCell& cell : row.cells) {
        const QRect box(cell.left, top, cell.right - cell.left, height);
        const QString text =
            painter.fontMetrics().elidedText(QString::fromStdString(cell.text), Qt::ElideMiddle, box.width());
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

// "Analyzing the video link..." over the list while a link is analysed.
void WebListView::paintAnalysing(QPainter& painter) const {
    const QRect box(width() / 2 - 174, height() / 2 - 36, 348, 71);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QColor(0x3a, 0x46, 0x57));
    painter.setBrush(skin::Panel);
    painter.drawRoundedRect(box, 8, 8);
    // A spinner-like ring stands for the loading picture.
    painter.setPen(QPen(skin::Accent, 3));
    painter.drawArc(QRect(box.left() + 24, box.top() + 20, 30, 30), 90 * 16, 270 * 16);
    painter.setPen(LinkInk);
    painter.drawText(QRect(box.left() + 72, box.top(), box.width() - 88, box.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, AnalysingLinkText);
}

void WebListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    pressRow(firstRow_ + event->position().toPoint().y() / WebVideoRows::RowHeight);
}

void WebListView::pressRow(int row) {
    if (!links_.Analysing() && links_.PressRow(row))
        emit selectionChanged();
    update();
}

void WebListView::wheelEvent(QWheelEvent* event) {
    firstRow_ -= event->angleDelta().y() / 120;
    update();
}

} // namespace quilo
