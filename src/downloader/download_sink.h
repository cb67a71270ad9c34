// Receives what one downloader run reports, on the thread that started the run.
#pragma once

#include "downloader/download_messages.h"

#include <string>

namespace quilo {

class DownloadSink {
public:
    virtual ~DownloadSink() = default;
    virtual void DoCSVMessage(const CsvMessage& message) = 0;
    // A file downloaded completely: its full path.
    virtual void DoFileMessage(const std::string& path) = 0;
    virtual void DoStatusMessage(const std::string& text) = 0;
    virtual void DoProcessMessage(const ProgressMessage& message) = 0;
    // `detail` is empty when the library gave none.
    virtual void DoErrorMessage(const std::string& error, const std::string& detail) = 0;
    // The run is over and the library unloaded; also after a library that could not be used.
    virtual void DoRunEnded() = 0;
};

} // namespace quilo
