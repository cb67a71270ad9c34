#include "conversion/crop_button.h"

namespace quilo {

CropButtonResult CropButtonClicked(ClipList& clips, CropDialog& dialog, Prompter& prompter,
                                   const std::function<void()>& stopPreview,
                                   const std::function<void()>& showModal) {
    if (clips.Busy)
        return CropButtonResult::Ignored;
    TVideoInfo* clip = clips.CurrentClip();
    if (!clip) {
        prompter.inform(CropSelectClipText);
        return CropButtonResult::NoClip;
    }
    // The engine grabs for one window at a time.
    stopPreview();
    if (!dialog.OpenCropDialog(*clip)) {
        prompter.error(CropCannotProcessText);
        return CropButtonResult::CannotProcess;
    }
    showModal();
    return CropButtonResult::Shown;
}

} // namespace quilo
