// The exported entry points: thin wrappers that hand over to the engine parts.
#include "tranzel.h"

#include <thread>

#define TZ_EXPORT extern "C" __attribute__((visibility("default")))

TZ_EXPORT int X_Get_Version(void) {
    return TRANZEL_ABI_VERSION;
}

TZ_EXPORT int X_Get_CPU_Core_Number(void) {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}
