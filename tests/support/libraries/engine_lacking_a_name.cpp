// An engine of the right version that lacks X_StopConvert: a program must
// refuse it whole rather than start a conversion it could not stop. Every other
// name the program binds is there; none is ever called.
#include "conversion/engine_entry_points.h"

// Defined under another name, so the library does not export it.
#define X_StopConvert not_exported_X_StopConvert

#define QUILO_STUB(name)                                                                                     \
    extern "C" __attribute__((visibility("default"))) int name() {                                           \
        return -1;                                                                                           \
    }
QUILO_ENGINE_ENTRY_POINTS(QUILO_STUB)
