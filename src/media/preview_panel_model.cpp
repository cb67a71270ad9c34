#include "media/preview_panel_model.h"

namespace quilo {

PreviewPanelModel::PreviewPanelModel(ClipList& clips, Prompter& prompter, std::string libraryPath,
                                     std::string dataFolder)
    : clips_(clips), prompter_(prompter), trim_(*this),
      grabber_(std::move(libraryPath), std::move(dataFolder)) {
    grabber_.SetMessageListener([this] {
        followSeeking();
        if (listener_)
            listener_();
    });
}

void PreviewPanelModel::followSeeking() {
    clips_.Seeking = grabber_.LabelVisible();
}

void PreviewPanelModel::ShowClip(TVideoInfo* clip) {
    grabber_.SetClip(clip);
    trim_.SetClip(clip);
    followSeeking();
}

void PreviewPanelModel::StopPreview() {
    grabber_.StopGrabber();
    followSeeking();
}

void PreviewPanelModel::Press(TrimItem item, int x) {
    if (TrimBarEnabled())
        trim_.Press(item, x);
}

void PreviewPanelModel::Move(int x) {
    trim_.Move(x);
}

void PreviewPanelModel::Release() {
    trim_.Release();
    followSeeking();
}

void PreviewPanelModel::EditStart(const std::string& text) {
    trim_.EditStart(text);
}
void PreviewPanelModel::EditEnd(const std::string& text) {
    trim_.EditEnd(text);
}
void PreviewPanelModel::LeaveStart() {
    trim_.LeaveStart();
}
void PreviewPanelModel::LeaveEnd() {
    trim_.LeaveEnd();
}

bool PreviewPanelModel::MayClose() {
    if (!Seeking())
        return true;
    prompter_.inform(SeekingCloseText);
    return false;
}

std::string PreviewPanelModel::Snapshot(SnapshotDialog& dialog) {
    if (!grabber_.CanSnapshot())
        return {};
    const std::optional<SnapshotChoice> choice =
        dialog.chooseFile(SnapshotStartFolder(), SnapshotDefaultName, SnapshotDialogFilter);
    if (!choice || choice->Path.empty())
        return {};
    return grabber_.SaveSnapshot(choice->Path, choice->Filter);
}

void PreviewPanelModel::showSeeking() {
    grabber_.ShowSeeking();
    followSeeking();
}

void PreviewPanelModel::requestFrame(int seconds) {
    grabber_.RequestFrame(seconds);
    followSeeking();
}

void PreviewPanelModel::refreshOutputNames() {
    clips_.RefreshOutputNames();
}

} // namespace quilo
