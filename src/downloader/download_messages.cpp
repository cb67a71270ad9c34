#include "downloader/download_messages.h"

namespace quilo {

std::vector<std::string> AnalysisArguments(const std::string& pageUrl) {
    return {"a.exe", "--filename-format=%i.%s", "--emit-csv", pageUrl};
}

std::vector<std::string> DownloadStartArguments() {
    return {"a.exe", "--filename-format=%i.%s", "--continue"};
}

std::vector<std::string> DownloadArguments(const std::string& pageUrl) {
    std::vector<std::string> arguments = DownloadStartArguments();
    arguments.push_back(pageUrl);
    return arguments;
}

} // namespace quilo
