#include "scripted_drives.h"

#include <cstring>
#include <vector>

namespace quilo::test {

namespace {

struct Handle {
    std::string address;
    discwriter_callback callback;
    void* context;
    unsigned currentWrite = 0;
};

ScriptedDisc& discOf(discwriter_grabber* handle) {
    return ScriptedDrives().at(reinterpret_cast<Handle*>(handle)->address);
}
char imageToken;

DiscLibraryCalls MakeCalls() {
    DiscLibraryCalls c;
    c.up_start = [] { return 0; };
    c.shut_down = [] {};
    c.find_devices = [](const char* const* extra, int count, discwriter_callback callback, void* context) {
        ++ScriptedSearches();
        for (int i = 0; i < count; ++i) {
            discwriter_device_record record{};
            std::strncpy(record.address, extra[i], sizeof record.address - 1);
            callback(DISCWRITER_EVENT_DRIVE_FOUND, context, &record, nullptr);
        }
        return count;
    };
    c.grabber_create = [](discwriter_grabber** out, char*, size_t, unsigned*, discwriter_callback callback,
                          void* context, const char* address, int) {
        if (!ScriptedDrives().count(address))
            return DISCWRITER_E_NO_DRIVE;
        *out = reinterpret_cast<discwriter_grabber*>(new Handle{address, callback, context});
        return 0;
    };
    c.grabber_release = [](discwriter_grabber** handle) {
        delete reinterpret_cast<Handle*>(*handle);
        *handle = nullptr;
    };
    c.grabber_error = [](const discwriter_grabber*) { return "scripted"; };
    c.device_path = [](const char* address, char* out, size_t size) {
        std::strncpy(out, address, size - 1);
        return 0;
    };
    c.device_info = [](discwriter_grabber* handle, char* vendor, char* product, char* revision, size_t size,
                       unsigned* cache) {
        std::strncpy(vendor, "Scripted", size - 1);
        std::strncpy(product, reinterpret_cast<Handle*>(handle)->address.c_str(), size - 1);
        std::strncpy(revision, "1.0", size - 1);
        *cache = 0;
        return 0;
    };
    c.test_unit_ready = [](discwriter_grabber*) { return 0; };
    c.disc_type = [](discwriter_grabber* handle) { return discOf(handle).discType; };
    c.disc_used_space = [](discwriter_grabber* handle, uint64_t* used) {
        *used = discOf(handle).usedBytes;
        return 0;
    };
    c.disc_free_space = [](discwriter_grabber* handle, uint64_t* free) {
        *free = discOf(handle).freeBytes;
        return 0;
    };
    c.disc_information = [](discwriter_grabber* handle, unsigned char* blank) {
        *blank = discOf(handle).blank ? 1 : 0;
        return 0;
    };
    c.toc_information = [](discwriter_grabber* handle, discwriter_toc* toc) {
        toc->track_count = discOf(handle).trackCount;
        toc->session_count = discOf(handle).sessionCount;
        return 0;
    };
    c.get_speeds = [](discwriter_grabber* handle, unsigned*, unsigned*, unsigned* current, unsigned* max) {
        if (current)
            *current = reinterpret_cast<Handle*>(handle)->currentWrite;
        if (max)
            *max = discOf(handle).maxWrite;
        return 0;
    };
    c.set_speeds = [](discwriter_grabber* handle, unsigned, unsigned write) {
        reinterpret_cast<Handle*>(handle)->currentWrite = std::min(write, discOf(handle).maxWrite);
        return 0;
    };
    c.blank = [](discwriter_grabber* handle, unsigned) {
        ScriptedDisc& disc = discOf(handle);
        ++disc.blanks;
        if (!disc.blankWorks)
            return DISCWRITER_E_WRITE;
        disc.blank = true;
        disc.freeBytes += disc.usedBytes;
        disc.usedBytes = 0;
        disc.trackCount = disc.sessionCount = 0;
        return 0;
    };
    c.load = [](discwriter_grabber* handle) {
        ++discOf(handle).loads;
        return 0;
    };
    c.eject = [](discwriter_grabber* handle) {
        ++discOf(handle).ejects;
        return 0;
    };
    c.lock = [](discwriter_grabber* handle) {
        ++discOf(handle).locks;
        return 0;
    };
    c.unlock = [](discwriter_grabber* handle) {
        ++discOf(handle).unlocks;
        return 0;
    };
    c.dvdvideo_create = [](discwriter_dvdvideo** out, const char*, char*, size_t, unsigned*, const char*,
                           const char*, const char*, int, int, int, int, int, int, int) {
        *out = reinterpret_cast<discwriter_dvdvideo*>(&imageToken);
        return 0;
    };
    c.dvdvideo_destroy = [](discwriter_dvdvideo** image) { *image = nullptr; };
    c.probe_write_modes = [](discwriter_grabber*, unsigned char* tao, unsigned char*, unsigned char*,
                             unsigned char*) {
        *tao = 1;
        return 0;
    };
    c.get_bup = [](discwriter_grabber*, unsigned char*, unsigned char*) { return 0; };
    c.set_bup = [](discwriter_grabber*, int) { return 0; };
    c.send_opc = [](discwriter_grabber*) { return 0; };
    c.track_at_once = [](discwriter_grabber* handle, char*, size_t, unsigned*, const discwriter_dvdvideo*,
                         int) {
        ScriptedDisc& disc = discOf(handle);
        ++disc.writes;
        if (disc.writeFails)
            return DISCWRITER_E_WRITE;
        Handle* h = reinterpret_cast<Handle*>(handle);
        uint64_t total = 100, written = 100;
        h->callback(27, h->context, nullptr, nullptr);
        h->callback(28, h->context, nullptr, nullptr);
        h->callback(DISCWRITER_EVENT_PROGRESS, h->context, &total, &written);
        disc.blank = false;
        return 0;
    };
    c.close_session = [](discwriter_grabber*) { return 0; };
    return c;
}

} // namespace

std::map<std::string, ScriptedDisc>& ScriptedDrives() {
    static std::map<std::string, ScriptedDisc> drives;
    return drives;
}

int& ScriptedSearches() {
    static int searches = 0;
    return searches;
}

const DiscLibraryCalls& ScriptedLibrary() {
    static const DiscLibraryCalls calls = MakeCalls();
    return calls;
}

} // namespace quilo::test
