// The C entry points: settings of the calling thread, and the run over them.
#include "videodl.h"

#include "run.h"
#include "run_settings.h"

#include <string>
#include <vector>

#define VIDEODL_EXPORT __attribute__((visibility("default")))

using videodl::threadRunSettings;

extern "C" {

VIDEODL_EXPORT int videodl_version(void) {
    return VIDEODL_ABI_VERSION;
}

VIDEODL_EXPORT void SetSendCSVMessageFun(VideodlCsvCallback callback) {
    threadRunSettings().csv = callback;
}

VIDEODL_EXPORT void SetSendFileMessageFun(VideodlFileCallback callback) {
    threadRunSettings().file = callback;
}

VIDEODL_EXPORT void SetSendStatusMessageFun(VideodlStatusCallback callback) {
    threadRunSettings().status = callback;
}

VIDEODL_EXPORT void SetSendProcessMessageFun(VideodlProcessCallback callback) {
    threadRunSettings().progress = callback;
}

VIDEODL_EXPORT void SetSendErrorMessageFun(VideodlErrorCallback callback) {
    threadRunSettings().error = callback;
}

VIDEODL_EXPORT void SetUserParam(void* user) {
    auto& settings = threadRunSettings();
    settings.user = user;
    settings.stopRequested = false;
}

VIDEODL_EXPORT void SetDownloadPath(const char* folder) {
    threadRunSettings().downloadFolder = folder ? folder : "";
}

VIDEODL_EXPORT void Run(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 0; argv && i < argc; ++i)
        arguments.emplace_back(argv[i] ? argv[i] : "");
    videodl::runPage(threadRunSettings(), videodl::parseRunArguments(arguments));
    videodl::endThreadRunSettings();
}

VIDEODL_EXPORT void UserStop(void) {
    videodl::stopRuns(nullptr, true);
}

VIDEODL_EXPORT int UserStopRun(void* user) {
    return videodl::stopRuns(user, false);
}

} // extern "C"
