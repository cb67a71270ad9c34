// The output panel's crop button: the current clip goes to the crop dialog,
// with the preview's engine session ended first.
#pragma once

#include "conversion/crop_dialog.h"
#include "media/clip_list.h"
#include "platform/prompter.h"

#include <functional>

namespace quilo {

enum class CropButtonResult { Ignored, NoClip, Shown, CannotProcess };

// `showModal` shows the prepared dialog and returns when it has closed.
CropButtonResult CropButtonClicked(ClipList& clips, CropDialog& dialog, Prompter& prompter,
                                   const std::function<void()>& stopPreview,
                                   const std::function<void()>& showModal);

} // namespace quilo
