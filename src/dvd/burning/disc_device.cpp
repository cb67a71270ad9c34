#include "dvd/burning/disc_device.h"

#include "platform/program_folders.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace quilo {
namespace {

const DiscLibraryCalls* library = nullptr;
DiscLibraryBinding binding;
std::vector<std::string> pseudoDrives;
DiscLogHook logHook = nullptr;

[[gnu::format(printf, 3, 4)]] void Log(int channel, int severity, const char* format, ...) {
    if (!logHook)
        return;
    std::array<char, 2048> text{};
    va_list args;
    va_start(args, format);
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    logHook(channel, severity, text.data());
}
void Status(const char* text, int severity = 0) {
    Log(1, severity, "%s", text);
}

void AppendFoundDevice(int event, void*, void* special1, void*) {
    if (event == DISCWRITER_EVENT_DRIVE_FOUND && special1)
        CDevice::Devices().emplace_back(TransportASPI,
                                        static_cast<discwriter_device_record*>(special1)->address);
}

} // namespace

void DiscLogLine(int channel, int severity, const std::string& text) {
    if (logHook)
        logHook(channel, severity, text);
}

const DiscLibraryCalls* CDevice::Library() {
    return library;
}

CDevice::CDevice(TransportKind transport, std::string deviceName)
    : deviceName_(std::move(deviceName)), transport_(transport) {}

CDevice::~CDevice() {
    ReleaseGrabber();
}

CDevice::CDevice(const CDevice& other) {
    *this = other;
}

CDevice& CDevice::operator=(const CDevice& other) {
    if (this == &other)
        return *this;
    ReleaseGrabber();
    infoLoaded_ = other.infoLoaded_;
    deviceName_ = other.deviceName_;
    transport_ = other.transport_;
    vendor_ = other.vendor_;
    product_ = other.product_;
    revision_ = other.revision_;
    driveLetter_ = other.driveLetter_;
    cacheSize_ = other.cacheSize_;
    discType_ = other.discType_;
    usedSpace_ = other.usedSpace_;
    freeSpace_ = other.freeSpace_;
    SetProgress(other.GetProgress());
    eraseParams_ = other.eraseParams_;
    eraseSeconds_ = other.eraseSeconds_;
    state_ = other.state_.load();
    toc_ = other.toc_;
    statusWord_ = other.statusWord_;
    exceptionText_ = other.exceptionText_;
    lastResult_ = other.lastResult_;
    capacityLimit_ = other.capacityLimit_;
    speeds_.clear();
    eventHook_ = nullptr;
    return *this;
}

bool CDevice::LoadDiscLibrary(const std::string& folder) {
    if (!binding.Load(folder)) {
        Log(0, 3, "CDevice::LoadDiscLibrary(): %s%s: %s\n", folder.c_str(), DiscLibraryName,
            binding.error().c_str());
        library = nullptr;
        return false;
    }
    library = &binding.calls();
    return true;
}

void CDevice::UseDiscLibrary(const DiscLibraryCalls* calls) {
    library = calls;
}

bool CDevice::InitStarBurnDll() {
    if (!library && !LoadDiscLibrary(ThisProgramFolders().libraries))
        return false;
    if (library->up_start() != DISCWRITER_OK) {
        Log(0, 3, "Can't UpStartEx StarBurn");
        return false;
    }
    return true;
}

void CDevice::ShutDownStarBurnDll() {
    if (library)
        library->shut_down();
}

void CDevice::SetPseudoDrives(std::vector<std::string> addresses) {
    pseudoDrives = std::move(addresses);
}

std::vector<CDevice>& CDevice::Devices() {
    static std::vector<CDevice> devices;
    return devices;
}

void CDevice::SetLogHook(DiscLogHook hook) {
    logHook = hook;
}

int CDevice::FindASPIDevices() {
    InitStarBurnDll();
    Devices().clear();
    if (!library)
        return 0;
    std::vector<const char*> extra;
    for (const auto& address : pseudoDrives)
        extra.push_back(address.c_str());
    library->find_devices(extra.data(), static_cast<int>(extra.size()), AppendFoundDevice, nullptr);
    return static_cast<int>(Devices().size());
}

void CDevice::FindSPTIDevices() {
    InitStarBurnDll();
    Devices().clear();
    if (!library)
        return;
    std::vector<std::string> candidates;
    std::error_code error;
    for (int number = 0; number < 26; ++number) {
        const std::string path = "/dev/sr" + std::to_string(number);
        if (std::filesystem::exists(path, error))
            candidates.push_back(path);
    }
    candidates.insert(candidates.end(), pseudoDrives.begin(), pseudoDrives.end());
    for (const auto& name : candidates) {
        CDevice device(TransportSPTI, name);
        if (device.CdvdBurnerGrabberCreate(NoOpCallback, 1)) {
            device.ReleaseGrabber();
            Devices().push_back(device);
        }
    }
}

bool CDevice::Check(const char* operation, const char* call, int result) {
    lastResult_ = static_cast<uint32_t>(result);
    if (result == DISCWRITER_OK)
        return true;
    if (library && handle_)
        exceptionText_ = library->grabber_error(handle_);
    Log(0, 3, "\n\nCDevice::%s(): %s() failed, exception %ld, status %ld, text '%s'\n", operation, call,
        static_cast<long>(lastResult_), static_cast<long>(statusWord_), exceptionText_.c_str());
    return false;
}

bool CDevice::CdvdBurnerGrabberCreate(discwriter_callback callback, int finalFlag) {
    lastResult_ = 0;
    statusWord_ = 31;
    if (handle_)
        return true;
    if (!library) {
        lastResult_ = DISCWRITER_E_NOT_STARTED;
        exceptionText_ = "the disc library is not loaded";
        return false;
    }
    std::array<char, 1024> text{};
    const int result = library->grabber_create(&handle_, text.data(), text.size(), &statusWord_, callback,
                                               this, deviceName_.c_str(), finalFlag);
    exceptionText_ = text.data();
    if (result != DISCWRITER_OK)
        handle_ = nullptr;
    return Check("CdvdBurnerGrabberCreate", "discwriter_grabber_create", result);
}

bool CDevice::ReleaseGrabber() {
    if (handle_ && library)
        library->grabber_release(&handle_);
    handle_ = nullptr;
    return true;
}

bool CDevice::EnsureOpen() {
    return handle_ || CdvdBurnerGrabberCreate(NoOpCallback, 1);
}

bool CDevice::RefreshDeviceInfo() {
    if (!EnsureOpen())
        return false;
    std::array<char, 1024> vendor{}, product{}, revision{};
    if (Check("RefreshDeviceInfo", "discwriter_device_info",
              library->device_info(handle_, vendor.data(), product.data(), revision.data(), 1024,
                                   &cacheSize_))) {
        vendor_ = vendor.data();
        product_ = product.data();
        revision_ = revision.data();
    }
    infoLoaded_ = 1;
    RefreshDeviceLetter(driveLetter_);
    return true;
}

bool CDevice::RefreshDeviceLetter(std::string& letter) {
    if (!library)
        return false;
    std::array<char, 1024> path{};
    if (!Check("RefreshDeviceLetter", "discwriter_device_path",
               library->device_path(deviceName_.c_str(), path.data(), path.size())))
        return false;
    letter = path.data();
    return true;
}

bool CDevice::RefreshDiscType() {
    if (!EnsureOpen())
        return false;
    discType_ = library->disc_type(handle_);
    lastResult_ = 0;
    return true;
}

bool CDevice::RefreshMediaSize() {
    usedSpace_ = 0;
    if (discType_ == DiscTypeEmpty)
        return true;
    if (!EnsureOpen())
        return false;
    uint64_t used = 0;
    if (!Check("RefreshMediaSize", "discwriter_disc_used_space", library->disc_used_space(handle_, &used)))
        return false;
    usedSpace_ = static_cast<double>(used);
    return true;
}

bool CDevice::RefreshDataMediaFreeSize() {
    freeSpace_ = 0;
    if (discType_ == DiscTypeEmpty)
        return true;
    if (!EnsureOpen())
        return false;
    uint64_t free = 0;
    if (!Check("RefreshDataMediaFreeSize", "discwriter_disc_free_space",
               library->disc_free_space(handle_, &free)))
        return false;
    if (capacityLimit_ != 0)
        free = std::min(free, capacityLimit_);
    freeSpace_ = static_cast<double>(free);
    return true;
}

bool CDevice::RefreshDiscInfo() {
    return RefreshDiscType() && RefreshMediaSize() && RefreshDataMediaFreeSize();
}

bool CDevice::IsDiscBlank() {
    if (!EnsureOpen())
        return false;
    unsigned char blank = 0;
    return Check("IsDiscBlank", "discwriter_disc_information", library->disc_information(handle_, &blank)) &&
           blank != 0;
}

bool CDevice::RefreshTOCInfo() {
    if (!EnsureOpen())
        return false;
    return Check("RefreshTOCInfo", "discwriter_toc_information", library->toc_information(handle_, &toc_));
}

bool CDevice::SetSpeed(uint32_t& rate) {
    if (!EnsureOpen())
        return false;
    constexpr unsigned Fastest = 0xFFFF;
    const bool bluRay = discType_ == 18 || discType_ == 19;
    if (!Check("SetSpeed", "discwriter_set_speeds",
               library->set_speeds(handle_, Fastest, bluRay ? Fastest : rate)))
        return false;
    unsigned currentWrite = 0;
    if (!Check("SetSpeed", "discwriter_get_speeds",
               library->get_speeds(handle_, nullptr, nullptr, &currentWrite, nullptr)))
        return false;
    rate = currentWrite;
    return true;
}

bool CDevice::GetWriteSpeeds() {
    speeds_.clear();
    if (!EnsureOpen())
        return false;
    unsigned maxWrite = 0;
    if (!Check("GetWriteSpeeds", "discwriter_get_speeds",
               library->get_speeds(handle_, nullptr, nullptr, nullptr, &maxWrite)))
        return false;
    const bool cd = IsCdFamily(discType_);
    if (!cd && !IsDvdFamily(discType_))
        return true;
    const std::vector<SpeedRow>& table = cd ? CdSpeedTable() : DvdSpeedTable();
    uint32_t current = 0;
    for (const SpeedRow& row : table) {
        if (row.rate > current) {
            const uint32_t previous = current;
            current = row.rate;
            if (SetSpeed(current) && previous != current) {
                const char* name = NearestSpeedName(table, current);
                const bool listed = std::any_of(speeds_.begin(), speeds_.end(),
                                                [name](const TSpeed& s) { return s.name == name; });
                if (name && !listed)
                    speeds_.push_back({current, name});
            }
        }
        if (cd && row.rate == maxWrite)
            break;
    }
    return true;
}

bool CDevice::GetSpeedList(TSpeeds& speeds) {
    if (speeds_.empty()) {
        GetWriteSpeeds();
        ReleaseGrabber();
    }
    speeds = speeds_;
    return true;
}

int CDevice::GetTotalTimeErasing(const TEraseParams& params) {
    if (!EnsureOpen() ||
        !Check("GetTotalTimeErasing", "discwriter_test_unit_ready", library->test_unit_ready(handle_)))
        return 0;
    uint32_t rate = params.writeRate;
    // A drive that reports no rate gives no estimate rather than a division by zero.
    if (!SetSpeed(rate) || rate == 0 || discType_ < 6 || discType_ > 9)
        return 0;
    const long long capacityKb = static_cast<long long>((usedSpace_ + freeSpace_) / 1024);
    return static_cast<int>(params.eraseType != 0 ? (capacityKb + 716800) / rate : 716800 / rate);
}

bool CDevice::Erase(TEraseParams& params) {
    Status("Srarted.");
    eraseParams_ = params;
    if (!EnsureOpen())
        return false;
    Status("Testing unit ready...");
    if (!Check("Erase", "discwriter_test_unit_ready", library->test_unit_ready(handle_))) {
        Status("Unit is not ready!", 3);
        return false;
    }
    Status("Unit ready.");
    Log(1, 0, "Setting speed %s (%ld KBps)... ", params.speedName.c_str(),
        static_cast<long>(params.writeRate));
    if (SetSpeed(params.writeRate))
        Log(1, 0, "Setting speed %s (%ld KBps) successfully!", params.speedName.c_str(),
            static_cast<long>(params.writeRate));
    else
        Status("Setting speed failed!", 2);

    Status("Erasing...");
    state_ = DeviceErasing;
    eraseSeconds_ = GetTotalTimeErasing(params);
    std::mutex tickerLock;
    std::condition_variable tickerWake;
    bool erased = false;
    SetProgress(0);
    // The library says nothing while it blanks; the estimate moves the bar instead.
    std::thread ticker([&] {
        std::unique_lock lock(tickerLock);
        for (int i = 0; i < eraseSeconds_; ++i) {
            if (tickerWake.wait_for(lock, std::chrono::seconds(1), [&] { return erased; }))
                return;
            SetProgress((i + 1) * 100 / eraseSeconds_);
        }
    });
    const bool blanked = Check("Erase", "discwriter_blank", library->blank(handle_, params.eraseType));
    {
        std::lock_guard lock(tickerLock);
        erased = true;
    }
    tickerWake.notify_all();
    ticker.join();
    state_ = DeviceIdle;
    if (!blanked)
        return false;
    SetProgress(100);
    Status("Erasing Complete");
    return true;
}

bool CDevice::LoadInternal() {
    if (!EnsureOpen())
        return false;
    state_ = DeviceLoading;
    const bool loaded = Check("LoadInternal", "discwriter_load", library->load(handle_));
    state_ = DeviceIdle;
    Status(loaded ? "Load" : "Loading Error!", loaded ? 0 : 3);
    return loaded;
}

bool CDevice::EjectInternal() {
    if (!EnsureOpen())
        return false;
    Status("Eject");
    state_ = DeviceEjecting;
    const bool ejected = Check("EjectInternal", "discwriter_eject", library->eject(handle_));
    state_ = DeviceIdle;
    if (!ejected)
        Status("Ejecting Error!", 3);
    return ejected;
}

bool CDevice::LockDrive() {
    return EnsureOpen() && Check("LockDrive", "discwriter_lock", library->lock(handle_));
}

bool CDevice::UnlockDrive() {
    return EnsureOpen() && Check("UnlockDrive", "discwriter_unlock", library->unlock(handle_));
}

void CDevice::SetProgress(int percent) {
    std::lock_guard lock(progressLock_);
    progress_ = percent;
}

int CDevice::GetProgress() const {
    std::lock_guard lock(progressLock_);
    return progress_;
}

} // namespace quilo
