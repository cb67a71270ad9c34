// The preview beside the clip list without the window: the trim bar and its
// time fields, the frame grabber showing the current clip, the snapshot button,
// and the rule that keeps the window open while a frame is sought.
#pragma once

#include "media/clip_list.h"
#include "media/preview_grabber.h"
#include "media/trim_bar.h"
#include "platform/prompter.h"

#include <functional>
#include <optional>
#include <string>

namespace quilo {

inline constexpr const char* SeekingCloseText = "Seeking disc, please waiting.";

struct SnapshotChoice {
    std::string Path;
    SnapshotFilter Filter = SnapshotFilter::Jpg;
};

// The snapshot button's save dialog.
class SnapshotDialog {
public:
    virtual ~SnapshotDialog() = default;
    // Nothing when the user cancels.
    virtual std::optional<SnapshotChoice>
    chooseFile(const std::string& startFolder, const std::string& fileName, const std::string& filter) = 0;
};

class PreviewPanelModel : private TrimBarEvents {
public:
    // `libraryPath` is the engine in the program folder; `dataFolder` ends with '/'.
    PreviewPanelModel(ClipList& clips, Prompter& prompter, std::string libraryPath, std::string dataFolder);

    TrimBar& Trim() { return trim_; }
    const TrimBar& Trim() const { return trim_; }
    PreviewGrabber& Grabber() { return grabber_; }

    // The clip list's hooks: another clip became current; the engine must let
    // go of the preview (files are added, a job starts).
    void ShowClip(TVideoInfo* clip);
    void StopPreview();

    // "Seeking please wait..." shows; the clip list ignores presses meanwhile.
    bool Seeking() const { return grabber_.LabelVisible(); }
    bool TrimBarEnabled() const { return trim_.HandlesEnabled() && grabber_.TrimBarEnabled(); }
    bool FieldsEnabled() const { return trim_.Clip() != nullptr; }
    // Only a frame the engine delivered can be saved.
    bool SnapshotEnabled() const { return grabber_.SnapshotEnabled() && grabber_.CanSnapshot(); }
    // The picture to show: the current clip's thumbnail or last frame.
    const Bitmap24* Picture() const { return trim_.Clip() ? &trim_.Clip()->Thumbnail : nullptr; }

    // The trim bar's mouse and the fields' edits go through these, so the
    // seeking flag follows them.
    void Press(TrimItem item, int x);
    void Move(int x);
    void Release();
    void EditStart(const std::string& text);
    void EditEnd(const std::string& text);
    void LeaveStart();
    void LeaveEnd();

    // False when the window must stay open; the user is told why.
    bool MayClose();
    // The snapshot button: the file written, or empty.
    std::string Snapshot(SnapshotDialog& dialog);

    // Called whenever the engine changed what the panel shows.
    void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    // TrimBarEvents
    void showSeeking() override;
    void requestFrame(int seconds) override;
    void refreshOutputNames() override;

    void followSeeking();

    ClipList& clips_;
    Prompter& prompter_;
    TrimBar trim_;
    PreviewGrabber grabber_;
    std::function<void()> listener_;
};

} // namespace quilo
