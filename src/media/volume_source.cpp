#include "media/volume_source.h"

#include <QDir>

namespace quilo {

namespace {

bool hasVideoTs(const QString& root) {
    // Discs mounted without extensions may show the folder in lower case.
    const QStringList found =
        QDir(root).entryList({QStringLiteral("VIDEO_TS")}, QDir::Dirs | QDir::NoDotAndDotDot);
    return !found.isEmpty();
}

VolumeEvent describe(const MountedVolume& volume) {
    VolumeEvent event;
    event.Drive = volume.device;
    event.Root = volume.root;
    const std::string& type = volume.fileSystemType;
    event.Optical = IsOpticalDevice(event.Drive) || type == "iso9660" || type == "udf";
    event.Label = volume.label;
    event.HasVideoTs = hasVideoTs(QString::fromStdString(volume.root));
    return event;
}

} // namespace

std::vector<VolumeEvent> MountedVolumeSource::Poll() {
    std::map<std::string, VolumeEvent> now;
    for (const MountedVolume& volume : MountedVolumes()) {
        // A new device mounted at the same place is a removal and an arrival.
        const std::string key = volume.root + '\n' + volume.device;
        const auto known = known_.find(key);
        now.emplace(key, known != known_.end() ? known->second : describe(volume));
    }
    std::vector<VolumeEvent> events;
    if (primed_) {
        for (auto& [key, event] : known_) {
            if (!now.contains(key)) {
                VolumeEvent gone = event;
                gone.kind = VolumeEvent::Kind::Removal;
                events.push_back(std::move(gone));
            }
        }
        for (auto& [key, event] : now) {
            if (!known_.contains(key)) {
                VolumeEvent arrived = event;
                arrived.kind = VolumeEvent::Kind::Arrival;
                events.push_back(std::move(arrived));
            }
        }
    }
    primed_ = true;
    known_ = std::move(now);
    return events;
}

} // namespace quilo
