#include "media/volume_source.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

namespace quilo {

bool IsOpticalDevice(const std::string& device) {
    static const QRegularExpression optical(QStringLiteral("^/dev/sr[0-9]+$"));
    const QString name = QString::fromStdString(device);
    if (optical.match(name).hasMatch())
        return true;
    const QString target = QFileInfo(name).canonicalFilePath();
    return !target.isEmpty() && optical.match(target).hasMatch();
}

namespace {

bool hasVideoTs(const QString& root) {
    // Discs mounted without extensions may show the folder in lower case.
    const QStringList found =
        QDir(root).entryList({QStringLiteral("VIDEO_TS")}, QDir::Dirs | QDir::NoDotAndDotDot);
    return !found.isEmpty();
}

VolumeEvent describe(const QStorageInfo& volume) {
    VolumeEvent event;
    event.Drive = volume.device().toStdString();
    event.Root = volume.rootPath().toStdString();
    const QByteArray type = volume.fileSystemType().toLower();
    event.Optical = IsOpticalDevice(event.Drive) || type == "iso9660" || type == "udf";
    if (volume.isValid() && volume.isReady())
        event.Label = volume.name().toStdString();
    event.HasVideoTs = hasVideoTs(volume.rootPath());
    return event;
}

} // namespace

std::vector<VolumeEvent> MountedVolumeSource::Poll() {
    std::map<std::string, VolumeEvent> now;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid())
            continue;
        // A new device mounted at the same place is a removal and an arrival.
        const std::string key = volume.rootPath().toStdString() + '\n' + volume.device().toStdString();
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
