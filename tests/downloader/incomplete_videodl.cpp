// A downloader library lacking UserStop: a binding must refuse it rather than
// start a run it could never stop.
#include "videodl.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT int videodl_version(void) {
    return VIDEODL_ABI_VERSION;
}
EXPORT void SetSendCSVMessageFun(VideodlCsvCallback) {}
EXPORT void SetSendFileMessageFun(VideodlFileCallback) {}
EXPORT void SetSendStatusMessageFun(VideodlStatusCallback) {}
EXPORT void SetSendProcessMessageFun(VideodlProcessCallback) {}
EXPORT void SetSendErrorMessageFun(VideodlErrorCallback) {}
EXPORT void SetUserParam(void*) {}
EXPORT void SetDownloadPath(const char*) {}
EXPORT void Run(int, const char* const*) {}
