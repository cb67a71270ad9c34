#include "dvd/burning/disc_library.h"

namespace quilo {

std::vector<LibraryName> DiscLibraryCalls::Names(DiscLibraryCalls& calls) {
    return {
#define QUILO_DISC_NAME(call) BindName("discwriter_" #call, calls.call),
        QUILO_DISC_CALLS(QUILO_DISC_NAME)
#undef QUILO_DISC_NAME
    };
}

LibraryVersion DiscLibraryCalls::Version() {
    return NumberedVersion("discwriter_version", DISCWRITER_ABI_VERSION);
}

} // namespace quilo
