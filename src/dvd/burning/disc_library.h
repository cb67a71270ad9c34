// The calls of the disc library the device layer relies on, as a table of
// function pointers: the real library bound by name, or a substitute in tests.
#pragma once

#include "discwriter.h"
#include "platform/library_loader.h"

#include <string>

namespace quilo {

inline constexpr const char* DiscLibraryName = "libdiscwriter.so";

struct DiscLibraryCalls {
    decltype(&discwriter_up_start) up_start = nullptr;
    decltype(&discwriter_shut_down) shut_down = nullptr;
    decltype(&discwriter_find_devices) find_devices = nullptr;
    decltype(&discwriter_grabber_create) grabber_create = nullptr;
    decltype(&discwriter_grabber_release) grabber_release = nullptr;
    decltype(&discwriter_grabber_error) grabber_error = nullptr;
    decltype(&discwriter_device_path) device_path = nullptr;
    decltype(&discwriter_device_info) device_info = nullptr;
    decltype(&discwriter_test_unit_ready) test_unit_ready = nullptr;
    decltype(&discwriter_disc_type) disc_type = nullptr;
    decltype(&discwriter_disc_used_space) disc_used_space = nullptr;
    decltype(&discwriter_disc_free_space) disc_free_space = nullptr;
    decltype(&discwriter_disc_information) disc_information = nullptr;
    decltype(&discwriter_toc_information) toc_information = nullptr;
    decltype(&discwriter_get_speeds) get_speeds = nullptr;
    decltype(&discwriter_set_speeds) set_speeds = nullptr;
    decltype(&discwriter_blank) blank = nullptr;
    decltype(&discwriter_load) load = nullptr;
    decltype(&discwriter_eject) eject = nullptr;
    decltype(&discwriter_lock) lock = nullptr;
    decltype(&discwriter_unlock) unlock = nullptr;
    decltype(&discwriter_dvdvideo_create) dvdvideo_create = nullptr;
    decltype(&discwriter_dvdvideo_destroy) dvdvideo_destroy = nullptr;
    decltype(&discwriter_probe_write_modes) probe_write_modes = nullptr;
    decltype(&discwriter_get_bup) get_bup = nullptr;
    decltype(&discwriter_set_bup) set_bup = nullptr;
    decltype(&discwriter_send_opc) send_opc = nullptr;
    decltype(&discwriter_track_at_once) track_at_once = nullptr;
    decltype(&discwriter_close_session) close_session = nullptr;
};

// The real library loaded from a folder and bound by name.
class DiscLibraryBinding {
public:
    // False (with error()) when the file is missing or lacks a call.
    bool Load(const std::string& folder);
    const DiscLibraryCalls& calls() const { return calls_; }
    const std::string& error() const { return error_; }

private:
    SharedLibrary library_;
    DiscLibraryCalls calls_;
    std::string error_;
};

} // namespace quilo
