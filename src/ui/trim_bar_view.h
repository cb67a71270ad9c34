// The trim bar under the preview: two handles and the bar between them,
// dragged with the left button. Positions and times are the model's.
#pragma once

#include "media/preview_panel_model.h"

#include <QWidget>
#include <optional>

namespace quilo {

class TrimBarView : public QWidget {
    Q_OBJECT
public:
    static constexpr int BarWidth = 168;
    static constexpr int BarHeight = 16;

    explicit TrimBarView(PreviewPanelModel& model, QWidget* parent = nullptr);

    // Where each part is drawn, for the pointer and for tests driving it.
    QRect handleRect(TrimItem item) const;

signals:
    // A drag moved or ended: the fields (and after a release the clip) changed.
    void dragged();
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::optional<TrimItem> itemAt(QPoint point) const;

    PreviewPanelModel& model_;
};

} // namespace quilo
