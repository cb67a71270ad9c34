// Writing a DVD-Video folder to the disc, and the write events that come meanwhile.
#include "dvd/burning/disc_device.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>

namespace quilo {

// The log goes through the device's hook in disc_device.cpp; burning needs the same lines.
void DiscLogLine(int channel, int severity, const std::string& text);

namespace {

void Status(const char* text, int severity = 0) {
    DiscLogLine(1, severity, text);
}

template <typename... Args> std::string Format(const char* format, Args... args) {
    std::array<char, 512> text{};
    std::snprintf(text.data(), text.size(), format, args...);
    return text.data();
}

} // namespace

void CDevice::BurnEventCallback(int event, void* context, void* special1, void* special2) {
    if (context)
        static_cast<CDevice*>(context)->DVDVideoBurnCallback(event, special1, special2);
}

bool CDevice::BurnDVDVideo(TBurnParams& params, const std::string& folder) {
    const DiscLibraryCalls* calls = Library();
    Status("Started");
    if (!calls) {
        Status("Creating DVD-Video file system failed!", 3);
        return false;
    }
    discwriter_dvdvideo* image = nullptr;
    const auto fatal = [&](const char* text) {
        Status(text, 3);
        calls->dvdvideo_destroy(&image);
        return false;
    };
    std::array<char, 1024> text{};
    const int created = calls->dvdvideo_create(&image, folder.c_str(), text.data(), text.size(), &statusWord_,
                                               params.volumeLabel.c_str(), "VantorelSoftware",
                                               "KavoHDConverterTamber", 2010, 4, 20, 12, 10, 0, 50);
    exceptionText_ = text.data();
    if (!Check("BurnDVDVideo", "discwriter_dvdvideo_create", created))
        return fatal("Creating DVD-Video file system failed!");
    if (!handle_ && !CdvdBurnerGrabberCreate(BurnEventCallback, 0))
        return fatal("Started Error!");
    if (!Check("BurnDVDVideo", "discwriter_test_unit_ready", calls->test_unit_ready(handle_)))
        return fatal("Unit is not ready!");
    Status("Unit is ready!");

    Status("Probing supported write modes...");
    unsigned char trackAtOnce = 0, sessionAtOnce = 0, pq = 0, raw = 0;
    if (!Check("BurnDVDVideo", "discwriter_probe_write_modes",
               calls->probe_write_modes(handle_, &trackAtOnce, &sessionAtOnce, &pq, &raw)))
        return fatal("Probing supported write modes Error!");
    if (!trackAtOnce)
        return fatal("Track-At-Once is unsupported!");
    Status("Track-At-Once is supported!");

    Status("Getting BUP (Buffer Underrun Protection) support...");
    unsigned char bupEnabled = 0, bupSupported = 0;
    if (!Check("BurnDVDVideo", "discwriter_get_bup", calls->get_bup(handle_, &bupEnabled, &bupSupported)))
        return fatal("Getting BUP failed!");
    Status("Getting BUP succeeded!");
    Status("Enabling BUP (Buffer Underrun Protection)...");
    if (Check("BurnDVDVideo", "discwriter_set_bup", calls->set_bup(handle_, 1)))
        Status("Enabling BUP succeeded!");
    else
        Status("Enabling BUP failed!", 2);

    DiscLogLine(
        1, 0,
        Format("Setting speed %s (%ld KBps)... ", params.writeSpeedName.c_str(), long(params.writeRate)));
    if (SetSpeed(params.writeRate))
        DiscLogLine(1, 0,
                    Format("Setting speed %s (%ld KBps) successfully!", params.writeSpeedName.c_str(),
                           long(params.writeRate)));
    else
        Status("Setting speed failed!", 2);

    if (params.sendCalibration) {
        Status("Sending OPC (Optimum Power Calibration)...");
        if (Check("BurnDVDVideo", "discwriter_send_opc", calls->send_opc(handle_)))
            Status("Sending OPC succeeded.");
        else
            Status("Sending OPC Error!", 2);
    } else {
        Status("Writing the stuff (simulating) to the CD/DVD disc");
    }

    SetProgress(0);
    state_ = DeviceBurning;
    text.fill(0);
    const int written =
        calls->track_at_once(handle_, text.data(), text.size(), &statusWord_, image, params.sessionFlag);
    exceptionText_ = text.data();
    state_ = DeviceIdle;
    if (!Check("BurnDVDVideo", "discwriter_track_at_once", written))
        return fatal("Burning Error!");

    if (params.sessionFlag == 0) {
        Status("Closing session...");
        if (!Check("BurnDVDVideo", "discwriter_close_session", calls->close_session(handle_)))
            return fatal("Closing Session Error!");
        Status("Closing session success!");
    }
    SetProgress(100);
    Status("Burning Completed");
    calls->dvdvideo_destroy(&image);
    return true;
}

void CDevice::DVDVideoBurnCallback(int event, void* special1, void* special2) {
    if (eventHook_)
        eventHook_(event);
    const auto detail = [](const char* name) {
        DiscLogLine(0, 0, Format("CDevice::DVDVideoBurnCallback(): %s\n", name));
    };
    const auto value = [](void* special) { return special ? *static_cast<uint64_t*>(special) : uint64_t{0}; };
    switch (event) {
    case 4:
        detail("TARGET_FILE_ANALYZE_BEGIN");
        break;
    case 5:
        detail("TARGET_FILE_ANALYZE_END");
        DiscLogLine(0, 0,
                    Format("Image size %" PRIu64 " bytes, %" PRIu64 " logical blocks\n", value(special1),
                           value(special2)));
        break;
    case 6:
        detail("WAIT_CACHE_FULL_BEGIN");
        DiscLogLine(0, 0, Format("Wait limit %" PRIu64 " ms\n", value(special1)));
        break;
    case 7:
        detail("WAIT_CACHE_FULL_END");
        Status("Cache is Full.");
        Status("Burning...");
        break;
    case 8:
        detail("SYNCHRONIZE_CACHE_BEGIN");
        break;
    case 9:
        detail("SYNCHRONIZE_CACHE_END");
        break;
    case 12: {
        const uint64_t total = value(special1);
        // A write that reports no size yet leaves the percent where it is.
        if (total == 0)
            break;
        const int percent = static_cast<int>(std::min<uint64_t>(value(special2) * 100 / total, 100));
        if (percent != GetProgress())
            SetProgress(percent);
        DiscLogLine(0, 0, Format("%d%% ", percent));
        break;
    }
    case 21:
        detail("DVDPLUSRW_FORMAT_BEGIN");
        break;
    case 22:
        detail("DVDPLUSRW_FORMAT_END");
        break;
    case 26:
        detail("CN_DVD_MEDIA_PADDING_SIZE");
        DiscLogLine(0, 0,
                    Format("Image size %" PRIu64 ", padding size %" PRIu64 " logical blocks\n",
                           value(special1), value(special2)));
        break;
    case 27:
        detail("DVD_MEDIA_PADDING_BEGIN");
        break;
    case 28:
        detail("DVD_MEDIA_PADDING_END");
        break;
    case 30:
        detail("DVDRW_QUICK_FORMAT_BEGIN");
        break;
    case 31:
        detail("DVDRW_QUICK_FORMAT_END");
        break;
    default:
        break;
    }
}

} // namespace quilo
