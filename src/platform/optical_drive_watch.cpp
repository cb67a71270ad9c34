#include "platform/optical_drive_watch.h"

#include <QDir>

namespace quilo {

OpticalDriveWatch::OpticalDriveWatch(QString deviceFolder, QObject* parent)
    : QObject(parent), folder_(std::move(deviceFolder)) {
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &OpticalDriveWatch::folderChanged);
}

void OpticalDriveWatch::start() {
    known_ = drives();
    if (watcher_.directories().isEmpty())
        watcher_.addPath(folder_);
}

void OpticalDriveWatch::stop() {
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
}

QStringList OpticalDriveWatch::drives() const {
    QStringList names = QDir(folder_).entryList({QStringLiteral("sr*")}, QDir::System | QDir::Files);
    names.sort();
    return names;
}

// The folder changes for every device of the system; only the drives count.
void OpticalDriveWatch::folderChanged() {
    QStringList now = drives();
    if (now == known_)
        return;
    known_ = std::move(now);
    emit drivesChanged();
}

} // namespace quilo
