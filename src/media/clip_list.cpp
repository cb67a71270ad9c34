#include "media/clip_list.h"

#include "media/clip_text.h"
#include "shell/text_format.h"

#include <algorithm>
#include <cstdlib>

namespace quilo {

ClipList::ClipList(Prompter& prompter) : prompter_(prompter), events_(&noEvents_) {}

ClipList::~ClipList() = default;

void ClipList::setEvents(ClipListEvents* events) {
    events_ = events ? events : &noEvents_;
}

TVideoInfo* ClipList::Clip(int index) const {
    return index >= 0 && index < Count() ? clips_[static_cast<size_t>(index)].get() : nullptr;
}

std::vector<TVideoInfo*> ClipList::Clips() const {
    std::vector<TVideoInfo*> all;
    all.reserve(clips_.size());
    for (const auto& clip : clips_)
        all.push_back(clip.get());
    return all;
}

int ClipList::IndexOf(const TVideoInfo* clip) const {
    for (size_t i = 0; i < clips_.size(); ++i) {
        if (clips_[i].get() == clip)
            return static_cast<int>(i);
    }
    return -1;
}

bool ClipList::owns(const TInfoListItem* row) const {
    return row && std::find(rows_.begin(), rows_.end(), row) != rows_.end();
}

void ClipList::repaint() {
    events_->repaint();
}

TVideoInfo& ClipList::Append(std::unique_ptr<TVideoInfo> clip) {
    TVideoInfo& added = *clip;
    clips_.push_back(std::move(clip));
    const int number = Count();
    added.CheckedChanged = [this](TVideoInfo& changed) { events_->clipCheckedChanged(changed); };
    added.Row().Number = number;
    added.Row().Top = static_cast<int>(rows_.size()) * RowHeight;
    rows_.push_back(&added.Row());
    for (const auto& audio : added.AudioRows()) {
        audio->Number = number;
        audio->Top = static_cast<int>(rows_.size()) * RowHeight;
        rows_.push_back(audio.get());
    }
    return added;
}

void ClipList::deselectAll() {
    for (TInfoListItem* row : selectedRows_)
        row->Selected = false;
    for (TVideoInfo* clip : selectedClips_)
        clip->Selected = false;
    selectedRows_.clear();
    selectedClips_.clear();
}

bool ClipList::PressRow(TInfoListItem* row) {
    if (Busy || Seeking || !owns(row))
        return false;
    TVideoInfo* clip = row->Clip;
    if (!row->Selected) {
        deselectAll();
        row->Selected = true;
        selectedRows_.push_back(row);
        for (const auto& audio : clip->AudioRows()) {
            if (!audio->Selected) {
                audio->Selected = true;
                selectedRows_.push_back(audio.get());
            }
        }
        clip->Selected = true;
        selectedClips_.push_back(clip);
    }
    ShowClip(clip);
    repaint();
    return true;
}

bool ClipList::MoveSelection(int step) {
    if (clips_.empty() || Busy || Seeking)
        return false;
    const int selected = selectedClips_.empty() ? -1 : IndexOf(selectedClips_.back());
    const int last = Count() - 1;
    const int target = selected < 0 ? (step > 0 ? 0 : last) : std::clamp(selected + step, 0, last);
    if (target == selected)
        return false;
    TVideoInfo& clip = *clips_[static_cast<size_t>(target)];
    if (!PressRow(&clip.Row()))
        return false;
    const auto row = std::find(rows_.begin(), rows_.end(), &clip.Row()) - rows_.begin();
    // The clip's audio rows first, then its own row, which wins when not all fit.
    ScrollToRow(static_cast<int>(row) + static_cast<int>(clip.AudioRows().size()));
    ScrollToRow(static_cast<int>(row));
    return true;
}

void ClipList::ScrollToRow(int index) {
    const int first = FirstVisibleRow();
    if (index >= first && index < first + VisibleRows)
        return;
    // The thumb decides the first row; of its positions that show the row, the
    // nearest to where it is now.
    int best = -1;
    for (int top = ThumbMinTop; top <= ThumbMaxTop; ++top) {
        const int saved = thumbTop_;
        thumbTop_ = top;
        const int shownFirst = FirstVisibleRow();
        thumbTop_ = saved;
        if (index >= shownFirst && index < shownFirst + VisibleRows &&
            (best < 0 || std::abs(top - thumbTop_) < std::abs(best - thumbTop_)))
            best = top;
    }
    if (best >= 0)
        SetThumbTop(best);
}

bool ClipList::ShowClip(TVideoInfo* clip) {
    if (clip && IndexOf(clip) < 0)
        return false;
    if (clip == current_)
        return true;
    controls_.AudioItems.clear();
    controls_.AudioIndex = -1;
    controls_.SubtitleItems.clear();
    controls_.SubtitleIndex = -1;
    controls_.StartText.clear();
    controls_.EndText.clear();
    events_->stopPreview();
    current_ = clip;
    if (!clip) {
        controls_.Preview = nullptr;
        controls_.AudioEnabled = false;
        controls_.SubtitleEnabled = false;
        controls_.TimesEnabled = false;
        controls_.TrimBarEnabled = false;
        controls_.SnapshotEnabled = false;
    } else {
        controls_.TimesEnabled = true;
        controls_.TrimBarEnabled = true;
        controls_.StartText = SecondsToText(clip->StartTime);
        controls_.EndText = SecondsToText(clip->EndTime);
        controls_.AudioEnabled = clip->AudioTracks.has_value();
        if (clip->AudioTracks) {
            for (const std::string& name : *clip->AudioTracks)
                controls_.AudioItems.push_back(name.substr(0, name.find('#')));
            controls_.AudioIndex = clip->AudioTrackIndex;
        }
        controls_.SubtitleEnabled = clip->Subtitles.has_value();
        if (clip->Subtitles) {
            controls_.SubtitleItems = *clip->Subtitles;
            controls_.SubtitleItems.push_back("Disable");
            controls_.SubtitleIndex = clip->SubtitleIndex;
        }
        controls_.SnapshotEnabled = false;
        controls_.Preview = &clip->Thumbnail;
    }
    events_->currentClipChanged(clip);
    return true;
}

bool ClipList::ClickAudioCheck(TInfoListItem* row) {
    if (Busy || !owns(row) || row->Kind != RowKind::Audio || row->Checked)
        return false;
    for (const auto& audio : row->Clip->AudioRows())
        audio->Checked = false;
    row->Checked = true;
    row->Clip->SelectedAudioId = row->StreamId;
    repaint();
    return true;
}

bool ClipList::ChangeAudioTrack(int index) {
    if (!current_ || !current_->AudioTracks || index < 0 ||
        index >= static_cast<int>(controls_.AudioItems.size()))
        return false;
    controls_.AudioIndex = index;
    current_->SetAudioTrackIndex(index);
    return true;
}

bool ClipList::ChangeSubtitle(int index) {
    if (!current_ || !current_->Subtitles || index < 0 ||
        index >= static_cast<int>(controls_.SubtitleItems.size()))
        return false;
    controls_.SubtitleIndex = index;
    current_->SetSubtitleIndex(index);
    return true;
}

bool ClipList::RemoveSelectedClips() {
    if (selectedRows_.empty())
        return false;
    ShowClip(nullptr);
    const std::vector<TVideoInfo*> doomed = selectedClips_;
    const auto isDoomed = [&](const TInfoListItem* row) {
        return row->Selected || std::find(doomed.begin(), doomed.end(), row->Clip) != doomed.end();
    };

    // The row after the last selected one is selected afterwards, unless the
    // selection reached the last two rows; then the new last row is.
    size_t last = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i]->Selected)
            last = i;
    }
    TInfoListItem* follower = nullptr;
    if (last + 2 < rows_.size()) {
        for (size_t i = last + 1; i < rows_.size() && !follower; ++i) {
            if (!isDoomed(rows_[i]))
                follower = rows_[i];
        }
    }

    // A selected audio row selects its clip but not the clip row; every row of a
    // removed clip leaves the list with it, or the list would point at freed rows.
    std::erase_if(rows_, isDoomed);
    selectedRows_.clear();
    selectedClips_.clear();
    std::erase_if(clips_, [&](const std::unique_ptr<TVideoInfo>& clip) {
        return std::find(doomed.begin(), doomed.end(), clip.get()) != doomed.end();
    });
    Renumber();
    if (!rows_.empty())
        PressRow(follower ? follower : rows_.back());
    return true;
}

bool ClipList::ClearClips() {
    if (clips_.empty())
        return false;
    if (prompter_.ask(PromptKind::Confirmation, "Do you want to clear the file list?",
                      PromptButtons::YesNo) != PromptAnswer::Yes)
        return false;
    RemoveAll();
    return true;
}

void ClipList::RemoveAll() {
    rows_.clear();
    selectedRows_.clear();
    selectedClips_.clear();
    ShowClip(nullptr);
    clips_.clear();
    events_->sizeDefaultsForgotten();
    repaint();
    DvdDrive = std::string(NoDvdDrive);
    controls_.StartRed = false;
    controls_.EndRed = false;
    IntroVisible = true;
    thumbTop_ = ThumbMinTop;
    Mode = ListMode::Empty;
    ListTransparent = true;
    repaint();
}

void ClipList::Renumber() {
    for (size_t i = 0; i < clips_.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        clips_[i]->Row().Number = number;
        for (const auto& audio : clips_[i]->AudioRows())
            audio->Number = number;
    }
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i]->Top = static_cast<int>(i) * RowHeight;
    RefreshOutputNames();
    if (clips_.empty()) {
        IntroVisible = true;
        Mode = ListMode::Empty;
        ListTransparent = true;
    }
    repaint();
}

void ClipList::RefreshOutputNames() {
    if (!namer_)
        return;
    for (size_t i = 0; i < clips_.size(); ++i)
        clips_[i]->SetOutputName(namer_->OutputFileName(static_cast<int>(i)));
}

void ClipList::RefreshOutputName(TVideoInfo& clip) {
    const int index = IndexOf(&clip);
    if (namer_ && index >= 0)
        clip.SetOutputName(namer_->OutputFileName(index));
}

bool ClipList::RemoveButton() {
    if (Mode != ListMode::Local || Busy)
        return false;
    return RemoveSelectedClips();
}

bool ClipList::ClearButton() {
    if (Mode != ListMode::Local || Busy)
        return false;
    return ClearClips();
}

void ClipList::SetThumbTop(int top) {
    thumbTop_ = std::clamp(top, ThumbMinTop, ThumbMaxTop);
    repaint();
}

int ClipList::FirstVisibleRow() const {
    const int rows = static_cast<int>(rows_.size());
    if (rows <= VisibleRows)
        return 0;
    return (rows - VisibleRows) * (thumbTop_ - ThumbMinTop) / (ThumbMaxTop - ThumbMinTop);
}

void ClipList::ThumbPress(int cursorY) {
    thumbDrag_ = std::make_pair(cursorY, thumbTop_);
}

void ClipList::ThumbMove(int cursorY) {
    if (thumbDrag_)
        SetThumbTop(thumbDrag_->second + cursorY - thumbDrag_->first);
}

void ClipList::ThumbRelease() {
    thumbDrag_.reset();
}

std::optional<std::vector<MenuEntry>> ClipList::OpenContextMenu() const {
    if (Busy || Seeking)
        return std::nullopt;
    return std::vector<MenuEntry>{{"Remove Select", !selectedRows_.empty()},
                                  {"Clear", !clips_.empty()},
                                  {"-", true},
                                  {"Add clip(s)...", true}};
}

} // namespace quilo
