#include "downloader/dll_interface.h"

namespace quilo {

bool TDllInterface::Load(const std::string& path) {
    Free();
    if (!library_.load(path)) {
        error_ = library_.error();
        return false;
    }
    const auto absent =
        library_.missing({"SetSendCSVMessageFun", "SetSendFileMessageFun", "SetSendStatusMessageFun",
                          "SetSendProcessMessageFun", "SetSendErrorMessageFun", "Run", "SetUserParam",
                          "SetDownloadPath", "UserStop"});
    if (!absent.empty()) {
        error_ = path + " lacks";
        for (const auto& name : absent)
            error_ += " " + name;
        Free();
        return false;
    }
    SetSendCSVMessageFun = library_.function<decltype(SetSendCSVMessageFun)>("SetSendCSVMessageFun");
    SetSendFileMessageFun = library_.function<decltype(SetSendFileMessageFun)>("SetSendFileMessageFun");
    SetSendStatusMessageFun = library_.function<decltype(SetSendStatusMessageFun)>("SetSendStatusMessageFun");
    SetSendProcessMessageFun =
        library_.function<decltype(SetSendProcessMessageFun)>("SetSendProcessMessageFun");
    SetSendErrorMessageFun = library_.function<decltype(SetSendErrorMessageFun)>("SetSendErrorMessageFun");
    Run = library_.function<decltype(Run)>("Run");
    SetUserParam = library_.function<decltype(SetUserParam)>("SetUserParam");
    SetDownloadPath = library_.function<decltype(SetDownloadPath)>("SetDownloadPath");
    UserStop = library_.function<decltype(UserStop)>("UserStop");
    UserStopRun = library_.function<decltype(UserStopRun)>("UserStopRun");
    error_.clear();
    return true;
}

void TDllInterface::Free() {
    clearEntries();
    library_.unload();
}

void TDllInterface::clearEntries() {
    SetSendCSVMessageFun = nullptr;
    SetSendFileMessageFun = nullptr;
    SetSendStatusMessageFun = nullptr;
    SetSendProcessMessageFun = nullptr;
    SetSendErrorMessageFun = nullptr;
    Run = nullptr;
    SetUserParam = nullptr;
    SetDownloadPath = nullptr;
    UserStop = nullptr;
    UserStopRun = nullptr;
}

} // namespace quilo
