// The fixed texts of the output settings panel.
#pragma once

#include <array>

namespace quilo::panel_text {

inline constexpr std::array<const char*, 4> DvdSettings = {
    "DVD Format: NTSC, Aspect Ratio: 4:3 for Standard TV",
    "DVD Format: NTSC, Aspect Ratio: 16:9 for Wide-screen TV",
    "DVD Format: PAL, Aspect Ratio: 4:3 for Standard TV",
    "DVD Format: PAL, Aspect Ratio: 16:9 for Wide-screen TV",
};

inline constexpr const char* VobFileLabel =
    "This section will let you create DVD format VOB files, and you can "
    "easily create DVD disc by using our DVD Authoring Software.";
inline constexpr const char* DvdFolderLabel =
    "This section will let you create DVD folder, and you can easily "
    "burn DVD disc by using our DVD Burning Software.";
inline constexpr const char* DvdDiscLabel =
    "This section will let you create DVD disc, and you can easily play "
    "the DVD disc on your home DVD player.";

inline constexpr const char* OriginalSize = "Original Width : Height";

inline constexpr const char* HighQualityNote =
    "This feature can improve the image quality. But it will slow down the converting process.";
inline constexpr const char* DeinterlaceNote = "If your original video is interleaving video, the Advanced "
                                               "De-interlace Accelerator can make it much clearer.";
inline constexpr const char* ForceSyncNote =
    "If your original file's audio is out of sync with video, the Intelligent A/V Synchronizer can help you "
    "solve the problem.\nPlease do not use this feature if there is no such problem with your original file.";

} // namespace quilo::panel_text
