// The clip area in link mode as the user sees it: each link's row with its
// video files under it, the selected link highlighted, and the panel that
// shows while a link is being analysed. Presses go to the model.
#pragma once

#include "conversion/web_links.h"

#include <QWidget>

namespace quilo {

class WebListView : public QWidget {
    Q_OBJECT
public:
    WebListView(WebLinks& links, QSize size, QWidget* parent = nullptr);

    WebLinks& links() const { return links_; }
    int firstRow() const { return firstRow_; }
    int visibleRows() const { return height() / WebVideoRows::RowHeight; }
    // What a click on the row does.
    void pressRow(int row);

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void paintRow(QPainter& painter, const WebRow& row, int top) const;
    void paintAnalysing(QPainter& painter) const;

    WebLinks& links_;
    int firstRow_ = 0;
};

} // namespace quilo
