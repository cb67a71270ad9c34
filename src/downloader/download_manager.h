// The tasks of the web links the user added, owned in their order, and what
// they share: the library, the download folder and the two windows they notify.
#pragma once

#include "downloader/download_task.h"

#include <memory>
#include <string>
#include <vector>

namespace quilo {

class TDownloadManager {
public:
    // The library is looked for in `libraryFolder` (ending with '/'). The carrier,
    // prompter and window must outlive the manager; `mainWindow` may be null.
    TDownloadManager(std::string libraryFolder, CallbackCarrier& carrier, Prompter& prompter,
                     const QuiloWindowPort* mainWindow);
    // Stops and deletes every task. On the owner's thread.
    ~TDownloadManager();
    TDownloadManager(const TDownloadManager&) = delete;
    TDownloadManager& operator=(const TDownloadManager&) = delete;

    // Downloads go to `outputFolder` + "Download/", made when missing, or to the
    // output folder itself when that cannot be. Affects runs started afterwards.
    void SetDownloadFolder(const std::string& outputFolder);
    const std::string& downloadFolder() const { return context_.downloadFolder; }
    void SetProgressWindow(const QuiloWindowPort* window) { context_.progressWindow = window; }
    void SetDownloadEndPause(std::chrono::milliseconds pause) { context_.downloadEndPause = pause; }

    // Makes a task for the page, starts its analysis and appends it.
    TDownloadTask* AddTask(const std::string& pageUrl);
    // Deletes the first task with exactly this page address; nothing when none has it.
    void RemoveTaskByUrl(const std::string& pageUrl);
    // Takes the task at `index` out of the list; nothing for an index outside it.
    // A task whose run still goes is stopped and deleted once its thread has ended.
    void RemoveTask(int index);
    // The same for the task a notification names.
    void RemoveTaskById(long id);
    void ClearTasks();

    // Null outside the list.
    TDownloadTask* GetTask(int index) const;
    // The task a notification names (its lParam); null once the task is gone.
    TDownloadTask* TaskById(long id) const;
    int count() const { return static_cast<int>(tasks_.size()); }

    // Joins the threads of every task's ended runs and deletes removed tasks whose runs are over.
    void ReapFinishedRuns();
    // Removed tasks waiting for their runs to end.
    int retiredCount() const { return static_cast<int>(retired_.size()); }

private:
    DownloadContext context_;
    std::vector<std::unique_ptr<TDownloadTask>> tasks_;
    std::vector<std::unique_ptr<TDownloadTask>> retired_;
    long nextId_ = 1;
};

} // namespace quilo
