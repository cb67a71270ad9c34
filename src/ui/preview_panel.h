// The preview beside the clip list: the current clip's frame with
// "Seeking please wait..." over it, the trim bar, the start and end time
// fields and the snapshot button, all shown from the preview panel model.
#pragma once

#include "media/preview_panel_model.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace quilo {

class TrimBarView;

// The snapshot button's save dialog as the desktop shows it.
class QtSnapshotDialog : public SnapshotDialog {
public:
    explicit QtSnapshotDialog(QWidget* parent) : parent_(parent) {}
    std::optional<SnapshotChoice> chooseFile(const std::string& startFolder, const std::string& fileName,
                                             const std::string& filter) override;

private:
    QWidget* parent_;
};

class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 256;
    static constexpr int PanelHeight = 156;

    PreviewPanel(PreviewPanelModel& model, QWidget* parent = nullptr);

    // Shows the model's state in every control.
    void refresh();

    QWidget* picture() const { return picture_; }
    QLabel* seekingLabel() const { return seeking_; }
    TrimBarView* trimBar() const { return trimBar_; }
    QLineEdit* startField() const { return start_; }
    QLineEdit* endField() const { return end_; }
    QToolButton* snapshotButton() const { return snapshot_; }

signals:
    // The clip's start or end time changed: its row shows them.
    void clipTimesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* addField(const QString& caption, const char* objectName, int top);
    void showField(QLineEdit* field, const TimeField& shown);
    void snapshotClicked();

    PreviewPanelModel& model_;
    QWidget* picture_ = nullptr;
    QLabel* seeking_ = nullptr;
    TrimBarView* trimBar_ = nullptr;
    QLineEdit* start_ = nullptr;
    QLineEdit* end_ = nullptr;
    QToolButton* snapshot_ = nullptr;
};

} // namespace quilo
