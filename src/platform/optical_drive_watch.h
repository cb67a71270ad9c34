// Tells when an optical drive appears or goes away: the kernel's device folder
// is watched (inotify) for its "sr" nodes, so nothing polls.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>

namespace quilo {

class OpticalDriveWatch : public QObject {
    Q_OBJECT
public:
    // `deviceFolder` ends with '/'; tests give their own.
    explicit OpticalDriveWatch(QString deviceFolder = QStringLiteral("/dev/"), QObject* parent = nullptr);

    void start();
    void stop();

signals:
    void drivesChanged();

private:
    QStringList drives() const;
    void folderChanged();

    QString folder_;
    QFileSystemWatcher watcher_;
    QStringList known_;
};

} // namespace quilo
