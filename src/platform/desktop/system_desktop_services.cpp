#include "platform/desktop/system_desktop_services.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
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

// How long xdg-open may take to fail. A handler it finds runs in its
// foreground, maybe for as long as the user keeps the window: still running
// then counts as opened.
constexpr int HandlerFailureWaitMs = 3000;

// Opens a local file or folder with the desktop's handler. Unlike Qt's own
// opening, which only starts xdg-open, this sees xdg-open fail when the desktop
// has no handler (a session without a file manager).
bool openLocal(const QString& path) {
    const QString program = QStandardPaths::findExecutable("xdg-open");
    if (program.isEmpty())
        return false;
    auto* opener = new QProcess;
    opener->setProgram(program);
    opener->setArguments({path});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    if (opener->waitForFinished(HandlerFailureWaitMs)) {
        const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
        delete opener;
        return opened;
    }
    // The handler runs on; the opener goes when it ends.
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    return true;
}

} // namespace

bool SystemDesktopServices::openDocument(const std::string& pathOrUrl) {
    const QUrl url = urlOf(pathOrUrl);
    if (url.isLocalFile())
        return openLocal(url.toLocalFile());
    return QDesktopServices::openUrl(url);
}

bool SystemDesktopServices::notify(const std::string& summary, const std::string& body) {
    QDBusInterface notifications("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                 "org.freedesktop.Notifications", QDBusConnection::sessionBus());
    if (!notifications.isValid())
        return false;
    notifications.setTimeout(5000);
    const QDBusMessage reply = notifications.call(
        "Notify", QGuiApplication::applicationDisplayName(), 0u, QStringLiteral("quilo-converter"),
        QString::fromStdString(summary), QString::fromStdString(body), QStringList(), QVariantMap(), -1);
    return reply.type() == QDBusMessage::ReplyMessage;
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
    return openLocal(QFileInfo(path).absolutePath());
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
