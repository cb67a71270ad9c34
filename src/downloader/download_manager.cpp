#include "downloader/download_manager.h"

#include <filesystem>

namespace quilo {

TDownloadManager::TDownloadManager(std::string libraryFolder, CallbackCarrier& carrier, Prompter& prompter,
                                   const QuiloWindowPort* mainWindow) {
    context_.libraryFolder = std::move(libraryFolder);
    context_.carrier = &carrier;
    context_.prompter = &prompter;
    context_.mainWindow = mainWindow;
}

TDownloadManager::~TDownloadManager() {
    ClearTasks();
    // Deleting waits for the runs still going, carrying their last reports.
    retired_.clear();
}

void TDownloadManager::SetDownloadFolder(const std::string& outputFolder) {
    const std::string folder = outputFolder + "Download/";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    context_.downloadFolder = std::filesystem::is_directory(folder, error) ? folder : outputFolder;
}

TDownloadTask* TDownloadManager::AddTask(const std::string& pageUrl) {
    ReapFinishedRuns();
    tasks_.push_back(std::make_unique<TDownloadTask>(context_, nextId_++));
    TDownloadTask* task = tasks_.back().get();
    task->StartAnalysis(pageUrl);
    return task;
}

void TDownloadManager::RemoveTaskByUrl(const std::string& pageUrl) {
    for (size_t i = 0; i < tasks_.size(); ++i) {
        if (tasks_[i]->pageUrl() == pageUrl) {
            RemoveTask(static_cast<int>(i));
            return;
        }
    }
}

void TDownloadManager::RemoveTask(int index) {
    if (index < 0 || index >= count())
        return;
    std::unique_ptr<TDownloadTask> removed = std::move(tasks_[static_cast<size_t>(index)]);
    tasks_.erase(tasks_.begin() + index);
    // A task whose thread still runs is not deleted under that thread, nor waited
    // for here (this may be one of its own reports): it is stopped and kept
    // aside until its thread has ended.
    if (!removed->idle()) {
        removed->Abandon();
        retired_.push_back(std::move(removed));
    }
    removed.reset();
    ReapFinishedRuns();
}

void TDownloadManager::RemoveTaskById(long id) {
    for (size_t i = 0; i < tasks_.size(); ++i) {
        if (tasks_[i]->id() == id) {
            RemoveTask(static_cast<int>(i));
            return;
        }
    }
}

void TDownloadManager::ClearTasks() {
    while (!tasks_.empty())
        RemoveTask(0);
}

TDownloadTask* TDownloadManager::GetTask(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return tasks_[static_cast<size_t>(index)].get();
}

TDownloadTask* TDownloadManager::TaskById(long id) const {
    for (const auto& task : tasks_) {
        if (task->id() == id)
            return task.get();
    }
    return nullptr;
}

void TDownloadManager::ReapFinishedRuns() {
    for (const auto& task : tasks_)
        task->ReapFinishedRuns();
    std::erase_if(retired_, [](const std::unique_ptr<TDownloadTask>& task) { return task->idle(); });
}

} // namespace quilo
