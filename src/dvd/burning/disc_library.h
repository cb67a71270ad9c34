// The calls of the disc library the device layer relies on, as a table of
// function pointers: the real library bound by name, or a substitute in tests.
#pragma once

#include "discwriter.h"
#include "platform/library_binding.h"

#include <vector>

namespace quilo {

inline constexpr const char* DiscLibraryName = "libdiscwriter.so";

// The calls, each named by the library as "discwriter_" and its member's name.
#define QUILO_DISC_CALLS(X)                                                                                  \
    X(up_start)                                                                                              \
    X(shut_down)                                                                                             \
    X(find_devices)                                                                                          \
    X(grabber_create)                                                                                        \
    X(grabber_release)                                                                                       \
    X(grabber_error)                                                                                         \
    X(device_path)                                                                                           \
    X(device_info)                                                                                           \
    X(test_unit_ready)                                                                                       \
    X(disc_type)                                                                                             \
    X(disc_used_space)                                                                                       \
    X(disc_free_space)                                                                                       \
    X(disc_information)                                                                                      \
    X(toc_information)                                                                                       \
    X(get_speeds)                                                                                            \
    X(set_speeds)                                                                                            \
    X(blank)                                                                                                 \
    X(load)                                                                                                  \
    X(eject)                                                                                                 \
    X(lock)                                                                                                  \
    X(unlock)                                                                                                \
    X(dvdvideo_create)                                                                                       \
    X(dvdvideo_destroy)                                                                                      \
    X(probe_write_modes)                                                                                     \
    X(get_bup)                                                                                               \
    X(set_bup)                                                                                               \
    X(send_opc)                                                                                              \
    X(track_at_once)                                                                                         \
    X(close_session)

struct DiscLibraryCalls {
#define QUILO_DISC_POINTER(call) decltype(&discwriter_##call) call = nullptr;
    QUILO_DISC_CALLS(QUILO_DISC_POINTER)
#undef QUILO_DISC_POINTER

    static std::vector<LibraryName> Names(DiscLibraryCalls& calls);
    // discwriter_version must answer DISCWRITER_ABI_VERSION.
    static LibraryVersion Version();
};

// The real library, bound from its file.
using DiscLibraryBinding = RuntimeLibrary<DiscLibraryCalls>;

} // namespace quilo
