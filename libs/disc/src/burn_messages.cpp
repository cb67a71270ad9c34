#include "grabber.h"

#include <cstring>

namespace discwriter {

void clearMessages() {
    int code = 0, osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN], severity[80];
    burn_msgs_obtain(const_cast<char*>("NEVER"), &code, text, &osErrno, severity);
}

std::string failureText(const std::string& fallback) {
    // Take the last serious message: libburn tells the cause before the consequence,
    // but its final word names what failed for the caller.
    std::string found;
    int code = 0, osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN], severity[80];
    while (burn_msgs_obtain(const_cast<char*>("SORRY"), &code, text, &osErrno, severity) > 0) {
        found = text;
        if (osErrno != 0)
            found += std::string(" (") + std::strerror(osErrno) + ")";
    }
    if (found.empty())
        return fallback;
    return fallback.empty() ? found : fallback + ": " + found;
}

void copyText(const std::string& text, char* out, size_t size) {
    if (!out || size == 0)
        return;
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}

int fail(discwriter_grabber* handle, int result, const std::string& text) {
    if (handle)
        handle->error = text;
    return result;
}

int failWith(char* text, size_t size, unsigned* status, int result, const std::string& reason) {
    copyText(reason, text, size);
    if (status)
        *status = static_cast<unsigned>(result);
    return result;
}

} // namespace discwriter
