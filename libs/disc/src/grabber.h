// What the library's calls share: the open drive behind a handle and the
// reasons libburn gives for failures.
#pragma once

#include "discwriter.h"

#include <cstdint>
#include <filesystem>
#include <libburn/libburn.h>
#include <string>

// libburn puts its C declarations into a namespace when read as C++.
using namespace burn;

#define DISCWRITER_API extern "C" __attribute__((visibility("default")))

struct discwriter_grabber {
    burn_drive_info* info = nullptr; // null once the tray was opened by an eject
    std::string address;
    discwriter_callback callback = nullptr;
    void* context = nullptr;
    bool raisesEvents = false;
    std::string error;
    unsigned currentRead = 0;
    unsigned currentWrite = 0;
    bool bupEnabled = true;
    bool opcRequested = false;
    bool locked = false;
    enum class LastWrite { None, Closed, LeftOpen } lastWrite = LastWrite::None;

    burn_drive* drive() const { return info ? info->drive : nullptr; }
};

struct discwriter_dvdvideo {
    std::filesystem::path workFolder; // holds the image and the root genisoimage reads
    std::filesystem::path image;
    uint64_t size = 0;
};

namespace discwriter {

bool started();
// Discards libburn's queued messages, so the next failure reads only its own.
void clearMessages();
// The most severe recent libburn message, or `fallback` when libburn said nothing.
std::string failureText(const std::string& fallback);
// Copies `text` into a caller's buffer, always terminated.
void copyText(const std::string& text, char* out, size_t size);
// Stores `text` as the handle's reason and returns `result`.
int fail(discwriter_grabber* handle, int result, const std::string& text);
// Reports a failure through the (text, size, status) trio of the calls that take it.
int failWith(char* text, size_t size, unsigned* status, int result, const std::string& reason);
// Opens the drive at `address`; null with `reason` set when it cannot.
burn_drive_info* grab(const std::string& address, std::string& reason);

} // namespace discwriter
