#include "platform/mounted_volumes.h"

#include "platform/user_folders.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

namespace quilo {

std::vector<MountedVolume> MountedVolumes() {
    std::vector<MountedVolume> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid())
            continue;
        MountedVolume mounted;
        mounted.device = volume.device().toStdString();
        mounted.root = volume.rootPath().toStdString();
        mounted.fileSystemType = volume.fileSystemType().toLower().toStdString();
        if (volume.isReady())
            mounted.label = volume.name().toStdString();
        volumes.push_back(std::move(mounted));
    }
    return volumes;
}

std::vector<std::string> RemovableVolumeRoots() {
    std::vector<std::string> roots;
    for (const MountedVolume& volume : MountedVolumes()) {
        const std::string& root = volume.root;
        if (volume.label && (root.rfind("/media/", 0) == 0 || root.rfind("/run/media/", 0) == 0))
            roots.push_back(WithTrailingSlash(root));
    }
    return roots;
}

bool IsOpticalDevice(const std::string& device) {
    static const QRegularExpression optical(QStringLiteral("^/dev/sr[0-9]+$"));
    const QString name = QString::fromStdString(device);
    if (optical.match(name).hasMatch())
        return true;
    const QString target = QFileInfo(name).canonicalFilePath();
    return !target.isEmpty() && optical.match(target).hasMatch();
}

} // namespace quilo
