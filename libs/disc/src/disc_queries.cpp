// What the drive says about itself and the medium in it, and the speed it writes at.
#include "grabber.h"

#include <algorithm>

namespace {

constexpr int StdioFileProfile = 0xffff;

burn_drive* openDrive(discwriter_grabber* handle) {
    if (handle && !handle->info)
        handle->error = "the drive is not open (its tray was opened)";
    return handle ? handle->drive() : nullptr;
}

bool hasMedium(burn_drive* drive) {
    const burn_disc_status status = burn_disc_get_status(drive);
    return status != BURN_DISC_EMPTY && status != BURN_DISC_UNREADY && status != BURN_DISC_UNGRABBED;
}

int discTypeOfProfile(int profile, int role) {
    switch (profile) {
    case 0x08:
        return DISCWRITER_DISC_CD_ROM;
    case 0x09:
        return DISCWRITER_DISC_CD_R;
    case 0x0a:
        return DISCWRITER_DISC_CD_RW;
    case 0x10:
        return DISCWRITER_DISC_DVD_ROM;
    case 0x11:
        return DISCWRITER_DISC_DVD_R;
    case 0x12:
        return DISCWRITER_DISC_DVD_RAM;
    case 0x13:
        return DISCWRITER_DISC_DVD_RW_RESTRICTED;
    case 0x14:
        return DISCWRITER_DISC_DVD_RW;
    case 0x15:
    case 0x16:
        return DISCWRITER_DISC_DVD_R_DL;
    case 0x1a:
        return DISCWRITER_DISC_DVD_PLUS_RW;
    case 0x1b:
        return DISCWRITER_DISC_DVD_PLUS_R;
    case 0x2b:
        return DISCWRITER_DISC_DVD_PLUS_R_DL;
    case 0x40:
        return DISCWRITER_DISC_BD_ROM;
    case 0x41:
    case 0x42:
        return DISCWRITER_DISC_BD_R;
    case 0x43:
        return DISCWRITER_DISC_BD_RE;
    case 0x50:
        return DISCWRITER_DISC_HD_DVD_ROM;
    case 0x51:
        return DISCWRITER_DISC_HD_DVD_R;
    case 0x52:
        return DISCWRITER_DISC_HD_DVD_RW;
    case StdioFileProfile:
        // A regular file or block device overwrites like DVD-RAM; a write-only
        // file (a pipe, /dev/null) takes one track like a blank DVD-R.
        return role == 3   ? DISCWRITER_DISC_DVD_R
               : role == 4 ? DISCWRITER_DISC_DVD_ROM
                           : DISCWRITER_DISC_DVD_RAM;
    default:
        return DISCWRITER_DISC_UNKNOWN;
    }
}

} // namespace

using namespace discwriter;

DISCWRITER_API int discwriter_test_unit_ready(discwriter_grabber* handle) {
    burn_drive* drive = openDrive(handle);
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    if (!hasMedium(drive))
        return fail(handle, DISCWRITER_E_NOT_READY, "no medium in the drive");
    if (burn_drive_get_status(drive, nullptr) != BURN_DRIVE_IDLE)
        return fail(handle, DISCWRITER_E_NOT_READY, "the drive is busy");
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_disc_type(discwriter_grabber* handle) {
    burn_drive* drive = openDrive(handle);
    if (!drive)
        return DISCWRITER_DISC_UNKNOWN;
    if (burn_disc_get_status(drive) == BURN_DISC_EMPTY)
        return DISCWRITER_DISC_EMPTY;
    int profile = 0;
    char name[80] = {};
    if (burn_disc_get_profile(drive, &profile, name) <= 0)
        return DISCWRITER_DISC_UNKNOWN;
    return discTypeOfProfile(profile, burn_drive_get_drive_role(drive));
}

DISCWRITER_API int discwriter_disc_used_space(discwriter_grabber* handle, uint64_t* used_bytes) {
    burn_drive* drive = openDrive(handle);
    if (!used_bytes)
        return fail(handle, DISCWRITER_E_ARGUMENT, "no value to fill");
    *used_bytes = 0;
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    if (!hasMedium(drive))
        return fail(handle, DISCWRITER_E_NOT_READY, "no medium in the drive");
    burn_disc* disc = burn_drive_get_disc(drive);
    if (!disc)
        return DISCWRITER_OK; // nothing recorded
    int sessionCount = 0;
    burn_session** sessions = burn_disc_get_sessions(disc, &sessionCount);
    for (int s = 0; s < sessionCount; ++s) {
        int trackCount = 0;
        burn_track** tracks = burn_session_get_tracks(sessions[s], &trackCount);
        for (int t = 0; t < trackCount; ++t)
            *used_bytes += static_cast<uint64_t>(std::max(burn_track_get_sectors(tracks[t]), 0)) * 2048u;
    }
    burn_disc_free(disc);
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_disc_free_space(discwriter_grabber* handle, uint64_t* free_bytes) {
    burn_drive* drive = openDrive(handle);
    if (!free_bytes)
        return fail(handle, DISCWRITER_E_ARGUMENT, "no value to fill");
    *free_bytes = 0;
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    if (!hasMedium(drive))
        return fail(handle, DISCWRITER_E_NOT_READY, "no medium in the drive");
    const off_t available = burn_disc_available_space(drive, nullptr);
    *free_bytes = available > 0 ? static_cast<uint64_t>(available) : 0;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_disc_information(discwriter_grabber* handle, unsigned char* blank) {
    burn_drive* drive = openDrive(handle);
    if (!blank)
        return fail(handle, DISCWRITER_E_ARGUMENT, "no value to fill");
    *blank = 0;
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    const burn_disc_status status = burn_disc_get_status(drive);
    if (status == BURN_DISC_UNREADY || status == BURN_DISC_UNGRABBED || status == BURN_DISC_UNSUITABLE)
        return fail(handle, DISCWRITER_E_NOT_READY, "the drive cannot tell the state of the disc");
    *blank = status == BURN_DISC_BLANK ? 1 : 0;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_toc_information(discwriter_grabber* handle, discwriter_toc* toc) {
    burn_drive* drive = openDrive(handle);
    if (!toc)
        return fail(handle, DISCWRITER_E_ARGUMENT, "no table to fill");
    *toc = {};
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    if (!hasMedium(drive))
        return fail(handle, DISCWRITER_E_NOT_READY, "no medium in the drive");
    burn_disc* disc = burn_drive_get_disc(drive);
    if (!disc)
        return DISCWRITER_OK;
    burn_session** sessions = burn_disc_get_sessions(disc, &toc->session_count);
    for (int s = 0; s < toc->session_count; ++s) {
        int trackCount = 0;
        burn_session_get_tracks(sessions[s], &trackCount);
        toc->track_count += trackCount;
    }
    burn_disc_free(disc);
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_get_speeds(discwriter_grabber* handle, unsigned* current_read,
                                         unsigned* max_read, unsigned* current_write, unsigned* max_write) {
    burn_drive* drive = openDrive(handle);
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    if (current_read)
        *current_read = handle->currentRead;
    if (max_read)
        *max_read = static_cast<unsigned>(std::max(burn_drive_get_read_speed(drive), 0));
    if (current_write)
        *current_write = handle->currentWrite;
    if (max_write)
        *max_write = static_cast<unsigned>(std::max(burn_drive_get_write_speed(drive), 0));
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_set_speeds(discwriter_grabber* handle, unsigned read_rate,
                                         unsigned write_rate) {
    burn_drive* drive = openDrive(handle);
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    if (read_rate == 0 || write_rate == 0)
        return fail(handle, DISCWRITER_E_ARGUMENT, "a rate of 0 is no speed");
    constexpr unsigned Fastest = 65535;
    // The drive names the speeds it writes at; the request lands on one of them.
    unsigned accepted = 0, slowest = 0;
    burn_speed_descriptor* list = nullptr;
    if (burn_drive_get_speedlist(drive, &list) > 0) {
        for (burn_speed_descriptor* entry = list; entry; entry = entry->next) {
            const unsigned rate = static_cast<unsigned>(std::max(entry->write_speed, 0));
            if (rate == 0)
                continue;
            if (rate <= write_rate)
                accepted = std::max(accepted, rate);
            slowest = slowest == 0 ? rate : std::min(slowest, rate);
        }
        burn_drive_free_speedlist(&list);
    }
    if (accepted == 0)
        accepted = slowest;
    if (accepted == 0)
        accepted = write_rate; // no list: a file writes at whatever pace it is fed
    burn_drive_set_speed(drive, read_rate == Fastest ? 0 : static_cast<int>(read_rate),
                         write_rate == Fastest && slowest != 0 ? 0 : static_cast<int>(accepted));
    handle->currentRead = read_rate;
    handle->currentWrite = accepted;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_probe_write_modes(discwriter_grabber* handle, unsigned char* track_at_once,
                                                unsigned char* session_at_once,
                                                unsigned char* disc_at_once_pq,
                                                unsigned char* disc_at_once_raw) {
    burn_drive* drive = openDrive(handle);
    if (!drive)
        return DISCWRITER_E_NO_DRIVE;
    burn_multi_caps* caps = nullptr;
    if (burn_disc_get_multi_caps(drive, BURN_WRITE_NONE, &caps, 0) < 0 || !caps) {
        burn_disc_free_multi_caps(&caps);
        return fail(handle, DISCWRITER_E_NOT_READY, failureText("the medium's write modes are unknown"));
    }
    if (track_at_once)
        *track_at_once = caps->might_do_tao > 0;
    if (session_at_once)
        *session_at_once = caps->might_do_sao > 0;
    if (disc_at_once_pq)
        *disc_at_once_pq = caps->might_do_raw > 0;
    if (disc_at_once_raw)
        *disc_at_once_raw = caps->might_do_raw > 0;
    burn_disc_free_multi_caps(&caps);
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_get_bup(discwriter_grabber* handle, unsigned char* enabled,
                                      unsigned char* supported) {
    if (!openDrive(handle))
        return DISCWRITER_E_NO_DRIVE;
    // libburn keeps the drive's protection on whenever the drive offers it.
    if (enabled)
        *enabled = handle->bupEnabled;
    if (supported)
        *supported = 1;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_set_bup(discwriter_grabber* handle, int enable) {
    if (!openDrive(handle))
        return DISCWRITER_E_NO_DRIVE;
    handle->bupEnabled = enable != 0;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_send_opc(discwriter_grabber* handle) {
    if (!openDrive(handle))
        return DISCWRITER_E_NO_DRIVE;
    handle->opcRequested = true;
    return DISCWRITER_OK;
}
