#include "platform/desktop/system_desktop_services.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace quilo {
namespace {

// Only the usual kinds of address are opened as addresses; anything else is a
// file, so that a file name with a colon cannot start some other handler.
QUrl urlOf(const std::string& pathOrUrl) {
    const QString text = QString::fromStdString(pathOrUrl);
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() &&
        (scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto" || scheme == "file"))
        return url;
    return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

} // namespace

bool SystemDesktopServices::openDocument(const std::string& pathOrUrl) {
    return QDesktopServices::openUrl(urlOf(pathOrUrl));
}

bool SystemDesktopServices::showInFileManager(const std::string& filePath) {
    const QString path = QString::fromStdString(filePath);
    QDBusInterface fileManager("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                               "org.freedesktop.FileManager1", QDBusConnection::sessionBus());
    fileManager.setTimeout(5000);
    if (fileManager.isValid()) {
        const QDBusMessage reply =
            fileManager.call("ShowItems", QStringList{QUrl::fromLocalFile(path).toString()}, QString());
        if (reply.type() != QDBusMessage::ErrorMessage)
            return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

int SystemDesktopServices::sendMail(const MailMessage& message) {
    const QString program = QStandardPaths::findExecutable("xdg-email");
    if (program.isEmpty())
        return MailClientMissing;
    // Without a handler for mail addresses xdg-email has nothing to start.
    const QString mime = QStandardPaths::findExecutable("xdg-mime");
    if (!mime.isEmpty()) {
        QProcess query;
        query.start(mime, {"query", "default", "x-scheme-handler/mailto"});
        if (query.waitForFinished(10000) && query.exitStatus() == QProcess::NormalExit &&
            query.readAllStandardOutput().trimmed().isEmpty())
            return MailClientMissing;
    }
    QStringList arguments;
    if (!message.subject.empty())
        arguments << "--subject" << QString::fromStdString(message.subject);
    if (!message.body.empty())
        arguments << "--body" << QString::fromStdString(message.body);
    for (const auto& attachment : message.attachments)
        arguments << "--attach" << QString::fromStdString(attachment);
    // A recipient that looks like an option would be taken for one.
    if (!message.to.empty() && message.to.front() != '-')
        arguments << QString::fromStdString(message.to);
    // The mail client may stay in the foreground until the user closes it; the
    // program must neither wait for it nor end it.
    return QProcess::startDetached(program, arguments) ? MailSent : MailClientMissing;
}

bool SystemDesktopServices::powerOff() {
    QDBusInterface login("org.freedesktop.login1", "/org/freedesktop/login1",
                         "org.freedesktop.login1.Manager", QDBusConnection::systemBus());
    if (!login.isValid())
        return false;
    login.setTimeout(10000);
    const QDBusMessage reply = login.call("PowerOff", false);
    return reply.type() != QDBusMessage::ErrorMessage;
}

} // namespace quilo
