#include "conversion/web_links.h"

namespace quilo {

WebLinks::WebLinks(TDownloadManager& manager, ClipList& clips, Prompter& prompter)
    : manager_(manager), clips_(clips), prompter_(prompter) {}

bool WebLinks::AddLinkClicked(AddLinkForm& form, const std::function<bool()>& showDialog) {
    if (clips_.Mode == ListMode::Local) {
        if (clips_.Busy || prompter_.ask(PromptKind::Warning, SwitchToOnlineText, PromptButtons::OkCancel) !=
                               PromptAnswer::Ok)
            return false;
        clips_.RemoveAll();
        backToIntro();
    }
    if (analysing_ || !showDialog())
        return false;
    manager_.AddTask(form.Url);
    // The analysis panel shows at once: a second add must wait for this link.
    analysing_ = true;
    clips_.Mode = ListMode::Web;
    clips_.ListTransparent = false;
    return true;
}

AnalysisOutcome WebLinks::AnalysisNotice(long wParam, long taskId) {
    const TDownloadTask* task = manager_.TaskById(taskId);
    if (!task)
        return AnalysisOutcome::None;
    clips_.IntroVisible = false;
    if (wParam == 1) {
        analysing_ = true;
        return AnalysisOutcome::Started;
    }
    analysing_ = false;
    switch (task->state()) {
    case TaskAnalysed:
        rows_.AddLink(*task);
        return AnalysisOutcome::LinkAdded;
    case TaskAnalysisFailed:
    case TaskNotSupported: {
        const std::string message = AnalysisFailureMessage(task->state());
        manager_.RemoveTaskById(taskId);
        if (manager_.count() == 0)
            backToIntro();
        prompter_.ask(PromptKind::Information, message, PromptButtons::Ok);
        return AnalysisOutcome::Failed;
    }
    case TaskStopped:
        return AnalysisOutcome::Stopped;
    default:
        return AnalysisOutcome::None;
    }
}

bool WebLinks::RemoveClicked() {
    if (clips_.Mode != ListMode::Web || analysing_)
        return false;
    const long selected = rows_.SelectedTask();
    const TDownloadTask* task = manager_.TaskById(selected);
    if (!task)
        return false;
    manager_.RemoveTaskByUrl(task->pageUrl());
    rows_.RemoveSelected();
    if (rows_.empty() && manager_.count() == 0)
        backToIntro();
    return true;
}

bool WebLinks::ClearClicked() {
    if (clips_.Mode != ListMode::Web)
        return false;
    if (prompter_.ask(PromptKind::Confirmation, ClearListText, PromptButtons::YesNo) != PromptAnswer::Yes)
        return false;
    GiveUp();
    return true;
}

void WebLinks::GiveUp() {
    rows_.Clear();
    manager_.ClearTasks();
    analysing_ = false;
    backToIntro();
}

std::vector<std::string> WebLinks::PageUrls() const {
    std::vector<std::string> urls;
    for (int i = 0; i < manager_.count(); ++i)
        urls.push_back(manager_.GetTask(i)->pageUrl());
    return urls;
}

void WebLinks::backToIntro() {
    clips_.IntroVisible = true;
    clips_.Progress = AddProgress{};
    clips_.Mode = ListMode::Empty;
    clips_.ListTransparent = true;
}

} // namespace quilo
