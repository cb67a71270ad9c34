// quilo-test-notifications OUT: a desktop notification service on the session
// bus that writes every Notify call it gets to OUT, one line each (application,
// summary and body, with line breaks written as \n), and prints "ready" once it
// holds its name.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QVariantMap>
#include <cstdio>

class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit Notifications(QString out) : out_(std::move(out)) {}

public slots:
    uint Notify(const QString& application, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        QFile file(out_);
        if (file.open(QIODevice::Append)) {
            const QString line =
                application + "|" + summary + "|" + QString(body).replace('\n', "\\n") + "\n";
            file.write(line.toUtf8());
        }
        return ++last_;
    }
    QStringList GetCapabilities() { return {"body"}; }
    void CloseNotification(uint) {}

private:
    QString out_;
    uint last_ = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 64;
    Notifications service(QString::fromLocal8Bit(argv[1]));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/org/freedesktop/Notifications", &service, QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.freedesktop.Notifications"))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "notification_service.moc"
