#include "downloader/dll_interface.h"

namespace quilo {

std::vector<LibraryName> VideodlApi::Names(VideodlApi& api) {
    return {
#define QUILO_VIDEODL_NAME(name) BindName(#name, api.name),
        QUILO_VIDEODL_ENTRY_POINTS(QUILO_VIDEODL_NAME)
#undef QUILO_VIDEODL_NAME
            BindName("UserStopRun", api.UserStopRun, true),
    };
}

LibraryVersion VideodlApi::Version() {
    return NumberedVersion("videodl_version", VIDEODL_ABI_VERSION);
}

} // namespace quilo
