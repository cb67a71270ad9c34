#include "dvd/burning/disc_library.h"

namespace quilo {

bool DiscLibraryBinding::Load(const std::string& folder) {
    calls_ = {};
    if (!library_.load(folder + DiscLibraryName)) {
        error_ = library_.error();
        return false;
    }
    const auto bind = [this](auto& slot, const char* name) {
        slot = library_.function<std::remove_reference_t<decltype(slot)>>(name);
        if (!slot)
            error_ += std::string(error_.empty() ? "missing: " : ", ") + name;
    };
    error_.clear();
    bind(calls_.up_start, "discwriter_up_start");
    bind(calls_.shut_down, "discwriter_shut_down");
    bind(calls_.find_devices, "discwriter_find_devices");
    bind(calls_.grabber_create, "discwriter_grabber_create");
    bind(calls_.grabber_release, "discwriter_grabber_release");
    bind(calls_.grabber_error, "discwriter_grabber_error");
    bind(calls_.device_path, "discwriter_device_path");
    bind(calls_.device_info, "discwriter_device_info");
    bind(calls_.test_unit_ready, "discwriter_test_unit_ready");
    bind(calls_.disc_type, "discwriter_disc_type");
    bind(calls_.disc_used_space, "discwriter_disc_used_space");
    bind(calls_.disc_free_space, "discwriter_disc_free_space");
    bind(calls_.disc_information, "discwriter_disc_information");
    bind(calls_.toc_information, "discwriter_toc_information");
    bind(calls_.get_speeds, "discwriter_get_speeds");
    bind(calls_.set_speeds, "discwriter_set_speeds");
    bind(calls_.blank, "discwriter_blank");
    bind(calls_.load, "discwriter_load");
    bind(calls_.eject, "discwriter_eject");
    bind(calls_.lock, "discwriter_lock");
    bind(calls_.unlock, "discwriter_unlock");
    bind(calls_.dvdvideo_create, "discwriter_dvdvideo_create");
    bind(calls_.dvdvideo_destroy, "discwriter_dvdvideo_destroy");
    bind(calls_.probe_write_modes, "discwriter_probe_write_modes");
    bind(calls_.get_bup, "discwriter_get_bup");
    bind(calls_.set_bup, "discwriter_set_bup");
    bind(calls_.send_opc, "discwriter_send_opc");
    bind(calls_.track_at_once, "discwriter_track_at_once");
    bind(calls_.close_session, "discwriter_close_session");
    if (!error_.empty()) {
        calls_ = {};
        library_.unload();
        return false;
    }
    return true;
}

} // namespace quilo
