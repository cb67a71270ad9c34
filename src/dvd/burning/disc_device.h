// One optical drive, and the process-wide list of drives, over the disc library.
// The drive is opened around each operation and closed again by the caller
// (ReleaseGrabber); only the progress percent is shared while an operation runs.
#pragma once

#include "dvd/burning/disc_library.h"
#include "dvd/burning/disc_types.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace quilo {

// (channel, severity, text): channel 1 status lines, 0 detail lines; severity
// 0 information, 2 warning, 3 error.
using DiscLogHook = void (*)(int channel, int severity, const std::string& text);
using EventHook = void (*)(int event);

class CDevice {
public:
    CDevice(TransportKind transport, std::string deviceName);
    virtual ~CDevice();
    // A copy starts without an open handle, speed list or event hook.
    CDevice(const CDevice& other);
    CDevice& operator=(const CDevice& other);

    // The library calls every drive uses; the real library from `folder` unless
    // a substitute is given. False when the library cannot be bound.
    static bool LoadDiscLibrary(const std::string& folder);
    static void UseDiscLibrary(const DiscLibraryCalls* calls);
    static bool InitStarBurnDll();
    static void ShutDownStarBurnDll();
    // Drives given by address (libburn "stdio:" pseudo-drives) that every scan
    // lists after the system's own drives.
    static void SetPseudoDrives(std::vector<std::string> addresses);
    // The library's search; returns the number of drives listed.
    static int FindASPIDevices();
    // /dev/sr0 … /dev/sr25 in order, then the pseudo-drives; a drive that does not open is left out.
    static void FindSPTIDevices();
    static std::vector<CDevice>& Devices();
    // Every line goes through here; the default discards them.
    static void SetLogHook(DiscLogHook hook);

    bool CdvdBurnerGrabberCreate(discwriter_callback callback, int finalFlag);
    bool ReleaseGrabber();
    bool RefreshDeviceInfo();
    bool RefreshDeviceLetter(std::string& letter);
    bool RefreshDiscType();
    bool RefreshMediaSize();
    bool RefreshDataMediaFreeSize();
    bool RefreshDiscInfo();
    bool IsDiscBlank();
    bool RefreshTOCInfo();
    bool SetSpeed(uint32_t& rate);
    bool GetWriteSpeeds();
    bool GetSpeedList(TSpeeds& speeds);
    int GetTotalTimeErasing(const TEraseParams& params);
    bool Erase(TEraseParams& params);
    bool LoadInternal();
    bool EjectInternal();
    bool LockDrive();
    bool UnlockDrive();
    bool BurnDVDVideo(TBurnParams& params, const std::string& folder);
    void DVDVideoBurnCallback(int event, void* special1, void* special2);

    void SetProgress(int percent);
    int GetProgress() const;
    void SetEventHook(EventHook hook) { eventHook_ = hook; }
    // The most the free space may report (0: no limit): a file posing as a
    // disc is only as large as the disc it will be burned to.
    void SetCapacityLimit(uint64_t bytes) { capacityLimit_ = bytes; }

    DeviceState GetState() const { return state_.load(); }
    DiscType GetDiscType() const { return discType_; }
    double GetUsedSpace() const { return usedSpace_; }
    double GetFreeSpace() const { return freeSpace_; }
    const std::string& GetVendor() const { return vendor_; }
    const std::string& GetProduct() const { return product_; }
    const std::string& GetRevision() const { return revision_; }
    const std::string& GetDriveLetter() const { return driveLetter_; }
    const std::string& GetDeviceName() const { return deviceName_; }
    TransportKind GetTransport() const { return transport_; }
    uint32_t GetCacheSize() const { return cacheSize_; }
    bool InfoLoaded() const { return infoLoaded_ != 0; }
    int GetTrackCount() const { return toc_.track_count; }
    int GetSessionCount() const { return toc_.session_count; }
    uint32_t GetLastResult() const { return lastResult_; }
    const std::string& GetExceptionText() const { return exceptionText_; }

private:
    static const DiscLibraryCalls* Library();
    bool EnsureOpen();
    // Stores the result; a failure writes a detail line naming the call.
    bool Check(const char* operation, const char* call, int result);
    static void NoOpCallback(int, void*, void*, void*) {}
    static void BurnEventCallback(int event, void* context, void* special1, void* special2);

    uint8_t infoLoaded_ = 0;
    std::string deviceName_;
    TransportKind transport_;
    discwriter_grabber* handle_ = nullptr;
    std::string vendor_, product_, revision_;
    std::string driveLetter_;
    uint32_t cacheSize_ = 0;
    DiscType discType_ = 0;
    double usedSpace_ = 0, freeSpace_ = 0;
    int progress_ = 0;
    TEraseParams eraseParams_;
    int eraseSeconds_ = 0;
    std::atomic<DeviceState> state_{DeviceIdle};
    discwriter_toc toc_{};
    unsigned statusWord_ = 0;
    std::string exceptionText_;
    uint32_t lastResult_ = 0;
    mutable std::mutex progressLock_;
    TSpeeds speeds_;
    EventHook eventHook_ = nullptr;
    uint64_t capacityLimit_ = 0;
};

} // namespace quilo
