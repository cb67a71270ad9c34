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

QUrl urlOf(const std::string& pathOrUrl) {
    const QString text = QString::fromStdString(pathOrUrl);
    const QUrl url(text);
    if (!url.scheme().isEmpty() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(text);
}

} // namespace

bool SystemDesktopServices::openDocument(const std::string& pathOrUrl) {
    return QDesktopServices::openUrl(urlOf(pathOrUrl));
}

bool SystemDesktopServices::showInFileManager(const std::string& filePath) {
    const QString path = QString::fromStdString(filePath);
    QDBusInterface fileManager("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                               "org.freedesktop.FileManager1", QDBusConnection::sessionBus());
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
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return MailClientMissing;
    return MailSent;
}

bool SystemDesktopServices::powerOff() {
    QDBusInterface login("org.freedesktop.login1", "/org/freedesktop/login1",
                         "org.freedesktop.login1.Manager", QDBusConnection::systemBus());
    if (!login.isValid())
        return false;
    const QDBusMessage reply = login.call("PowerOff", false);
    return reply.type() != QDBusMessage::ErrorMessage;
}

} // namespace quilo
