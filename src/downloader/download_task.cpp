#include "downloader/download_task.h"

#include <algorithm>

namespace quilo {

namespace {

// The library forms names as single path components; anything else would lead
// the full path out of the download folder, so such a file is not taken.
// A line break would also split the clip's list of files, which is one path a line.
bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           std::none_of(name.begin(), name.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

} // namespace

std::string AnalysisFailureMessage(int state) {
    if (state == TaskAnalysisFailed)
        return "Unable to obtain the video URL.";
    if (state == TaskNotSupported)
        return "The video link is not supported.";
    return {};
}

TMyDownloadThread::TMyDownloadThread(TDownloadTask& task, const DownloadContext& context,
                                     std::vector<std::string> arguments, std::chrono::milliseconds endPause)
    : task_(task), thread_(context.libraryFolder, *this, *context.carrier, *context.prompter) {
    thread_.setArguments(std::move(arguments));
    thread_.setDownloadFolder(context.downloadFolder);
    thread_.setEndPause(endPause);
}

void TMyDownloadThread::DoCSVMessage(const CsvMessage& message) {
    if (task_.ownsRun(this))
        task_.OnCsv(message);
}

void TMyDownloadThread::DoFileMessage(const std::string& path) {
    if (task_.ownsRun(this))
        task_.OnFile(path);
}

void TMyDownloadThread::DoStatusMessage(const std::string& text) {
    if (task_.ownsRun(this))
        task_.OnStatus(text);
}

void TMyDownloadThread::DoProcessMessage(const ProgressMessage& message) {
    if (task_.ownsRun(this))
        task_.OnProgress(message);
}

void TMyDownloadThread::DoErrorMessage(const std::string& error, const std::string& detail) {
    if (task_.ownsRun(this))
        task_.OnError(error, detail);
}

void TMyDownloadThread::DoRunEnded() {
    if (task_.ownsRun(this))
        task_.OnRunEnded();
}

TDownloadTask::TDownloadTask(const DownloadContext& context, long id) : context_(context), id_(id) {}

TDownloadTask::~TDownloadTask() {
    closing_ = true;
    // The run's remaining reports are carried while it is stopped and joined; ownsRun refuses them.
    std::unique_ptr<TMyDownloadThread> running = std::move(worker_);
    running.reset();
    ReapFinishedRuns();
}

bool TDownloadTask::StartAnalysis(const std::string& pageUrl) {
    if (state_ != TaskNew)
        return false;
    state_ = TaskAnalysing;
    post(context_.mainWindow, WM_LINK_ANALYSIS, 1);
    pageUrl_ = pageUrl;
    StartRun(AnalysisArguments(pageUrl_));
    return true;
}

bool TDownloadTask::StartDownload(std::vector<std::string> arguments) {
    // A second run at once would write the same files.
    if (state_ == TaskAnalysing || worker_)
        return false;
    state_ = TaskDownloading;
    current_ = nullptr;
    for (auto& video : videos_) {
        video->bytesDownloaded = 0;
        video->percent = 0;
        video->rate = 0;
        video->rateUnit.clear();
        video->remainingTime.clear();
        video->complete = false;
    }
    post(context_.progressWindow, WM_LINK_DOWNLOAD, 1);
    arguments.push_back(pageUrl_);
    StartRun(std::move(arguments), context_.downloadEndPause);
    return true;
}

bool TDownloadTask::StopTask() {
    return worker_ && worker_->Stop();
}

TVideoMessage& TDownloadTask::AddVideo(const TVideoMessage& video) {
    auto copy = std::make_unique<TVideoMessage>(video);
    copy->fullPath = context_.downloadFolder + copy->name;
    videos_.push_back(std::move(copy));
    return *videos_.back();
}

TVideoMessage* TDownloadTask::FindVideo(const std::string& text) {
    for (auto& video : videos_) {
        if (video->name.compare(0, text.size(), text) == 0)
            return video.get();
    }
    return nullptr;
}

void TDownloadTask::ReapFinishedRuns() {
    for (auto& run : ended_)
        run->Wait();
    ended_.clear();
}

void TDownloadTask::Abandon() {
    closing_ = true;
    StopTask();
}

bool TDownloadTask::idle() const {
    if (worker_ && !worker_->finished())
        return false;
    for (const auto& run : ended_) {
        if (!run->finished())
            return false;
    }
    return true;
}

void TDownloadTask::StartRun(std::vector<std::string> arguments, std::chrono::milliseconds endPause) {
    ReapFinishedRuns();
    worker_ = std::make_unique<TMyDownloadThread>(*this, context_, std::move(arguments), endPause);
    worker_->Start();
}

bool TDownloadTask::ownsRun(const TMyDownloadThread* run) const {
    return !closing_ && run == worker_.get();
}

void TDownloadTask::OnCsv(const CsvMessage& message) {
    // Only an analysis lists the files; a download that did would list them twice.
    if (state_ != TaskAnalysing && state_ != TaskAnalysed)
        return;
    if (!isPlainName(message.fileName))
        return;
    TVideoMessage video;
    video.name = message.fileName;
    video.totalSize = message.totalSize;
    video.mediaUrl = message.mediaUrl;
    AddVideo(video);
    state_ = TaskAnalysed;
}

void TDownloadTask::OnFile(const std::string& path) {
    if (state_ != TaskDownloading)
        return;
    for (auto& video : videos_) {
        if (video->fullPath == path)
            video->complete = true;
    }
}

void TDownloadTask::OnStatus(const std::string& text) {
    if (text == StatusUserStop)
        state_ = TaskStopped;
}

void TDownloadTask::OnProgress(const ProgressMessage& message) {
    if (state_ != TaskDownloading || message.fileName.empty())
        return;
    // A report for another file than the current one belongs to that file, not the current.
    if (!current_ || current_->percent >= 100 ||
        current_->name.compare(0, message.fileName.size(), message.fileName) != 0)
        current_ = FindVideo(message.fileName);
    if (!current_)
        return;
    if (message.totalBytes > 0) {
        current_->bytesDownloaded = message.bytesDownloaded;
        current_->rate = message.rate;
        current_->rateUnit = message.rateUnit;
        current_->remainingTime = message.remainingTime;
    }
    current_->percent = message.percent;
    post(context_.progressWindow, WM_LINK_DOWNLOAD, 2);
}

void TDownloadTask::OnError(const std::string& error, const std::string& /*detail*/) {
    if (state_ == TaskDownloadFailed || state_ == TaskStopped)
        return;
    if (state_ == TaskDownloading)
        state_ = TaskDownloadFailed;
    else if (error == ErrorNotSupported)
        state_ = TaskNotSupported;
    else
        state_ = TaskAnalysisFailed;
}

void TDownloadTask::OnRunEnded() {
    switch (state_) {
    case TaskAnalysing:
        // Nothing found and nothing said (or no library): the main window must not wait forever.
        state_ = TaskAnalysisFailed;
        post(context_.mainWindow, WM_LINK_ANALYSIS, 0);
        break;
    case TaskAnalysed:
    case TaskAnalysisFailed:
    case TaskNotSupported:
    case TaskStopped:
        post(context_.mainWindow, WM_LINK_ANALYSIS, 0);
        break;
    case TaskDownloading: {
        // Downloaded only when every file arrived: a run that wrote nothing is no success.
        bool complete = !videos_.empty();
        for (const auto& video : videos_)
            complete = complete && video->complete;
        if (complete) {
            // The run has already waited its pause on its own thread.
            state_ = TaskDownloaded;
        } else {
            state_ = TaskDownloadFailed;
        }
        post(context_.progressWindow, WM_LINK_DOWNLOAD, 0);
        break;
    }
    case TaskDownloadFailed:
        post(context_.progressWindow, WM_LINK_DOWNLOAD, 0);
        break;
    default:
        break;
    }
    // The worker thread finishes right after this report; it is joined later.
    ended_.push_back(std::move(worker_));
}

void TDownloadTask::post(const QuiloWindowPort* window, unsigned int message, long wParam) const {
    quilo_window_port_post(window, message, wParam, id_);
}

} // namespace quilo
