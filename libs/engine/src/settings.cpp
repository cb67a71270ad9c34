#include "settings.h"

#include <mutex>

namespace tz {
namespace {
std::mutex lock;
GlobalSettings settings;
} // namespace

GlobalSettings currentSettings() {
    std::lock_guard guard(lock);
    return settings;
}

void updateSettings(const std::function<void(GlobalSettings&)>& change) {
    std::lock_guard guard(lock);
    change(settings);
}

void resetOneShotSettings() {
    std::lock_guard guard(lock);
    settings.audioChannels = 0;
    settings.watermarkPath.clear();
    settings.watermarkX = settings.watermarkY = 0;
}

} // namespace tz
