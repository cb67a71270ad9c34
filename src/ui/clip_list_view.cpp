#include "ui/clip_list_view.h"

#include "skin/skin_pictures.h"
#include "ui/clip_list_accessible.h"

#include <QAccessible>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace quilo {
namespace {

constexpr int ThumbHeight = 42;

const QColor RowSelected{0x2f, 0x8f, 0xe8, 110};
const QColor ClipInk{0xe8, 0xee, 0xf6};
const QColor AudioInk{0xa9, 0xbb, 0xd0};

void paintCheck(QPainter& painter, QRect box, bool checked) {
    painter.setPen(QColor(0x9f, 0xb0, 0xc4));
    painter.setBrush(checked ? skin::Accent : QColor(0x14, 0x19, 0x22));
    painter.drawRoundedRect(box.adjusted(0, 0, -1, -1), 3, 3);
    if (checked) {
        painter.setPen(QPen(Qt::white, 2));
        const QPointF a(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
        const QPointF b(box.left() + box.width() * 0.42, box.top() + box.height() * 0.74);
        const QPointF c(box.left() + box.width() * 0.80, box.top() + box.height() * 0.26);
        painter.drawLine(a, b);
        painter.drawLine(b, c);
    }
}

} // namespace

ClipListView::ClipListView(ClipList& list, QWidget* parent) : QWidget(parent), list_(list) {
    // Before anything asks for the view's accessible interface.
    InstallClipListAccessibility();
    setFixedSize(RowWidth + BarWidth, ClipList::VisibleRows * RowHeight + 2);
    setMouseTracking(false);
    QFont font = this->font();
    font.setPixelSize(10);
    setFont(font);
    setAccessibleName(QStringLiteral("Clip list"));
}

const std::vector<RowLabel>& ClipListView::DrawnLabels(RowKind kind) {
    static const std::vector<RowLabel> clip{RowLabel::Name,  RowLabel::Duration,   RowLabel::FrameRate,
                                            RowLabel::Size,  RowLabel::AudioTrack, RowLabel::Subtitle,
                                            RowLabel::Start, RowLabel::End,        RowLabel::Output};
    static const std::vector<RowLabel> audio{RowLabel::AudioName, RowLabel::AudioCodec,
                                             RowLabel::AudioSampleRate, RowLabel::AudioBitRate};
    return kind == RowKind::Clip ? clip : audio;
}

QRect ClipListView::barRect() const {
    return {RowWidth, 0, BarWidth, height()};
}

TInfoListItem* ClipListView::rowAt(QPoint point) const {
    if (point.x() < 0 || point.x() >= RowWidth || point.y() < 0)
        return nullptr;
    const int index = list_.FirstVisibleRow() + point.y() / RowHeight;
    const auto& rows = list_.Rows();
    if (point.y() / RowHeight >= ClipList::VisibleRows || index >= static_cast<int>(rows.size()))
        return nullptr;
    return rows[static_cast<size_t>(index)];
}

void ClipListView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x14, 0x19, 0x22));
    const auto& rows = list_.Rows();
    if (rows.size() != announcedRows_ && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
    announcedRows_ = rows.size();
    const int first = list_.FirstVisibleRow();
    for (int i = 0; i < ClipList::VisibleRows && first + i < static_cast<int>(rows.size()); ++i)
        paintRow(painter, *rows[static_cast<size_t>(first + i)], i * RowHeight);
    if (rows.empty()) {
        painter.setPen(AudioInk);
        painter.drawText(QRect(0, 0, RowWidth, height()), Qt::AlignCenter,
                         QStringLiteral("Add clips with the \"Add Files\" button or drop them here."));
    }
    paintBar(painter);
    if (list_.Progress.Visible)
        paintAddProgress(painter);
}

// "Adding clips, please wait..." over the rows while files load.
void ClipListView::paintAddProgress(QPainter& painter) const {
    const QRect box(RowWidth / 2 - 174, height() / 2 - 36, 348, 71);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QColor(0x3a, 0x46, 0x57));
    painter.setBrush(QColor(0x1d, 0x25, 0x31));
    painter.drawRoundedRect(box, 8, 8);
    painter.setPen(ClipInk);
    painter.drawText(box.adjusted(16, 10, -16, 0), Qt::AlignLeft | Qt::AlignTop, AddProgress::Text);
    const QRect bar(box.left() + 20, box.top() + 40, AddProgress::BarWidth, 6);
    painter.fillRect(bar, QColor(0x0d, 0x11, 0x17));
    painter.fillRect(QRect(bar.left(), bar.top(), list_.Progress.BarPixels, bar.height()), skin::Accent);
    painter.drawText(QRect(bar.right() + 8, bar.top() - 6, 50, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::number(list_.Progress.Percent) + " %");
}

void ClipListView::paintRow(QPainter& painter, const TInfoListItem& row, int top) const {
    if (row.Selected)
        painter.fillRect(QRect(0, top, RowWidth, RowHeight), RowSelected);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (row.Kind == RowKind::Clip) {
        paintCheck(painter, QRect(3, top + 2, 14, 14), row.Checked);
    } else {
        // The branch from the clip row: a middle piece, or an end piece on the last audio row.
        painter.setPen(QColor(0x6b, 0x7d, 0x93));
        painter.drawLine(QPointF(12.5, top), QPointF(12.5, row.LastAudio ? top + 9.5 : top + RowHeight));
        painter.drawLine(QPointF(12.5, top + 9.5), QPointF(18, top + 9.5));
        paintCheck(painter, QRect(20, top + 2, 14, 14), row.Checked);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.setPen(row.Kind == RowKind::Clip ? ClipInk : AudioInk);
    auto paintLabel = [&](RowLabel which) {
        const TLabelInfo* label = row.Label(which);
        if (!label || label->Text.empty())
            return;
        const int width = label->Width > 0 ? label->Width : RowWidth - label->Left;
        painter.drawText(QRect(label->Left, top, width, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(label->Text));
    };
    for (RowLabel which : DrawnLabels(row.Kind))
        paintLabel(which);
}

void ClipListView::paintBar(QPainter& painter) const {
    const QRect bar = barRect();
    painter.fillRect(bar, QColor(0x1d, 0x25, 0x31));
    const bool scrolls = static_cast<int>(list_.Rows().size()) > ClipList::VisibleRows;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(scrolls ? skin::Accent : QColor(0x3a, 0x46, 0x57));
    painter.drawRoundedRect(QRectF(bar.left() + 3, list_.ThumbTop(), BarWidth - 6, ThumbHeight), 4, 4);
}

void ClipListView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (barRect().contains(point)) {
        if (event->button() == Qt::LeftButton) {
            list_.ThumbPress(point.y());
            draggingThumb_ = true;
        }
        return;
    }
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    TInfoListItem* row = rowAt(point);
    if (!row)
        return;
    const int rowTop = (point.y() / RowHeight) * RowHeight;
    const QRect audioCheck(20, rowTop + 2, 16, 16);
    if (row->Kind == RowKind::Audio && event->button() == Qt::LeftButton && audioCheck.contains(point))
        list_.ClickAudioCheck(row);
    pressRow(row);
}

void ClipListView::pressRow(TInfoListItem* row) {
    if (list_.PressRow(row)) {
        emit selectionChanged();
        if (QAccessible::isActive()) {
            const auto& rows = list_.Rows();
            const auto at = std::find(rows.begin(), rows.end(), row);
            QAccessibleEvent event(this, QAccessible::Selection);
            event.setChild(static_cast<int>(at - rows.begin()));
            QAccessible::updateAccessibility(&event);
        }
    }
    update();
}

void ClipListView::mouseMoveEvent(QMouseEvent* event) {
    if (draggingThumb_) {
        list_.ThumbMove(event->position().toPoint().y());
        update();
    }
}

void ClipListView::mouseReleaseEvent(QMouseEvent* event) {
    if (draggingThumb_ && event->button() == Qt::LeftButton) {
        list_.ThumbRelease();
        draggingThumb_ = false;
        return;
    }
    if (event->button() == Qt::RightButton && !barRect().contains(event->position().toPoint()))
        openMenu(event->globalPosition().toPoint());
}

void ClipListView::wheelEvent(QWheelEvent* event) {
    const int hidden = static_cast<int>(list_.Rows().size()) - ClipList::VisibleRows;
    if (hidden <= 0)
        return;
    // One notch moves the list by about one row.
    const int step = std::max(1, (ClipList::ThumbMaxTop - ClipList::ThumbMinTop + hidden - 1) / hidden);
    const int notches = event->angleDelta().y() / 120;
    list_.SetThumbTop(list_.ThumbTop() - notches * step);
    update();
}

void ClipListView::openMenu(QPoint globalPosition) {
    const auto entries = list_.OpenContextMenu();
    if (!entries)
        return;
    QMenu menu(this);
    for (size_t i = 0; i < entries->size(); ++i) {
        const MenuEntry& entry = (*entries)[i];
        if (entry.Text == "-") {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(entry.Text));
        action->setEnabled(entry.Enabled);
        action->setData(static_cast<int>(i));
    }
    QAction* chosen = menu.exec(globalPosition);
    if (!chosen)
        return;
    switch (chosen->data().toInt()) {
    case 0:
        emit removeRequested();
        break;
    case 1:
        emit clearRequested();
        break;
    default:
        emit addRequested();
        break;
    }
}

} // namespace quilo
