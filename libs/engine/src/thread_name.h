// Names the calling thread, so profilers and debuggers show which stage it is.
#pragma once

#include <pthread.h>

namespace tz {

inline void nameThread(const char* name) {
    pthread_setname_np(pthread_self(), name); // at most 15 characters
}

} // namespace tz
