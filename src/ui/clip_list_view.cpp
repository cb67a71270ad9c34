#include "ui/clip_list_view.h"

#include "skin/skin_pictures.h"
#include "ui/clip_list_accessible.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <filesystem>

namespace quilo {
namespace {

constexpr int ThumbHeight = 42;

const QColor& ClipInk = skin::Ink;
const QColor& AudioInk = skin::MutedInk;

// Where each text of a row is drawn, fitted to the list's font: the columns
// leave room for their longest usual texts ("Beginning", "00:00:00",
// "Codec:MPEG Audio 2CH"); longer names are cut with "…".
struct Column {
    RowLabel label;
    int left;
    int width;
};
constexpr Column ClipColumns[] = {
    {RowLabel::Name, 22, 102},   {RowLabel::Duration, 128, 48},   {RowLabel::FrameRate, 178, 58},
    {RowLabel::Size, 238, 120},  {RowLabel::Start, 362, 54},      {RowLabel::End, 420, 50},
    {RowLabel::Output, 474, 64}, {RowLabel::AudioTrack, 238, 60}, {RowLabel::Subtitle, 300, 58},
};
constexpr Column AudioColumns[] = {
    {RowLabel::AudioName, 38, 86},
    {RowLabel::AudioCodec, 128, 130},
    {RowLabel::AudioSampleRate, 262, 50},
    {RowLabel::AudioBitRate, 316, 92},
};

// The clip's file name in full: the row's own label holds it cut to a fixed length.
QString clipName(const TInfoListItem& row) {
    if (!row.Clip)
        return QString::fromStdString(row.LabelText(RowLabel::Name)).trimmed();
    return QString::fromStdString(std::filesystem::path(row.Clip->FirstSourcePath()).filename().string());
}

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
    // A click or the Tab key gives it the keys: arrows, Delete, the menu key.
    setFocusPolicy(Qt::StrongFocus);
    QFont font = this->font();
    font.setPixelSize(10);
    setFont(font);
    setAccessibleName(QStringLiteral("Clip list"));
}

const std::vector<RowLabel>& ClipListView::DrawnLabels(RowKind kind) {
    const auto labelsOf = [](const auto& columns) {
        std::vector<RowLabel> labels;
        for (const Column& column : columns)
            labels.push_back(column.label);
        return labels;
    };
    static const std::vector<RowLabel> clip = labelsOf(ClipColumns), audio = labelsOf(AudioColumns);
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

std::vector<ClipListView::Cell> ClipListView::cellsOf(const TInfoListItem& row, int top) const {
    std::vector<Cell> cells;
    const QFontMetrics metrics(font());
    auto add = [&](const Column& column, QString full) {
        if (full.isEmpty())
            return;
        const QRect box(column.left, top, column.width, RowHeight);
        cells.push_back({box, metrics.elidedText(full, Qt::ElideRight, box.width()), full});
    };
    if (row.Kind == RowKind::Clip) {
        for (const Column& column : ClipColumns) {
            if (!row.Label(column.label))
                continue;
            add(column, column.label == RowLabel::Name ? clipName(row)
                                                       : QString::fromStdString(row.LabelText(column.label)));
        }
    } else {
        for (const Column& column : AudioColumns)
            add(column, QString::fromStdString(row.LabelText(column.label)));
    }
    return cells;
}

void ClipListView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::FieldGround);
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
    if (hasFocus()) {
        // Where the keys go: a frame round the list.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(skin::FocusMark, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(1, 1, RowWidth - 2, height() - 2));
    }
}

// "Adding clips, please wait..." over the rows while files load.
void ClipListView::paintAddProgress(QPainter& painter) const {
    const QRect box(RowWidth / 2 - 174, height() / 2 - 36, 348, 71);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(skin::Border);
    painter.setBrush(skin::WindowGround);
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
        painter.fillRect(QRect(0, top, RowWidth, RowHeight), skin::SelectedGround);
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
    for (const Cell& cell : cellsOf(row, top))
        painter.drawText(cell.box, Qt::AlignLeft | Qt::AlignVCenter, cell.shown);
}

void ClipListView::paintBar(QPainter& painter) const {
    const QRect bar = barRect();
    painter.fillRect(bar, skin::WindowGround);
    const bool scrolls = static_cast<int>(list_.Rows().size()) > ClipList::VisibleRows;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(scrolls ? skin::Accent : skin::Border);
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

void ClipListView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (list_.MoveSelection(event->key() == Qt::Key_Down ? 1 : -1))
            emit selectionChanged();
        update();
        return;
    case Qt::Key_Delete:
        emit removeRequested();
        update();
        return;
    case Qt::Key_Menu:
        openMenu(mapToGlobal(QPoint(RowWidth / 2, height() / 2)));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ClipListView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void ClipListView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

// A row's tooltip tells the clip in full: its name, sizes and output name.
bool ClipListView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const TInfoListItem* row = rowAt(help->pos());
    QString tip;
    if (row && row->Kind == RowKind::Clip)
        tip = row->Hint.empty() ? clipName(*row) : QString::fromStdString(row->Hint);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
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
