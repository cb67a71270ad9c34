// A downloader library lacking UserStop: a binding must refuse it rather than
// start a run it could never stop.
#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT void SetSendCSVMessageFun(void*) {}
EXPORT void SetSendFileMessageFun(void*) {}
EXPORT void SetSendStatusMessageFun(void*) {}
EXPORT void SetSendProcessMessageFun(void*) {}
EXPORT void SetSendErrorMessageFun(void*) {}
EXPORT void SetUserParam(void*) {}
EXPORT void SetDownloadPath(const char*) {}
EXPORT void Run(int, const char* const*) {}
