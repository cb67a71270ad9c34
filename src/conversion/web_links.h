// The clip area in link mode, without the window: the add-link button, the
// analysis of each new link, its rows, removing and clearing links, and the
// switches between local clips and links (the two never share the list).
#pragma once

#include "downloader/add_link.h"
#include "downloader/download_manager.h"
#include "downloader/web_list.h"
#include "media/clip_list.h"

#include <functional>

namespace quilo {

inline constexpr const char* SwitchToOnlineText =
    "Warning :\n    \n    You have added some local videos. \n    But we can't mix the local videos and "
    "online "
    "videos, \n    Do you want to clear the current video list and add online videos?";
inline constexpr const char* SwitchToLocalText =
    "Warning :\n    \n    You have added some online web videos. \n    But we can't mix the local videos and "
    "online videos, \n    Do you want to clear the current video list and add local videos?";
inline constexpr const char* AnalysingLinkText = "Analyzing the video link...";
inline constexpr const char* ClearListText = "Do you want to clear the file list?";

enum class AnalysisOutcome { None, Started, LinkAdded, Failed, Stopped };

class WebLinks {
public:
    WebLinks(TDownloadManager& manager, ClipList& clips, Prompter& prompter);

    // The add-link button. `showDialog` shows the add-link dialog modally over
    // `form` and returns false when it was cancelled. True when a link was added.
    bool AddLinkClicked(AddLinkForm& form, const std::function<bool()>& showDialog);
    // WM_LINK_ANALYSIS for the task `taskId`.
    AnalysisOutcome AnalysisNotice(long wParam, long taskId);

    // An analysis is going on: the add progress panel shows it, the list waits.
    bool Analysing() const { return analysing_; }
    const WebVideoRows& Rows() const { return rows_; }
    bool PressRow(int row) { return rows_.Press(row); }

    // The header's remove and clear buttons in link mode.
    bool RemoveClicked();
    bool ClearClicked();
    // Local files are coming in: every link and task goes, without a question.
    void GiveUp();

    // The page addresses of every task, for the add-link dialog's duplicate check.
    std::vector<std::string> PageUrls() const;

private:
    void backToIntro();

    TDownloadManager& manager_;
    ClipList& clips_;
    Prompter& prompter_;
    WebVideoRows rows_;
    bool analysing_ = false;
};

} // namespace quilo
