#include "cli/console_links.h"

#include <chrono>
#include <thread>

namespace quilo {

ConsoleLinks::ConsoleLinks(ConverterSession& session, const std::string& libraryFolder, Prompter& prompter,
                           std::ostream& log, const std::atomic<bool>& interrupted)
    : session_(session), libraryFolder_(libraryFolder), prompter_(prompter), log_(log),
      interrupted_(interrupted) {}

ConsoleLinks::~ConsoleLinks() {
    ticker_.reset();
    feed_.reset();
    downloads_.reset();
    manager_.reset();
}

void ConsoleLinks::post(void* context, unsigned int message, long wParam, long lParam) {
    auto* self = static_cast<ConsoleLinks*>(context);
    std::lock_guard lock(self->noticesLock_);
    self->notices_.push_back({message, wParam, lParam});
}

std::optional<ConsoleLinks::Notice> ConsoleLinks::nextNotice() {
    const auto pending = [this] {
        std::lock_guard lock(noticesLock_);
        return !notices_.empty();
    };
    // Ctrl-C ends the wait while the links are analysed; a stopped download still reports its end.
    carrier_.waitUntil([&] { return pending() || (interrupted_ && !downloads_); });
    std::lock_guard lock(noticesLock_);
    if (notices_.empty())
        return std::nullopt;
    const Notice notice = notices_.front();
    notices_.pop_front();
    return notice;
}

int ConsoleLinks::Analyse(const std::vector<std::string>& links) {
    session_.ForgetDownloadedClips();
    // Made only now: it makes the download folder.
    manager_ = std::make_unique<TDownloadManager>(libraryFolder_, carrier_, prompter_, &port_);
    manager_->SetProgressWindow(&port_);
    manager_->SetDownloadFolder(session_.options().OutputFolder);
    // Ctrl-C only sets a flag: a ticker makes the waits look at it.
    ticker_ = std::make_unique<std::jthread>([this](std::stop_token stop) {
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            carrier_.wake();
        }
    });
    for (const std::string& link : links) {
        log_ << "quilo-convert: analysing " << link << "\n";
        manager_->AddTask(link);
    }
    // Every analysis ends with its notice: a failed link is told and dropped.
    for (int waiting = static_cast<int>(links.size()); waiting > 0 && !interrupted_;) {
        const auto notice = nextNotice();
        if (!notice || notice->message != WM_LINK_ANALYSIS || notice->wParam != 0)
            continue;
        --waiting;
        TDownloadTask* task = manager_->TaskById(notice->taskId);
        if (!task)
            continue;
        if (task->state() == TaskAnalysed) {
            log_ << "  " << task->pageUrl() << ": " << task->videos().size() << " video file(s)\n";
            continue;
        }
        const std::string message = AnalysisFailureMessage(task->state());
        log_ << "  " << task->pageUrl() << ": ";
        prompter_.ask(PromptKind::Information, message.empty() ? "no video found" : message,
                      PromptButtons::Ok);
        manager_->RemoveTaskById(task->id());
    }
    return interrupted_ ? 0 : manager_->count();
}

ClipFeed* ConsoleLinks::Feed() {
    const std::string extension = session_.OutputExtension();
    downloads_ = std::make_unique<LinkDownloads>(*manager_, [this, extension](const TDownloadTask& task) {
        TVideoInfo* clip = session_.LoadDownloadedTask(task, extension);
        log_ << "  downloaded " << task.videos().front()->fullPath << (clip ? "" : " (cannot be converted)")
             << "\n";
        return clip;
    });
    feed_ = std::make_unique<LinkFeed>(*downloads_, [this](std::function<void()> call) {
        std::lock_guard lock(noticesLock_);
        calls_.push_back(std::move(call));
    });
    return feed_.get();
}

void ConsoleLinks::Serve() {
    if (!feed_)
        return;
    carrier_.runPending();
    for (;;) {
        std::function<void()> call;
        std::optional<Notice> notice;
        {
            std::lock_guard lock(noticesLock_);
            if (!calls_.empty()) {
                call = std::move(calls_.front());
                calls_.pop_front();
            } else if (!notices_.empty()) {
                notice = notices_.front();
                notices_.pop_front();
            } else {
                return;
            }
        }
        if (call)
            call();
        else
            handle(*notice);
    }
}

void ConsoleLinks::Settle() {
    Serve();
    while (downloads_ && downloads_->Downloading() && !downloads_->Over()) {
        if (const auto notice = nextNotice())
            handle(*notice);
        Serve();
    }
}

void ConsoleLinks::handle(const Notice& notice) {
    if (notice.message == WM_LINK_DOWNLOAD) {
        if (const TDownloadTask* task = manager_->TaskById(notice.taskId); task && notice.wParam == 1)
            log_ << "quilo-convert: downloading " << task->pageUrl() << "\n";
        feed_->DownloadNotice(notice.wParam, notice.taskId);
        showDownload();
    } else if (notice.message == WM_LINK_ANALYSIS && notice.wParam == 0) {
        const TDownloadTask* task = manager_->TaskById(notice.taskId);
        if (task && task->state() == TaskStopped) {
            log_ << "  the download stopped\n";
            feed_->StopNotice(notice.taskId);
        }
    }
}

void ConsoleLinks::showDownload() {
    const DownloadPanel& panel = downloads_->Panel();
    // One line per tenth of a file; a file's first report shows its size.
    if (panel.progress.empty())
        return;
    const std::string tenth = panel.fileName + std::to_string(std::stoi(panel.progress) / 10);
    if (tenth == shownProgress_)
        return;
    shownProgress_ = tenth;
    log_ << "  " << panel.fileName << "  " << panel.progress << " of " << panel.total << "  " << panel.rate
         << "\n";
}

bool ConsoleLinks::Finish(const std::vector<EngineResult>& clipResults) {
    if (!downloads_)
        return !manager_ || manager_->count() == 0;
    const std::string message = FailedLinksMessage(downloads_->FinishTasks(clipResults));
    if (!message.empty())
        prompter_.ask(PromptKind::Information, message, PromptButtons::Ok);
    return message.empty();
}

} // namespace quilo
