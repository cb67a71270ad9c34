// One web link: its analysis into video files and their download, each run of
// the downloader library on a worker thread of its own. Every change of a task
// happens on the owner's thread, where the library's reports are carried.
#pragma once

#include "downloader/download_thread.h"
#include "quilo/window_port.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quilo {

// Posted to the main window: an analysis started (1) or ended (0).
inline constexpr unsigned int WM_LINK_ANALYSIS = 31024;
// Posted to the progress window: a download started (1), progressed (2) or ended (0).
inline constexpr unsigned int WM_LINK_DOWNLOAD = 31025;

// Task states.
inline constexpr int TaskNew = 0;
inline constexpr int TaskAnalysing = 2;
inline constexpr int TaskAnalysed = 3;
inline constexpr int TaskDownloading = 4;
inline constexpr int TaskDownloadFailed = 5;
inline constexpr int TaskDownloaded = 7;
inline constexpr int TaskAnalysisFailed = 8;
inline constexpr int TaskNotSupported = 9;
inline constexpr int TaskConverted = 10;
inline constexpr int TaskStopped = 11;

// What the main window tells the user about an analysis that ended in `state`;
// empty for states that need no message.
std::string AnalysisFailureMessage(int state);

// One downloadable file of a task.
struct TVideoMessage {
    std::string name;     // a single path component, as the library formed it
    std::string fullPath; // the download folder followed by the name
    double totalSize = 0;
    std::string mediaUrl;
    double bytesDownloaded = 0;
    int percent = 0;
    double rate = 0;
    std::string rateUnit;
    std::string remainingTime;
    bool complete = false; // the library reported the file written under its full path
};

// What every task of a manager shares. Must outlive the tasks.
struct DownloadContext {
    std::string libraryFolder;  // where libvideodl.so lies, ending with '/'
    std::string downloadFolder; // ending with '/'
    CallbackCarrier* carrier = nullptr;
    Prompter* prompter = nullptr;
    const QuiloWindowPort* mainWindow = nullptr;
    const QuiloWindowPort* progressWindow = nullptr;
    // The wait between the end of a download and its notification, on the run's own thread.
    std::chrono::milliseconds downloadEndPause{1000};
};

class TDownloadTask;

// The run of one task: the binding's worker thread with the task as its reader.
class TMyDownloadThread : public DownloadSink {
public:
    TMyDownloadThread(TDownloadTask& task, const DownloadContext& context, std::vector<std::string> arguments,
                      std::chrono::milliseconds endPause);
    bool Start() { return thread_.Start(); }
    bool Stop() { return thread_.Stop(); }
    bool finished() const { return thread_.finished(); }
    // Joins the worker; on the owner's thread.
    void Wait() { thread_.Wait(); }

    void DoCSVMessage(const CsvMessage& message) override;
    void DoFileMessage(const std::string& path) override;
    void DoStatusMessage(const std::string& text) override;
    void DoProcessMessage(const ProgressMessage& message) override;
    void DoErrorMessage(const std::string& error, const std::string& detail) override;
    void DoRunEnded() override;

private:
    TDownloadTask& task_;
    DownloadThread thread_;
};

class TDownloadTask {
public:
    // `id` names the task in the notifications (their lParam); unique per manager.
    TDownloadTask(const DownloadContext& context, long id);
    // Stops a run still going and waits for it; its reports are then ignored.
    ~TDownloadTask();
    TDownloadTask(const TDownloadTask&) = delete;
    TDownloadTask& operator=(const TDownloadTask&) = delete;

    // Only from state new; false otherwise.
    bool StartAnalysis(const std::string& pageUrl);
    // `arguments` without the page address, which is appended. Refused while
    // analysing and while a run is going.
    bool StartDownload(std::vector<std::string> arguments);
    // Asks the running run to stop; false when none runs.
    bool StopTask();

    // Appends a copy with its full path in the download folder.
    TVideoMessage& AddVideo(const TVideoMessage& video);
    // The first video whose name begins with `text`, or null.
    TVideoMessage* FindVideo(const std::string& text);

    long id() const { return id_; }
    const std::string& pageUrl() const { return pageUrl_; }
    int state() const { return state_; }
    // The progress window marks a converted task.
    void setState(int state) { state_ = state; }
    bool running() const { return worker_ != nullptr; }
    const std::vector<std::unique_ptr<TVideoMessage>>& videos() const { return videos_; }
    const TVideoMessage* currentVideo() const { return current_; }

    // Joins the threads of runs that have ended.
    void ReapFinishedRuns();

    // Stops the task's run and ignores its reports from now on; for a task
    // leaving its manager while the run still goes.
    void Abandon();
    // No run of the task's thread is going on any more: it can be deleted at once.
    bool idle() const;

private:
    friend class TMyDownloadThread;
    void StartRun(std::vector<std::string> arguments, std::chrono::milliseconds endPause = {});
    // Reports count only from the task's current run, and not while it is destroyed.
    bool ownsRun(const TMyDownloadThread* run) const;

    void OnCsv(const CsvMessage& message);
    void OnFile(const std::string& path);
    void OnStatus(const std::string& text);
    void OnProgress(const ProgressMessage& message);
    void OnError(const std::string& error, const std::string& detail);
    void OnRunEnded();
    void post(const QuiloWindowPort* window, unsigned int message, long wParam) const;

    const DownloadContext& context_;
    const long id_;
    std::string pageUrl_;
    int state_ = TaskNew;
    std::vector<std::unique_ptr<TVideoMessage>> videos_;
    TVideoMessage* current_ = nullptr;
    std::unique_ptr<TMyDownloadThread> worker_;
    // Runs whose end was reported; their threads are about to finish and wait to be joined.
    std::vector<std::unique_ptr<TMyDownloadThread>> ended_;
    bool closing_ = false; // the task is being destroyed: reports change nothing
};

} // namespace quilo
