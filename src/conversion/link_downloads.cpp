#include "conversion/link_downloads.h"

#include "downloader/download_messages.h"
#include "downloader/web_list.h"

#include <cstdio>

namespace quilo {

std::string DownloadedClipName(const std::string& firstFileName, const std::string& extension) {
    std::string name = firstFileName;
    if (name.compare(2, 2, "of") == 0 && name.find('_') == 6)
        name.erase(0, 7);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    if (name.empty())
        name = "video";
    return name + extension;
}

std::string FailedLinksMessage(const std::vector<std::string>& pageUrls) {
    if (pageUrls.empty())
        return {};
    std::string text = FailedLinksText;
    for (const std::string& url : pageUrls)
        text += url + "\n";
    return text;
}

LinkDownloads::LinkDownloads(TDownloadManager& manager, ClipMaker makeClip)
    : manager_(manager), makeClip_(std::move(makeClip)) {}

int LinkDownloads::Pending() const {
    int pending = 0;
    for (int i = 0; i < manager_.count(); ++i)
        pending += manager_.GetTask(i)->state() != TaskConverted ? 1 : 0;
    return pending;
}

bool LinkDownloads::StartNext() {
    current_ = 0;
    while (!stopRequested_ && taskIndex_ < manager_.count()) {
        TDownloadTask* task = manager_.GetTask(taskIndex_);
        if (task->state() != TaskConverted && task->StartDownload(DownloadStartArguments())) {
            current_ = task->id();
            return true;
        }
        ++taskIndex_;
    }
    over_ = true;
    return false;
}

bool LinkDownloads::DownloadNotice(long wParam, long taskId) {
    const TDownloadTask* task = manager_.TaskById(taskId);
    if (over_ || !task || taskId != current_)
        return false;
    if (wParam == 1) {
        panel_ = {};
        panel_.url = task->pageUrl();
    } else if (wParam == 2) {
        showProgress(*task);
    } else if (wParam == 0) {
        panel_ = {};
        if (task->state() == TaskDownloaded && !stopRequested_) {
            if (TVideoInfo* clip = makeClip_(*task)) {
                clips_.push_back(clip);
                clipTasks_.push_back(taskId);
            }
        }
        ++taskIndex_;
        current_ = 0;
        return true;
    }
    return false;
}

bool LinkDownloads::StopNotice(long taskId) {
    if (over_ || taskId != current_)
        return over_;
    stopRequested_ = true;
    current_ = 0;
    over_ = true;
    return true;
}

bool LinkDownloads::Stop() {
    TDownloadTask* task = manager_.TaskById(current_);
    if (!task)
        return false;
    stopRequested_ = true;
    return task->StopTask();
}

void LinkDownloads::showProgress(const TDownloadTask& task) {
    const TVideoMessage* video = task.currentVideo();
    if (!video)
        return;
    panel_.fileName = video->name;
    panel_.total = MegabytesText(video->totalSize);
    panel_.size = MegabytesText(video->bytesDownloaded);
    if (video->rate >= 1 && video->bytesDownloaded > 0) {
        char rate[64];
        std::snprintf(rate, sizeof rate, "%0.2f", video->rate);
        panel_.rate = rate;
        panel_.rate += video->rateUnit;
    } else {
        panel_.rate = "0";
    }
    if (video->percent < 100)
        panel_.remaining = video->remainingTime;
    panel_.progress = std::to_string(video->percent) + "%";
}

std::vector<std::string> LinkDownloads::FinishTasks(const std::vector<EngineResult>& clipResults) {
    for (size_t i = 0; i < clipTasks_.size() && i < clipResults.size(); ++i) {
        if (clipResults[i] != EngineResult::Converted)
            continue;
        if (TDownloadTask* task = manager_.TaskById(clipTasks_[i]))
            task->setState(TaskConverted);
    }
    std::vector<std::string> failed;
    for (int i = 0; i < manager_.count(); ++i) {
        if (manager_.GetTask(i)->state() != TaskConverted)
            failed.push_back(manager_.GetTask(i)->pageUrl());
    }
    return failed;
}

} // namespace quilo
