#include "dvd/burning/burner_settings.h"

#include <cstdio>

namespace quilo {

namespace {

constexpr const char* OptionSection = "Option";
constexpr const char* SptiKey = "SPTI";
constexpr int MaxDrives = 100;

std::string Megabytes(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

BurnerSettingsModel::BurnerSettingsModel(BurnerControl& burner, IniFile& options, Prompter& prompter,
                                         const QuiloWindowPort* notifyWindow)
    : burner_(burner), options_(options), prompter_(prompter), notify_(notifyWindow) {}

void BurnerSettingsModel::FormShow() {
    closed_ = false;
    if (!initialised_)
        timerOn_ = true;
}

void BurnerSettingsModel::TimerTimer() {
    timerOn_ = false;
    if (initialised_)
        return;
    spti_ = options_.readBool(OptionSection, SptiKey, false);
    aspi_ = !spti_;
    Rescan();
    initialised_ = true;
    ++repaints_;
}

void BurnerSettingsModel::Rescan() {
    infoPanel_ = true;
    if (changed)
        changed();
    burner_.UninitBurner();
    burner_.InitBurner(notify_);
    lastScanSpti_ = spti_;
    burner_.ScanBurners(spti_, true);
    FillDriveList();
    infoPanel_ = false;
}

void BurnerSettingsModel::FillDriveList() {
    drives_.items.clear();
    drives_.selected = -1;
    for (int i = 0; i < MaxDrives && !burner_.IsImageDrive(i); ++i) {
        std::string name = burner_.GetBurnerName(i);
        if (name.empty())
            break;
        drives_.items.push_back(std::move(name));
    }
    const int driveCount = static_cast<int>(drives_.items.size());
    drives_.items.emplace_back(ImageFileEntry);
    drives_.enabled = true;
    // The first drive whose disc offers write speeds. The image file is not
    // chosen for the user: it needs a file name.
    for (int i = 0; i < driveCount; ++i) {
        drives_.selected = i;
        FillSpeedList(false);
        if (speeds_.enabled)
            break;
    }
    if (drives_.selected < 0 && driveCount > 0)
        drives_.selected = 0;
    DriveChange();
}

bool BurnerSettingsModel::UseImageFile(const std::string& path) {
    const int index = burner_.UseImageFile(path);
    if (index < 0)
        return false;
    imageFile_ = path;
    drives_.selected = index;
    return true;
}

std::string BurnerSettingsModel::hint() const {
    return imageFileChosen() ? "* The disc image will be written to " + imageFile_ + ", click Next"
                             : InsertDiscHint;
}

void BurnerSettingsModel::FillSpeedList(bool refresh) {
    const std::vector<std::string>* names = burner_.GetWriteSpeedNames(drives_.selected, refresh);
    speeds_.items.clear();
    if (names && !names->empty()) {
        speeds_.items = *names;
        speeds_.enabled = true;
    } else {
        speeds_.items = {"Unsupported"};
        speeds_.enabled = false;
    }
    speeds_.selected = static_cast<int>(speeds_.items.size()) - 1;
}

void BurnerSettingsModel::UpdateDiscInfo() {
    info_.type = burner_.GetDiscTypeName();
    info_.availableSize = Megabytes(burner_.GetFreeSizeMB());
    info_.usedSize = Megabytes(burner_.GetUsedSizeMB());
    info_.tracks = std::to_string(burner_.GetTrackCount());
    info_.sessions = std::to_string(burner_.GetSessionCount());
}

void BurnerSettingsModel::DriveChange() {
    burner_.SelectBurner(drives_.selected);
    FillSpeedList(true);
    UpdateDiscInfo();
}

void BurnerSettingsModel::DriveSelected(int index) {
    if (index < 0 || index >= static_cast<int>(drives_.items.size()))
        return;
    if (index == imageFileEntry()) {
        const std::string path = chooseImageFile ? chooseImageFile() : std::string();
        if (path.empty() || !UseImageFile(path))
            return; // declined: the drive chosen before stays
    } else {
        drives_.selected = index;
    }
    DriveChange();
}

void BurnerSettingsModel::SpeedSelected(int index) {
    if (index >= 0 && index < static_cast<int>(speeds_.items.size()))
        speeds_.selected = index;
}

void BurnerSettingsModel::DevicesChanged() {
    // Not while a scan or an erase waits: that would start a second one inside it.
    if (!initialised_ || !dialogEnabled_ || infoPanel_)
        return;
    const bool image = imageFileChosen();
    const std::string drive = image ? std::string() : burner_.GetBurnerName(drives_.selected);
    Rescan();
    if (image && UseImageFile(imageFile_)) {
        DriveChange();
        return;
    }
    for (int i = 0; i < imageFileEntry(); ++i)
        if (!drive.empty() && drives_.items[static_cast<size_t>(i)] == drive && i != drives_.selected) {
            drives_.selected = i;
            DriveChange();
            break;
        }
}

void BurnerSettingsModel::SetBusy(bool busy) {
    dialogEnabled_ = !busy;
    transportEnabled_ = !busy;
    drives_.enabled = !busy && !drives_.items.empty();
}

void BurnerSettingsModel::TransportClicked(bool spti) {
    spti_ = spti;
    aspi_ = !spti;
    if (spti_ == lastScanSpti_)
        return;
    if (prompter_.ask(PromptKind::Confirmation,
                      "You must reinitial your burner now since you change the burner setting!\nIt will take "
                      "about ten seconds!\n\nClick Yes to continue, No to abort.",
                      PromptButtons::YesNo) != PromptAnswer::Yes) {
        spti_ = lastScanSpti_;
        aspi_ = !lastScanSpti_;
        return;
    }
    SetBusy(true);
    Rescan();
    SetBusy(false);
    ++repaints_;
    prompter_.inform("Reinitial successfully!");
}

int BurnerSettingsModel::CheckDisc() {
    // Each pass is the user trying again after a change; the loop ends with
    // a usable disc or when the user gives up.
    for (;;) {
        const int r = burner_.SelectBurner(drives_.selected);
        if (r == BurnerMissing) {
            prompter_.warn("Cannot find your burner, cannot create DVD disc.\nPlease seletct a writable DVD "
                           "driver and try again!");
            return 0;
        }
        if (r == BurnerUsable)
            return 1;
        if (r == BurnerNeedsErase) {
            // Closing the question is Cancel.
            const PromptAnswer answer = prompter_.ask(
                PromptKind::Confirmation,
                "You need erase disc before burning!\nClick Yes to start erasing disc, or Click No to change "
                "another writable DVD disc and try again!\nOr Click Cancel to abort!",
                PromptButtons::YesNoCancel);
            if (answer == PromptAnswer::Yes) {
                const bool speedsEnabled = speeds_.enabled;
                dialogEnabled_ = false;
                info_.availableSize = info_.usedSize = info_.tracks = info_.sessions = "Erasing...";
                drives_.enabled = speeds_.enabled = transportEnabled_ = false;
                if (changed)
                    changed();
                burner_.EraseDisc();
                SetBusy(false);
                speeds_.enabled = speedsEnabled;
                UpdateDiscInfo();
                continue;
            }
            if (answer == PromptAnswer::No) {
                burner_.EjectDisc();
                prompter_.inform("Please change another DVD disc and then click OK to try again!");
                ++repaints_;
                burner_.LoadDisc();
                continue;
            }
            return 2;
        }
        burner_.EjectDisc();
        const PromptAnswer answer = prompter_.ask(PromptKind::Information,
                                                  "Your DVD disc is not writable!\nPlease change another "
                                                  "writable DVD disc and then click OK to try again!\nOr "
                                                  "Click Cancel to abort!",
                                                  PromptButtons::OkCancel);
        ++repaints_;
        burner_.LoadDisc();
        if (answer != PromptAnswer::Ok)
            return 3;
    }
}

bool BurnerSettingsModel::NextClicked() {
    if (CheckDisc() != 1)
        return false;
    cancelled_ = false;
    burner_.LockBurner();
    burner_.SetWriteSpeed(speeds_.selected);
    burner_.SetVolumeLabel(DefaultVolumeLabel);
    closed_ = true;
    return true;
}

void BurnerSettingsModel::CancelClicked() {
    cancelled_ = true;
    closed_ = true;
}

void BurnerSettingsModel::FormDestroy() {
    options_.writeBool(OptionSection, SptiKey, spti_);
    burner_.UninitBurner();
}

void BurnerSettingsModel::BurnerNotify(long wParam, long lParam) {
    if (wParam == BurnerScanDone)
        FillDriveList();
    else if (wParam == BurnerProgress && showPercent)
        showPercent(static_cast<int>(lParam));
}

void BurnerSettingsModel::DeviceChange(unsigned long wParam) {
    if (wParam == 0x8000 || wParam == 0x8004)
        DriveChange();
}

} // namespace quilo
