#include "dvd/burning/burn_control.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace quilo {

namespace {

// The drive event hook is a plain function: it reaches the control that
// installed it through this pointer.
std::atomic<BurnerControl*> hookOwner{nullptr};

constexpr auto WaitStep = std::chrono::milliseconds(50);
constexpr auto PollStep = std::chrono::milliseconds(1000);
constexpr double BytesPerMB = 1024.0 * 1024.0;
// The fastest rate the library knows: used when a drive offers no speed list.
constexpr uint32_t FastestRate = 65535;

void PumpQtEvents() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        QCoreApplication::processEvents();
}

} // namespace

BurnerControl::BurnerControl() : pump_(PumpQtEvents) {}

BurnerControl::~BurnerControl() {
    JoinWorkers();
    BurnerControl* self = this;
    hookOwner.compare_exchange_strong(self, nullptr);
}

void BurnerControl::Post(long wParam, long lParam) const {
    quilo_window_port_post(notify_, WM_BURNER_NOTIFY, wParam, lParam);
}

void BurnerControl::InitBurner(const QuiloWindowPort* notifyWindow) {
    notify_ = notifyWindow;
    if (initialised())
        return;
    speedNames_.emplace();
    CDevice::InitStarBurnDll();
    burnParams_.volumeLabel = DefaultVolumeLabel;
}

void BurnerControl::UninitBurner() {
    speedNames_.reset();
    if (selected_) {
        selected_->SetEventHook(nullptr);
        CDevice::ShutDownStarBurnDll();
    }
    selected_ = nullptr;
    scanned_ = false;
}

bool BurnerControl::StartWorker(std::thread& thread, std::function<void()> work) {
    try {
        thread = std::thread(std::move(work));
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void BurnerControl::FinishWorker() {
    {
        std::lock_guard lock(busyLock_);
        busy_ = false;
    }
    busyChanged_.notify_all();
}

void BurnerControl::WaitWhileBusy() {
    for (;;) {
        if (pump_)
            pump_();
        std::unique_lock lock(busyLock_);
        if (busyChanged_.wait_for(lock, WaitStep, [this] { return !busy_; }))
            break;
    }
    JoinWorkers();
}

void BurnerControl::JoinWorkers() {
    if (worker_.joinable())
        worker_.join();
    if (poller_.joinable())
        poller_.join();
}

bool BurnerControl::ScanBurners(bool spti, bool wait) {
    if (scanned_)
        return true;
    JoinWorkers();
    spti_ = spti;
    // The scan replaces the drives a selection would point into.
    if (selected_)
        selected_->SetEventHook(nullptr);
    selected_ = nullptr;
    imageDrive_ = false;
    busy_ = true;
    const bool started = StartWorker(worker_, [this, spti] {
        if (spti)
            CDevice::FindSPTIDevices();
        else
            CDevice::FindASPIDevices();
        for (CDevice& drive : CDevice::Devices()) {
            drive.RefreshDeviceInfo();
            drive.ReleaseGrabber();
            drive.RefreshDiscInfo();
            drive.ReleaseGrabber();
        }
        Post(BurnerScanDone, 0);
        FinishWorker();
    });
    if (!started) {
        busy_ = false;
        return false;
    }
    if (!wait)
        return true;
    WaitWhileBusy();
    scanned_ = true;
    return true;
}

std::string BurnerControl::GetBurnerName(int index) const {
    const auto& drives = CDevice::Devices();
    if (busy_ || index < 0 || index >= static_cast<int>(drives.size()))
        return {};
    const CDevice& drive = drives[static_cast<size_t>(index)];
    return drive.GetProduct() + " " + drive.GetVendor() + " " + drive.GetRevision();
}

const std::vector<std::string>* BurnerControl::GetWriteSpeedNames(int index, bool refresh) {
    auto& drives = CDevice::Devices();
    if (busy_ || !speedNames_ || index < 0 || index >= static_cast<int>(drives.size()))
        return nullptr;
    CDevice& drive = drives[static_cast<size_t>(index)];
    if (refresh) {
        drive.RefreshDiscInfo();
        drive.ReleaseGrabber();
    }
    speedNames_->clear();
    switch (drive.GetDiscType()) {
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 11:
    case 13:
    case 15: {
        TSpeeds speeds;
        drive.GetSpeedList(speeds);
        for (const TSpeed& speed : speeds)
            speedNames_->emplace_back(speed.name);
        break;
    }
    default:
        break;
    }
    return &*speedNames_;
}

int BurnerControl::UseImageFile(const std::string& path) {
    auto& drives = CDevice::Devices();
    if (busy_ || path.empty())
        return -1;
    // The list may move in memory: nothing may point into it across the change.
    if (selected_)
        selected_->SetEventHook(nullptr);
    selected_ = nullptr;
    if (imageDrive_ && !drives.empty())
        drives.pop_back();
    CDevice& drive = drives.emplace_back(TransportSPTI, "stdio:" + path);
    drive.SetCapacityLimit(SingleLayerDvdBytes);
    drive.RefreshDeviceInfo();
    drive.ReleaseGrabber();
    drive.RefreshDiscInfo();
    drive.ReleaseGrabber();
    imageDrive_ = true;
    return static_cast<int>(drives.size()) - 1;
}

bool BurnerControl::IsImageDrive(int index) const {
    return imageDrive_ && index >= 0 && index == static_cast<int>(CDevice::Devices().size()) - 1;
}

void BurnerControl::DriveEventHook(int event) {
    BurnerControl* owner = hookOwner.load();
    if (!owner)
        return;
    if (event == 27)
        owner->Post(BurnerEraseDone, 0);
    else if (event == 28)
        owner->Post(BurnerEraseDone, 1);
}

int BurnerControl::SelectBurner(int index) {
    auto& drives = CDevice::Devices();
    // An index past the end is no drive either: it must not reach the list.
    if (busy_ || index < 0 || index >= static_cast<int>(drives.size()))
        return BurnerMissing;
    if (selected_)
        selected_->SetEventHook(nullptr);
    selected_ = &drives[static_cast<size_t>(index)];
    selected_->RefreshDiscInfo();
    selected_->ReleaseGrabber();
    hookOwner = this;
    selected_->SetEventHook(DriveEventHook);

    bool usable = false;
    switch (selected_->GetDiscType()) {
    case 6: // DVD-RAM is overwritten in place
        usable = true;
        break;
    case 5:
    case 13:
    case 15:
        usable = selected_->IsDiscBlank();
        selected_->ReleaseGrabber();
        if (!usable)
            return BurnerNotWritable;
        break;
    case 7:
    case 8:
    case 9:
        usable = selected_->IsDiscBlank();
        selected_->ReleaseGrabber();
        if (!usable)
            return BurnerNeedsErase;
        break;
    default:
        return BurnerNotWritable;
    }
    speeds_.clear();
    selected_->GetSpeedList(speeds_);
    selected_->ReleaseGrabber();
    return BurnerUsable;
}

void BurnerControl::SetWriteSpeed(int index) {
    // Outside the list (a drive that names no speeds): let the drive choose.
    if (index < 0 || index >= static_cast<int>(speeds_.size())) {
        burnParams_.writeRate = FastestRate;
        burnParams_.writeSpeedName.clear();
        return;
    }
    burnParams_.writeRate = speeds_[static_cast<size_t>(index)].rate;
    burnParams_.writeSpeedName = speeds_[static_cast<size_t>(index)].name;
}

void BurnerControl::SetVolumeLabel(const std::string& label) {
    const auto first = label.find_first_not_of(" \t\r\n");
    const auto last = label.find_last_not_of(" \t\r\n");
    burnParams_.volumeLabel =
        first == std::string::npos ? std::string() : label.substr(first, last - first + 1);
}

void BurnerControl::LockBurner() {
    if (!selected_)
        return;
    selected_->LockDrive();
    selected_->ReleaseGrabber();
}

void BurnerControl::EjectDisc() {
    if (!selected_)
        return;
    selected_->EjectInternal();
    selected_->ReleaseGrabber();
}

void BurnerControl::LoadDisc() {
    if (!selected_)
        return;
    selected_->LoadInternal();
    selected_->ReleaseGrabber();
}

std::string BurnerControl::GetDiscTypeName() const {
    return selected_ ? DiscTypeName(selected_->GetDiscType()) : std::string();
}

double BurnerControl::GetFreeSizeMB() const {
    return selected_ ? selected_->GetFreeSpace() / BytesPerMB : 0.0;
}

double BurnerControl::GetUsedSizeMB() const {
    return selected_ ? selected_->GetUsedSpace() / BytesPerMB : 0.0;
}

int BurnerControl::GetTrackCount() {
    if (!selected_)
        return 0;
    selected_->RefreshTOCInfo();
    selected_->ReleaseGrabber();
    return selected_->GetTrackCount();
}

int BurnerControl::GetSessionCount() {
    if (!selected_)
        return 0;
    selected_->RefreshTOCInfo();
    selected_->ReleaseGrabber();
    return selected_->GetSessionCount();
}

uint64_t BurnerControl::GetFolderSize(const std::string& folder) {
    folder_ = folder;
    namespace fs = std::filesystem;
    uint64_t total = 0;
    std::error_code error;
    // A file that cannot be measured adds nothing; the burn itself will tell
    // whether it can be read.
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        std::error_code sizeError;
        if (it->is_regular_file(sizeError)) {
            const auto size = it->file_size(sizeError);
            if (!sizeError)
                total += size;
        }
    }
    return total;
}

double BurnerControl::GetDiscFreeBytes() {
    if (!selected_)
        return 0.0;
    selected_->RefreshDiscInfo();
    selected_->ReleaseGrabber();
    return selected_->GetFreeSpace();
}

bool BurnerControl::EraseDisc() {
    if (!selected_ || busy_)
        return false;
    speeds_.clear();
    if (!selected_->GetSpeedList(speeds_))
        return false;
    selected_->ReleaseGrabber();
    eraseParams_.eraseType = 1;
    if (speeds_.empty()) {
        eraseParams_.writeRate = FastestRate;
        eraseParams_.speedName.clear();
    } else {
        eraseParams_.writeRate = speeds_.back().rate;
        eraseParams_.speedName = speeds_.back().name;
    }
    JoinWorkers();
    busy_ = true;
    CDevice* drive = selected_;
    if (!StartWorker(worker_, [this, drive] {
            const bool erased = drive->Erase(eraseParams_);
            drive->ReleaseGrabber();
            lastResult_ = erased ? 1 : 0;
            Post(BurnerEraseDone, erased ? 1 : 0);
            FinishWorker();
        })) {
        busy_ = false;
        return false;
    }
    WaitWhileBusy();
    return lastResult_ != 0;
}

void BurnerControl::Poll() {
    CDevice* drive = selected_;
    {
        std::unique_lock lock(busyLock_);
        while (busy_ && drive->GetState() != DeviceBurning)
            busyChanged_.wait_for(lock, PollStep);
        while (busy_ && drive->GetState() == DeviceBurning) {
            lock.unlock();
            Post(BurnerProgress, drive->GetProgress());
            lock.lock();
            busyChanged_.wait_for(lock, PollStep, [this] { return !busy_; });
        }
    }
    Post(BurnerProgress, drive->GetProgress());
}

bool BurnerControl::BurnDVDFolder() {
    if (!selected_ || busy_)
        return false;
    burnParams_.sendCalibration = 1;
    burnParams_.sessionFlag = 0;
    CDevice* drive = selected_;
    drive->LockDrive();
    drive->ReleaseGrabber();

    JoinWorkers();
    lastResult_ = 0;
    busy_ = true;
    bool started = StartWorker(poller_, [this] { Poll(); });
    if (started)
        started = StartWorker(worker_, [this, drive] {
            const bool burned = drive->BurnDVDVideo(burnParams_, folder_);
            drive->ReleaseGrabber();
            lastResult_ = burned ? 1 : 0;
            Post(BurnerBurnDone, burned ? 1 : 0);
            FinishWorker();
        });
    if (started) {
        WaitWhileBusy();
    } else {
        // The poller, if it runs, ends once the busy flag is down.
        FinishWorker();
        JoinWorkers();
    }
    // Unlocked whatever happened, so the disc is not held in a dead drive.
    drive->UnlockDrive();
    drive->ReleaseGrabber();
    return started && lastResult_ != 0;
}

} // namespace quilo
