// The downloader library, loaded from a file and bound by name.
#pragma once

#include "platform/library_loader.h"
#include "videodl.h"

#include <string>

namespace quilo {

class TDllInterface {
public:
    // Loads the library at `path`, first freeing the one held. False when it cannot
    // be loaded or lacks one of the nine entry points; error() says which.
    bool Load(const std::string& path);
    void Free();
    bool loaded() const { return library_.isLoaded(); }
    const std::string& error() const { return error_; }

    // Valid while loaded, in the order they are looked up.
    decltype(&::SetSendCSVMessageFun) SetSendCSVMessageFun = nullptr;
    decltype(&::SetSendFileMessageFun) SetSendFileMessageFun = nullptr;
    decltype(&::SetSendStatusMessageFun) SetSendStatusMessageFun = nullptr;
    decltype(&::SetSendProcessMessageFun) SetSendProcessMessageFun = nullptr;
    decltype(&::SetSendErrorMessageFun) SetSendErrorMessageFun = nullptr;
    decltype(&::Run) Run = nullptr;
    decltype(&::SetUserParam) SetUserParam = nullptr;
    decltype(&::SetDownloadPath) SetDownloadPath = nullptr;
    decltype(&::UserStop) UserStop = nullptr;
    // Stops only the run of one user value; null for a library without it.
    decltype(&::UserStopRun) UserStopRun = nullptr;

private:
    void clearEntries();

    SharedLibrary library_;
    std::string error_;
};

} // namespace quilo
