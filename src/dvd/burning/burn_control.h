// The burner control: the one way the rest of the program reaches the drives.
// It keeps the chosen drive and the burn and erase parameters, runs the scan,
// erase and burn on worker threads while the calling thread keeps handling its
// messages, and reports to a notify window by posted messages.
#pragma once

#include "dvd/burning/disc_device.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <quilo/window_port.h>
#include <string>
#include <thread>
#include <vector>

namespace quilo {

inline constexpr unsigned WM_BURNER_NOTIFY = 1162;
// wParam of WM_BURNER_NOTIFY.
enum BurnerNotice : long { BurnerScanDone = 1, BurnerBurnDone = 2, BurnerProgress = 3, BurnerEraseDone = 4 };

// Results of SelectBurner.
enum BurnerCheck : int { BurnerMissing = 0, BurnerUsable = 1, BurnerNeedsErase = 2, BurnerNotWritable = 3 };

inline constexpr const char* DefaultVolumeLabel = "DVD_DISC";
// What a single-layer DVD holds: an image file is refused beyond it, as the
// disc it is meant for would refuse it.
inline constexpr uint64_t SingleLayerDvdBytes = 2295104ull * 2048;

class BurnerControl {
public:
    BurnerControl();
    ~BurnerControl();
    BurnerControl(const BurnerControl&) = delete;
    BurnerControl& operator=(const BurnerControl&) = delete;

    // Called between the short sleeps of a wait, on the waiting thread. The
    // default processes the pending Qt events when that thread runs the
    // application's event loop.
    void SetMessagePump(std::function<void()> pump) { pump_ = std::move(pump); }

    void InitBurner(const QuiloWindowPort* notifyWindow);
    void UninitBurner();
    bool initialised() const { return speedNames_.has_value(); }

    bool ScanBurners(bool spti, bool wait);
    bool scanned() const { return scanned_; }

    std::string GetBurnerName(int index) const;
    // Null when the index is outside the list.
    const std::vector<std::string>* GetWriteSpeedNames(int index, bool refresh);
    // A file written like a blank DVD, through the disc library's file drive:
    // the last drive of the list until the next scan. Returns its index, -1
    // while an operation runs.
    int UseImageFile(const std::string& path);
    bool IsImageDrive(int index) const;
    int SelectBurner(int index);
    void SetWriteSpeed(int index);
    void SetVolumeLabel(const std::string& label);
    void LockBurner();
    void EjectDisc();
    void LoadDisc();

    std::string GetDiscTypeName() const;
    double GetFreeSizeMB() const;
    double GetUsedSizeMB() const;
    int GetTrackCount();
    int GetSessionCount();

    uint64_t GetFolderSize(const std::string& folder);
    double GetDiscFreeBytes();

    bool EraseDisc();
    bool BurnDVDFolder();

    CDevice* selectedDrive() const { return selected_; }
    const TBurnParams& burnParams() const { return burnParams_; }
    const TEraseParams& eraseParams() const { return eraseParams_; }
    const TSpeeds& speeds() const { return speeds_; }
    const std::string& folderToBurn() const { return folder_; }
    bool busy() const { return busy_; }
    uint8_t lastResult() const { return lastResult_; }

private:
    void Post(long wParam, long lParam) const;
    // Starts `work` on a worker thread with the busy flag set; false when no
    // thread could be made.
    bool StartWorker(std::thread& thread, std::function<void()> work);
    void FinishWorker();
    void WaitWhileBusy();
    void JoinWorkers();
    void Poll();
    static void DriveEventHook(int event);

    std::function<void()> pump_;
    const QuiloWindowPort* notify_ = nullptr;
    CDevice* selected_ = nullptr;
    std::optional<std::vector<std::string>> speedNames_;
    bool scanned_ = false;
    bool spti_ = false;
    bool imageDrive_ = false; // the list's last drive is UseImageFile's
    TSpeeds speeds_;
    TBurnParams burnParams_;
    TEraseParams eraseParams_;
    std::string folder_;
    std::atomic<bool> busy_{false};
    std::atomic<uint8_t> lastResult_{0};

    std::mutex busyLock_;
    std::condition_variable busyChanged_;
    std::thread worker_, poller_;
};

} // namespace quilo
