// The clip list's rows as the user sees them: nine rows of the list model at a
// time with the scroll bar beside them. Presses, the audio check images, the
// thumb, the keys and the context menu go to the model; the main window
// handles the menu's entries and the Delete key.
#pragma once

#include "media/clip_list.h"

#include <QWidget>
#include <vector>

namespace quilo {

class ClipListView : public QWidget {
    Q_OBJECT
public:
    static constexpr int RowWidth = 540; // the preview sits beside the list
    static constexpr int BarWidth = 18;

    explicit ClipListView(ClipList& list, QWidget* parent = nullptr);

    // The row drawn at a point of the view, if any.
    TInfoListItem* rowAt(QPoint point) const;
    // What a left click on the row does (beside its audio check image).
    void pressRow(TInfoListItem* row);
    ClipList& list() const { return list_; }
    // The labels of a row of that kind, in the order they are drawn.
    static const std::vector<RowLabel>& DrawnLabels(RowKind kind);

    // One text of a row as drawn: its box, the text shown in it (cut with
    // "…" where it would not fit) and the whole text.
    struct Cell {
        QRect box;
        QString shown;
        QString full;
    };
    std::vector<Cell> cellsOf(const TInfoListItem& row, int top = 0) const;

signals:
    void removeRequested();
    void clearRequested();
    void addRequested();
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void paintRow(QPainter& painter, const TInfoListItem& row, int top) const;
    void paintBar(QPainter& painter) const;
    void paintAddProgress(QPainter& painter) const;
    void openMenu(QPoint globalPosition);
    QRect barRect() const;

    ClipList& list_;
    bool draggingThumb_ = false;
    // Assistive tools learn of added and removed rows when the view next paints.
    size_t announcedRows_ = 0;
};

} // namespace quilo
