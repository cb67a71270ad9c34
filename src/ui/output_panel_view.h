// The output settings panel's widgets over the panel model: every change goes
// to the model's event, and every widget is shown again from `controls()`
// afterwards, since one event may change many controls.
#pragma once

#include "platform/desktop_services.h"
#include "profiles/output_panel.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;
class QToolButton;
class QVBoxLayout;

namespace quilo {

class OutputPanelView : public QWidget {
    Q_OBJECT
public:
    OutputPanelView(OutputPanelModel& panel, DesktopServices& desktop, QWidget* parent = nullptr);

    // Shows the model's state in every widget.
    void refresh();

signals:
    // A change that may have renamed the clips' outputs.
    void panelChanged();
    // The Browse button next to the output folder.
    void browseRequested();
    void cropClicked();

private:
    struct Row {
        QWidget* widget;
        QLabel* caption;
    };
    Row addRow(QVBoxLayout* column, const QString& caption, int captionWidth);
    QComboBox* addSelector(QWidget* row, void (OutputPanelModel::*change)(int));
    QSpinBox* addNumber(QWidget* row);
    QCheckBox* addCheck(QWidget* row, const QString& text);
    void changed();
    void buildVideoColumn(QVBoxLayout* column);
    void buildAudioColumn(QVBoxLayout* column);
    // A row shows when any of its controls shows.
    void showRows();

    OutputPanelModel& panel_;
    DesktopServices& desktop_;
    std::vector<QWidget*> rows_;

    QComboBox *savedProfile_ = nullptr, *imageMode_ = nullptr, *resolution_ = nullptr;
    QLabel *resolutionCaption_ = nullptr, *sizeSeparator_ = nullptr;
    QSpinBox *width_ = nullptr, *height_ = nullptr, *videoBitRate_ = nullptr;
    QComboBox *frameRate_ = nullptr, *videoCodec_ = nullptr, *outputFormat_ = nullptr;
    QComboBox *audioCodec_ = nullptr, *audioBitRate_ = nullptr, *sampleRate_ = nullptr, *channel_ = nullptr;
    QSlider* volume_ = nullptr;
    QLabel* volumeLabel_ = nullptr;
    QLineEdit *displayName_ = nullptr, *artistName_ = nullptr;
    QLabel *displayCaption_ = nullptr, *artistCaption_ = nullptr;
    QComboBox* cpuCores_ = nullptr;
    QCheckBox *highQuality_ = nullptr, *deinterlace_ = nullptr, *forceSync_ = nullptr, *letterBox_ = nullptr;
    QComboBox* dvdSetting_ = nullptr;
    QWidget* dvdPanel_ = nullptr;
    QCheckBox *dvdNtsc_ = nullptr, *dvdPal_ = nullptr, *dvd169_ = nullptr, *dvd43_ = nullptr,
              *dvdLetterBox_ = nullptr;
    QLabel* dvdLabel_ = nullptr;
    QLineEdit* outputFolder_ = nullptr;
    QToolButton* openFolder_ = nullptr;
    QToolButton* crop_ = nullptr;
    QLabel *profileCaption_ = nullptr, *imageCaption_ = nullptr, *frameRateCaption_ = nullptr,
           *bitRateCaption_ = nullptr, *kbpsCaption_ = nullptr, *codecCaption_ = nullptr,
           *formatCaption_ = nullptr, *dvdSettingCaption_ = nullptr;
};

} // namespace quilo
