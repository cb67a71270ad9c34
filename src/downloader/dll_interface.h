// The downloader library, loaded from a file and bound by name.
#pragma once

#include "platform/library_binding.h"
#include "videodl.h"

#include <vector>

namespace quilo {

// The nine entry points the downloads drive, in the order they are looked up,
// and UserStopRun, which only stops the run of one user value.
#define QUILO_VIDEODL_ENTRY_POINTS(X)                                                                        \
    X(SetSendCSVMessageFun)                                                                                  \
    X(SetSendFileMessageFun)                                                                                 \
    X(SetSendStatusMessageFun)                                                                               \
    X(SetSendProcessMessageFun)                                                                              \
    X(SetSendErrorMessageFun)                                                                                \
    X(Run)                                                                                                   \
    X(SetUserParam)                                                                                          \
    X(SetDownloadPath)                                                                                       \
    X(UserStop)

struct VideodlApi {
#define QUILO_VIDEODL_POINTER(name) decltype(&::name) name = nullptr;
    QUILO_VIDEODL_ENTRY_POINTS(QUILO_VIDEODL_POINTER)
#undef QUILO_VIDEODL_POINTER
    // Null for a library without it: UserStop then stops every run.
    decltype(&::UserStopRun) UserStopRun = nullptr;

    static std::vector<LibraryName> Names(VideodlApi& api);
    // videodl_version must answer VIDEODL_ABI_VERSION.
    static LibraryVersion Version();
};

// The library bound for one run; Load takes the file's path.
using TDllInterface = RuntimeLibrary<VideodlApi>;

} // namespace quilo
