// The burner settings dialog: the drive, write speed and transport of a disc
// job, the disc in the drive, and Next only with a disc that can be written.
// Shown before each DVD disc job; its window receives the burner control's
// notices for the whole run and hands the burn progress on.
#pragma once

#include "dvd/burning/burner_settings.h"
#include "platform/optical_drive_watch.h"
#include "platform/qt_window_port.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace quilo {

class BurnerSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `optionFile` is Option.ini, where the transport choice is kept.
    BurnerSettingsDialog(BurnerControl& burner, const std::string& optionFile, Prompter& prompter,
                         QWidget* parent = nullptr);
    ~BurnerSettingsDialog() override;

    // True when the user went on with a usable disc, false on Cancel.
    bool ShowModal();

    BurnerSettingsModel& model() { return model_; }
    // Where the image file goes when that entry is chosen; a file dialog unless replaced.
    std::function<std::string()>& imageFileChooser() { return model_.chooseImageFile; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void refresh();
    void firstScan();
    void nextClicked();
    std::string askImageFile();

    IniFile options_;
    QtWindowPort port_;
    BurnerSettingsModel model_;
    OpticalDriveWatch driveWatch_;

    QComboBox *drives_ = nullptr, *speeds_ = nullptr;
    QLabel *type_ = nullptr, *available_ = nullptr, *used_ = nullptr, *sessions_ = nullptr,
           *tracks_ = nullptr, *hint_ = nullptr;
    QCheckBox *spti_ = nullptr, *aspi_ = nullptr;
    QWidget *content_ = nullptr, *infoPanel_ = nullptr;
    QPushButton *next_ = nullptr, *cancel_ = nullptr;
};

} // namespace quilo
