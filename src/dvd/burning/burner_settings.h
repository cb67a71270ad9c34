// The burner settings dialog without its window: drive and write-speed lists,
// the transport choice, the disc information, and the checks that keep the
// dialog open until the disc in the drive can be written.
#pragma once

#include "dvd/burning/burn_control.h"
#include "platform/ini_file.h"
#include "platform/prompter.h"

#include <functional>
#include <string>
#include <vector>

namespace quilo {

struct BurnerComboBox {
    std::vector<std::string> items;
    int selected = -1;
    bool enabled = true;
};

struct BurnerDiscInfo {
    std::string type = "UNKNOWN";
    std::string availableSize, usedSize, sessions, tracks;
};

// The drive list's last entry: the disc is written to a file instead of a drive.
inline constexpr const char* ImageFileEntry = "Disc image file (ISO)\u2026";
inline constexpr const char* InsertDiscHint = "* Please insert a writable DVD disc then click Next";

class BurnerSettingsModel {
public:
    // `options` is Option.ini; `notifyWindow` the dialog's window, handed to
    // the burner control at every initialisation.
    BurnerSettingsModel(BurnerControl& burner, IniFile& options, Prompter& prompter,
                        const QuiloWindowPort* notifyWindow = nullptr);

    // The progress window's progress display, fed while a burn runs.
    std::function<void(int percent)> showPercent;
    // Asks where the disc image goes; the empty text when the user declines.
    std::function<std::string()> chooseImageFile;
    // Told before a long wait (a scan, an erase), so the view shows the state
    // the user waits in.
    std::function<void()> changed;

    // Events.
    void FormShow();
    void TimerTimer();
    void DriveChange();
    void DriveSelected(int index);
    void SpeedSelected(int index);
    void TransportClicked(bool spti);
    // True when the dialog closes with a usable disc.
    bool NextClicked();
    void CancelClicked();
    void FormDestroy();
    void BurnerNotify(long wParam, long lParam);
    void DeviceChange(unsigned long wParam);
    // A drive appeared or went away: the list is scanned again, keeping the
    // chosen drive (or image file) when it is still there.
    void DevicesChanged();

    // 0 no burner, 1 usable, 2 needs erasing (Cancel), 3 not writable (Cancel).
    int CheckDisc();

    // What the controls show.
    const BurnerComboBox& drives() const { return drives_; }
    const BurnerComboBox& writeSpeeds() const { return speeds_; }
    const BurnerDiscInfo& discInfo() const { return info_; }
    int imageFileEntry() const { return static_cast<int>(drives_.items.size()) - 1; }
    bool imageFileChosen() const { return burner_.IsImageDrive(drives_.selected); }
    const std::string& imageFile() const { return imageFile_; }
    std::string hint() const;
    bool sptiChecked() const { return spti_; }
    bool aspiChecked() const { return aspi_; }
    bool transportEnabled() const { return transportEnabled_; }
    bool dialogEnabled() const { return dialogEnabled_; }
    bool infoPanelVisible() const { return infoPanel_; }
    bool timerOn() const { return timerOn_; }
    bool initialised() const { return initialised_; }
    bool cancelled() const { return cancelled_; }
    bool closed() const { return closed_; }
    // The view repaints when this changes.
    int repaints() const { return repaints_; }

private:
    void Rescan();
    void FillDriveList();
    void FillSpeedList(bool refresh);
    void UpdateDiscInfo();
    void SetBusy(bool busy);
    bool UseImageFile(const std::string& path);

    BurnerControl& burner_;
    IniFile& options_;
    Prompter& prompter_;
    const QuiloWindowPort* notify_;

    BurnerComboBox drives_, speeds_;
    BurnerDiscInfo info_;
    std::string imageFile_;
    bool spti_ = false, aspi_ = true;
    bool lastScanSpti_ = false;
    bool transportEnabled_ = true, dialogEnabled_ = true;
    bool infoPanel_ = false;
    bool timerOn_ = false;
    bool initialised_ = false;
    bool cancelled_ = false;
    bool closed_ = false;
    int repaints_ = 0;
};

} // namespace quilo
