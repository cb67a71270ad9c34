// Settings made by the global calls before a conversion, read by the next one.
#pragma once

#include <functional>
#include <string>

namespace tz {

struct CropRect {
    bool enabled = false;
    int width = 0, height = 0, x = 0, y = 0;
};

struct GlobalSettings {
    int threads = 0;
    bool deinterlace = false;
    bool forceSync = false;
    bool transportStream = false;
    int videoStreamId = -1;
    CropRect crop;
    int audioChannels = 0;
    std::string watermarkPath;
    int watermarkX = 0, watermarkY = 0;
    std::string tempFilePath;
    std::string frameRateHint;
};

GlobalSettings currentSettings();
void updateSettings(const std::function<void(GlobalSettings&)>& change);
// Clears what applies to one conversion only (channels, watermark).
void resetOneShotSettings();

} // namespace tz
