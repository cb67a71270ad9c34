// Web links among quilo-convert's files: each is analysed and downloaded by the
// download manager, with a line per stage on the error stream, and every link
// that arrives whole becomes a clip of the job.
#pragma once

#include "conversion/converter_session.h"
#include "conversion/link_downloads.h"
#include "downloader/callback_carrier.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>

namespace quilo {

class ConsoleLinks {
public:
    // `interrupted` is watched while the links are fetched: it stops the running download.
    ConsoleLinks(ConverterSession& session, const std::string& libraryFolder, Prompter& prompter,
                 std::ostream& log, const std::atomic<bool>& interrupted);
    ~ConsoleLinks();

    // Analyses every link, then downloads those that have videos, one after the
    // other. Returns the clips of the links that arrived whole, in order.
    std::vector<TVideoInfo*> Fetch(const std::vector<std::string>& links);
    // After the job, with the results of the clips Fetch returned: says which
    // links were not converted. True when every link was.
    bool Finish(const std::vector<EngineResult>& clipResults);
    bool stopped() const { return downloads_ && downloads_->StopRequested(); }

private:
    struct Notice {
        unsigned int message;
        long wParam;
        long taskId;
    };
    static void post(void* context, unsigned int message, long wParam, long lParam);
    // Waits on this thread, carrying the library's reports, for the next notice.
    std::optional<Notice> nextNotice();
    void showDownload();

    ConverterSession& session_;
    const std::string libraryFolder_;
    Prompter& prompter_;
    std::ostream& log_;
    const std::atomic<bool>& interrupted_;
    CallerThreadCarrier carrier_;
    QuiloWindowPort port_{&ConsoleLinks::post, this};
    std::mutex noticesLock_;
    std::deque<Notice> notices_;
    std::unique_ptr<TDownloadManager> manager_;
    std::unique_ptr<LinkDownloads> downloads_;
    std::string shownProgress_;
};

} // namespace quilo
