#include "downloader/download_thread.h"

#include <cstring>

namespace quilo {

namespace {

std::string textOf(const char* text) {
    return text ? text : "";
}

} // namespace

DownloadThread::DownloadThread(std::string libraryFolder, DownloadSink& sink, CallbackCarrier& carrier,
                               Prompter& prompter)
    : libraryFolder_(std::move(libraryFolder)), sink_(sink), carrier_(carrier), prompter_(prompter) {}

DownloadThread::~DownloadThread() {
    Stop();
    Wait();
}

bool DownloadThread::Start() {
    if (started_.exchange(true))
        return false;
    worker_ = std::thread([this] { Execute(); });
    return true;
}

bool DownloadThread::Stop() {
    std::lock_guard lock(stopLock_);
    if (!started_ || finished_)
        return false;
    stopAsked_ = true;
    stopAskedChanged_.notify_all();
    // Before the library is ready the stop waits in stopAsked_; Execute passes it on.
    if (userStopRun_)
        userStopRun_(this);
    else if (userStop_)
        userStop_();
    return true;
}

void DownloadThread::Wait() {
    if (!worker_.joinable())
        return;
    carrier_.waitUntil([this] { return finished_.load(); });
    worker_.join();
}

void DownloadThread::carry(const std::function<void()>& handler) {
    carrier_.carry(handler);
}

void DownloadThread::Execute() {
    TDllInterface library;
    if (!library.Load(libraryFolder_ + DownloaderLibraryName)) {
        loadError_ = library.error();
        carry([this] { prompter_.error(DownloaderLoadErrorText); });
    } else {
        const VideodlApi& api = library.api();
        api.SetSendCSVMessageFun(&DownloadThread::onCsv);
        api.SetSendFileMessageFun(&DownloadThread::onFile);
        api.SetSendStatusMessageFun(&DownloadThread::onStatus);
        api.SetSendProcessMessageFun(&DownloadThread::onProgress);
        api.SetSendErrorMessageFun(&DownloadThread::onError);
        api.SetUserParam(this);
        api.SetDownloadPath(downloadFolder_.c_str());
        {
            std::lock_guard lock(stopLock_);
            userStop_ = api.UserStop;
            userStopRun_ = api.UserStopRun;
            if (stopAsked_)
                userStopRun_ ? static_cast<void>(userStopRun_(this)) : userStop_();
        }

        std::vector<const char*> argv;
        for (const auto& argument : arguments_)
            argv.push_back(argument.c_str());
        argv.push_back(nullptr);
        api.Run(static_cast<int>(arguments_.size()), argv.data());

        std::unique_lock lock(stopLock_);
        // Nobody may call into the library once it is unloaded.
        userStop_ = nullptr;
        userStopRun_ = nullptr;
        lock.unlock();
        library.Unload();
        lock.lock();
        stopAskedChanged_.wait_for(lock, endPause_, [this] { return stopAsked_; });
    }
    carry([this] { sink_.DoRunEnded(); });
    finished_ = true;
    carrier_.wake();
}

void DownloadThread::onCsv(const VideodlCsvMessage* message, void* user) {
    auto* self = static_cast<DownloadThread*>(user);
    if (!message)
        return;
    self->csv_ = {textOf(message->fileName), textOf(message->title), message->totalSize,
                  textOf(message->mediaUrl), textOf(message->format)};
    self->carry([self] { self->sink_.DoCSVMessage(self->csv_); });
}

void DownloadThread::onFile(const char* path, void* user) {
    auto* self = static_cast<DownloadThread*>(user);
    self->file_ = textOf(path);
    self->carry([self] { self->sink_.DoFileMessage(self->file_); });
}

void DownloadThread::onStatus(const char* text, void* user) {
    auto* self = static_cast<DownloadThread*>(user);
    self->status_ = textOf(text);
    self->carry([self] { self->sink_.DoStatusMessage(self->status_); });
}

void DownloadThread::onProgress(const VideodlProgressMessage* message, void* user) {
    auto* self = static_cast<DownloadThread*>(user);
    if (!message)
        return;
    ProgressMessage& progress = self->progress_;
    progress.fileName = textOf(message->fileName);
    progress.percent = message->percent;
    progress.bytesDownloaded = message->bytesDownloaded;
    progress.totalBytes = message->totalBytes;
    progress.rate = message->rate;
    // Fixed-size fields: read no further than the record reaches, terminator or not.
    progress.rateUnit.assign(message->rateUnit, strnlen(message->rateUnit, sizeof message->rateUnit));
    progress.remainingTime.assign(message->remainingTime,
                                  strnlen(message->remainingTime, sizeof message->remainingTime));
    self->carry([self] { self->sink_.DoProcessMessage(self->progress_); });
}

void DownloadThread::onError(const char* error, const char* detail, void* user) {
    auto* self = static_cast<DownloadThread*>(user);
    self->error_ = textOf(error);
    self->detail_ = textOf(detail);
    self->carry([self] { self->sink_.DoErrorMessage(self->error_, self->detail_); });
}

} // namespace quilo
