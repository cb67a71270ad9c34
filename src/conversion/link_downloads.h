// The downloads of a job from web links: the analysed links are downloaded
// one at a time into the download folder, and every link that arrives whole
// becomes one clip. It runs on the thread that owns the download manager and
// never blocks it: each step is taken when the manager's notice about the
// running download comes in, and the next download starts only when asked.
#pragma once

#include "conversion/job_results.h"
#include "downloader/download_manager.h"
#include "media/clip_record.h"

#include <functional>
#include <string>
#include <vector>

namespace quilo {

inline constexpr const char* StopProcessQuestion = "Do you want to stop the process?";
inline constexpr const char* FailedLinksText = "The video conversion failed for the following link. \n\n";

// What the download panel of the progress window shows.
struct DownloadPanel {
    std::string url, fileName, total, size, rate, remaining, progress;
};

// The name of the clip of a downloaded link: the first file's name without a
// part prefix such as "01of02_", with the output extension instead of its own.
std::string DownloadedClipName(const std::string& firstFileName, const std::string& extension);

class LinkDownloads {
public:
    // Makes the clip of a downloaded task; null when its files cannot be converted.
    using ClipMaker = std::function<TVideoInfo*(const TDownloadTask&)>;

    LinkDownloads(TDownloadManager& manager, ClipMaker makeClip);

    // Starts the download of the next task that is not converted yet. False
    // when none is left (or a stop was asked for): the stage is over.
    bool StartNext();
    // WM_LINK_DOWNLOAD about the task `taskId`. True when it ended the running
    // download; its clip, when one was made, is then the last of Clips().
    bool DownloadNotice(long wParam, long taskId);
    // The library reported the stop of the task `taskId` (its analysis notice in
    // the stopped state). True when that ends the stage.
    bool StopNotice(long taskId);

    // The tasks not converted yet: what a job of them is to bring.
    int Pending() const;
    bool Downloading() const { return current_ != 0; }
    bool Over() const { return over_; }
    // Asks the running download to stop; false when none runs. The stage ends
    // with the download's last notice, and converts nothing.
    bool Stop();
    bool StopRequested() const { return stopRequested_; }

    const DownloadPanel& Panel() const { return panel_; }
    // The clips made so far, in task order, each with its task.
    const std::vector<TVideoInfo*>& Clips() const { return clips_; }
    const std::vector<long>& ClipTasks() const { return clipTasks_; }

    // After the conversion: the task of every converted clip is converted. Returns the page addresses of the
    // tasks that are not, in order.
    std::vector<std::string> FinishTasks(const std::vector<EngineResult>& clipResults);

private:
    void showProgress(const TDownloadTask& task);

    TDownloadManager& manager_;
    ClipMaker makeClip_;
    int taskIndex_ = 0;
    long current_ = 0; // the task downloading now
    bool over_ = false;
    bool stopRequested_ = false;
    DownloadPanel panel_;
    std::vector<TVideoInfo*> clips_;
    std::vector<long> clipTasks_;
};

// The failure message of a link job, or empty when every link was converted.
std::string FailedLinksMessage(const std::vector<std::string>& pageUrls);

} // namespace quilo
