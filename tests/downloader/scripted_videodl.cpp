// A downloader library that plays a script instead of asking the network, for
// report orders the real one never produces. The page address of a run names
// its scripts: PAGE.analysis for an analysis, PAGE.download for a download;
// each line is one report:
//   csv NAME SIZE URL | progress NAME PERCENT BYTES TOTAL | file NAME |
//   status TEXT | error TEXT
#include "videodl.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

thread_local VideodlCsvCallback csvCallback;
thread_local VideodlFileCallback fileCallback;
thread_local VideodlStatusCallback statusCallback;
thread_local VideodlProcessCallback processCallback;
thread_local VideodlErrorCallback errorCallback;
thread_local void* userValue;
thread_local std::string downloadFolder;

} // namespace

EXPORT int videodl_version(void) {
    return VIDEODL_ABI_VERSION;
}

EXPORT void SetSendCSVMessageFun(VideodlCsvCallback callback) {
    csvCallback = callback;
}
EXPORT void SetSendFileMessageFun(VideodlFileCallback callback) {
    fileCallback = callback;
}
EXPORT void SetSendStatusMessageFun(VideodlStatusCallback callback) {
    statusCallback = callback;
}
EXPORT void SetSendProcessMessageFun(VideodlProcessCallback callback) {
    processCallback = callback;
}
EXPORT void SetSendErrorMessageFun(VideodlErrorCallback callback) {
    errorCallback = callback;
}
EXPORT void SetUserParam(void* user) {
    userValue = user;
}
EXPORT void SetDownloadPath(const char* folder) {
    downloadFolder = folder ? folder : "";
}
EXPORT void UserStop() {}

EXPORT void Run(int argc, const char* const* argv) {
    bool analysis = false;
    for (int i = 1; i < argc; ++i)
        analysis = analysis || std::strcmp(argv[i], "--emit-csv") == 0;
    std::ifstream script(std::string(argc > 1 ? argv[argc - 1] : "") +
                         (analysis ? ".analysis" : ".download"));
    std::string line;
    while (std::getline(script, line)) {
        std::istringstream words(line);
        std::string kind, name;
        words >> kind >> name;
        if (kind == "csv") {
            double size = 0;
            std::string url;
            words >> size >> url;
            const VideodlCsvMessage message{name.c_str(), name.c_str(), size, url.c_str(), "mp4"};
            csvCallback(&message, userValue);
        } else if (kind == "progress") {
            VideodlProgressMessage message{};
            message.fileName = name.c_str();
            words >> message.percent >> message.bytesDownloaded >> message.totalBytes;
            message.rate = 2.5;
            std::strcpy(message.rateUnit, "KB/s");
            std::strcpy(message.remainingTime, "00:00:01");
            processCallback(&message, userValue);
        } else if (kind == "file") {
            fileCallback((downloadFolder + name).c_str(), userValue);
        } else if (kind == "status") {
            statusCallback(name.c_str(), userValue);
        } else if (kind == "error") {
            std::string rest;
            std::getline(words, rest);
            errorCallback((name + rest).c_str(), "scripted", userValue);
        }
    }
}
