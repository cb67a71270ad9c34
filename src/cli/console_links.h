// Web links among quilo-convert's files: each is analysed by the download
// manager, then downloaded when the job is ready for its clip, with a line per
// stage on the error stream; every link that arrives whole becomes a clip.
#pragma once

#include "conversion/converter_session.h"
#include "conversion/link_downloads.h"
#include "conversion/link_feed.h"
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

    // Analyses every link; returns how many have videos to download.
    int Analyse(const std::vector<std::string>& links);
    // The clips of the analysed links, for the job: each is downloaded when
    // the job asks for it, while Serve runs.
    ClipFeed* Feed();
    // On this thread while the job runs: carries the downloads' reports and
    // takes their steps. Returns at once.
    void Serve();
    // After the job: waits until a stopped download has ended.
    void Settle();
    // After the job, with the results of the feed's clips: says which links
    // were not converted. True when every link was.
    bool Finish(const std::vector<EngineResult>& clipResults);

private:
    struct Notice {
        unsigned int message;
        long wParam;
        long taskId;
    };
    static void post(void* context, unsigned int message, long wParam, long lParam);
    void handle(const Notice& notice);
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
    std::unique_ptr<LinkFeed> feed_;
    std::deque<std::function<void()>> calls_; // the feed's steps, run by Serve
    std::unique_ptr<std::jthread> ticker_;
    std::string shownProgress_;
};

} // namespace quilo
