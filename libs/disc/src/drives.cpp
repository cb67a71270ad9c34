// Starting the library, finding drives and holding them open.
#include "grabber.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <unistd.h>
#include <vector>

namespace discwriter {
namespace {

std::mutex registryLock;
bool isStarted = false;
std::set<discwriter_grabber*> openHandles;

void releaseDrive(discwriter_grabber* handle) {
    if (!handle->info)
        return;
    burn_drive_release(handle->info->drive, 0);
    burn_drive_info_free(handle->info);
    handle->info = nullptr;
}

} // namespace

bool started() {
    std::lock_guard guard(registryLock);
    return isStarted;
}

burn_drive_info* grab(const std::string& address, std::string& reason) {
    if (address.empty()) {
        reason = "no drive address given";
        return nullptr;
    }
    clearMessages();
    burn_drive_info* info = nullptr;
    std::string mutableAddress = address;
    if (burn_drive_scan_and_grab(&info, mutableAddress.data(), 1) != 1) {
        if (info)
            burn_drive_info_free(info);
        reason = failureText("cannot open the drive " + address);
        return nullptr;
    }
    return info;
}

} // namespace discwriter

using namespace discwriter;

DISCWRITER_API int discwriter_version(void) {
    return DISCWRITER_ABI_VERSION;
}

DISCWRITER_API int discwriter_up_start(void) {
    std::lock_guard guard(registryLock);
    if (isStarted)
        return DISCWRITER_OK;
    if (burn_initialize() != 1)
        return DISCWRITER_E_NOT_STARTED;
    // Messages are queued for the failure texts; nothing goes to the console.
    burn_msgs_set_severities(const_cast<char*>("ALL"), const_cast<char*>("NEVER"),
                             const_cast<char*>("discwriter: "));
    isStarted = true;
    return DISCWRITER_OK;
}

DISCWRITER_API void discwriter_shut_down(void) {
    std::lock_guard guard(registryLock);
    if (!isStarted)
        return;
    // libburn must not be finished with drives still grabbed.
    for (discwriter_grabber* handle : openHandles)
        releaseDrive(handle);
    burn_finish();
    isStarted = false;
}

DISCWRITER_API int discwriter_find_devices(const char* const* extra_addresses, int extra_count,
                                           discwriter_callback callback, void* context) {
    if (!started())
        return 0;
    int found = 0;
    const auto report = [&](const std::string& address) {
        discwriter_device_record record{};
        copyText(address, record.address, sizeof record.address);
        ++found;
        if (callback)
            callback(DISCWRITER_EVENT_DRIVE_FOUND, context, &record, nullptr);
    };

    burn_drive_info* infos = nullptr;
    unsigned int count = 0;
    int scanned = 0;
    // The scan runs in libburn's own thread; it is done when the call says so.
    while ((scanned = burn_drive_scan(&infos, &count)) == 0)
        usleep(20000);
    if (scanned > 0) {
        std::vector<std::string> addresses;
        for (unsigned int i = 0; i < count; ++i) {
            char address[BURN_DRIVE_ADR_LEN] = {};
            if (burn_drive_get_adr(&infos[i], address) > 0)
                addresses.emplace_back(address);
        }
        // Free before reporting: the scan holds the drives exclusively until then.
        burn_drive_info_free(infos);
        std::for_each(addresses.begin(), addresses.end(), report);
    }
    clearMessages();

    for (int i = 0; extra_addresses && i < extra_count; ++i) {
        if (!extra_addresses[i])
            continue;
        std::string reason;
        if (burn_drive_info* info = grab(extra_addresses[i], reason)) {
            burn_drive_release(info->drive, 0);
            burn_drive_info_free(info);
            report(extra_addresses[i]);
        }
    }
    return found;
}

DISCWRITER_API int discwriter_grabber_create(discwriter_grabber** out, char* exception_text, size_t text_size,
                                             unsigned* status, discwriter_callback callback, void* context,
                                             const char* address, int final_flag) {
    if (!out)
        return failWith(exception_text, text_size, status, DISCWRITER_E_ARGUMENT, "no handle to fill");
    *out = nullptr;
    if (!started())
        return failWith(exception_text, text_size, status, DISCWRITER_E_NOT_STARTED,
                        "the disc library is not started");
    std::string reason;
    burn_drive_info* info = grab(address ? address : "", reason);
    if (!info)
        return failWith(exception_text, text_size, status, DISCWRITER_E_NO_DRIVE, reason);
    auto* handle = new discwriter_grabber;
    handle->info = info;
    handle->address = address;
    handle->callback = callback;
    handle->context = context;
    handle->raisesEvents = final_flag == 0;
    {
        std::lock_guard guard(registryLock);
        openHandles.insert(handle);
    }
    *out = handle;
    if (status)
        *status = 0;
    copyText("", exception_text, text_size);
    return DISCWRITER_OK;
}

DISCWRITER_API void discwriter_grabber_release(discwriter_grabber** handle) {
    if (!handle || !*handle)
        return;
    {
        std::lock_guard guard(registryLock);
        openHandles.erase(*handle);
        if (isStarted)
            releaseDrive(*handle);
    }
    delete *handle;
    *handle = nullptr;
}

DISCWRITER_API const char* discwriter_grabber_error(const discwriter_grabber* handle) {
    return handle ? handle->error.c_str() : "no handle";
}

DISCWRITER_API int discwriter_device_path(const char* address, char* out, size_t out_size) {
    if (!address || !out || out_size == 0)
        return DISCWRITER_E_ARGUMENT;
    std::string path = address;
    static const std::string pseudo = "stdio:";
    if (path.rfind(pseudo, 0) == 0)
        path.erase(0, pseudo.size());
    if (path.empty())
        return DISCWRITER_E_NO_DRIVE;
    copyText(path, out, out_size);
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_device_info(discwriter_grabber* handle, char* vendor, char* product,
                                          char* revision, size_t text_size, unsigned* cache_bytes) {
    if (!handle || !handle->info)
        return fail(handle, DISCWRITER_E_NO_DRIVE, "the drive is not open");
    copyText(handle->info->vendor, vendor, text_size);
    copyText(handle->info->product, product, text_size);
    copyText(handle->info->revision, revision, text_size);
    if (cache_bytes)
        *cache_bytes = static_cast<unsigned>(std::max(handle->info->buffer_size, 0)) * 1024u;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_load(discwriter_grabber* handle) {
    if (!handle)
        return DISCWRITER_E_ARGUMENT;
    if (handle->info)
        return DISCWRITER_OK; // a held drive was loaded when it was opened
    std::string reason;
    handle->info = grab(handle->address, reason);
    return handle->info ? DISCWRITER_OK : fail(handle, DISCWRITER_E_NO_DRIVE, reason);
}

DISCWRITER_API int discwriter_eject(discwriter_grabber* handle) {
    if (!handle)
        return DISCWRITER_E_ARGUMENT;
    if (!handle->info)
        return DISCWRITER_OK;
    if (handle->locked)
        return fail(handle, DISCWRITER_E_NOT_READY, "the drive is locked");
    // libburn opens the tray only as it lets go of the drive.
    burn_drive_release(handle->info->drive, 1);
    burn_drive_info_free(handle->info);
    handle->info = nullptr;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_lock(discwriter_grabber* handle) {
    if (!handle || !handle->info)
        return fail(handle, DISCWRITER_E_NO_DRIVE, "the drive is not open");
    handle->locked = true;
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_unlock(discwriter_grabber* handle) {
    if (!handle || !handle->info)
        return fail(handle, DISCWRITER_E_NO_DRIVE, "the drive is not open");
    handle->locked = false;
    return DISCWRITER_OK;
}
