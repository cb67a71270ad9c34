#include "platform/desktop/qt_prompter.h"
#include "platform/desktop/system_desktop_services.h"
#include "quilo_test/support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

// Fontconfig keeps a cache for the life of the process; the leak checker of the
// sanitizer build would take it for ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace quilo {
namespace {

void application() {
    static int argc = 1;
    static char name[] = "platform_desktop_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // also when run by hand from a desktop
        new QApplication(argc, argv);
    }
}

struct SeenBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// Shows one message through the prompter and presses `press` once the box is up.
PromptAnswer askAndPress(PromptKind kind, PromptButtons buttons, QMessageBox::StandardButton press,
                         SeenBox& seen) {
    QtPrompter prompter;
    std::function<void()> pressWhenShown;
    pressWhenShown = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, pressWhenShown);
            return;
        }
        seen = {box->icon(), box->text(), box->standardButtons()};
        box->button(press)->click();
    };
    QTimer::singleShot(0, pressWhenShown);
    return prompter.ask(kind, "Cannot find email client program!\nYou cannot use this feature!", buttons);
}

TEST(PlatformQtPrompter, ShowsTheKindsAndButtonSetsAndReturnsThePressedButton) {
    application();
    SeenBox seen;
    EXPECT_EQ(askAndPress(PromptKind::Warning, PromptButtons::Ok, QMessageBox::Ok, seen), PromptAnswer::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_EQ(seen.text.toStdString(), "Cannot find email client program!\nYou cannot use this feature!");

    EXPECT_EQ(askAndPress(PromptKind::Confirmation, PromptButtons::YesNo, QMessageBox::No, seen),
              PromptAnswer::No);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    EXPECT_EQ(askAndPress(PromptKind::Error, PromptButtons::OkCancel, QMessageBox::Cancel, seen),
              PromptAnswer::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);

    EXPECT_EQ(askAndPress(PromptKind::Information, PromptButtons::YesNo, QMessageBox::Yes, seen),
              PromptAnswer::Yes);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
}

// The main window's style sheet writes its labels near white on its dark
// background; a message box over it keeps its own light background, so its
// text must stay dark there.
TEST(PlatformQtPrompter, AMessageOverTheDarkWindowIsWrittenDark) {
    application();
    QWidget window;
    window.setStyleSheet("QLabel { color: #e8eef6; }");
    window.show();
    QImage text;
    QColor background;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box";
            return;
        }
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        if (label) {
            text = label->grab().toImage();
            background = box->palette().color(QPalette::Window);
        }
        box->button(QMessageBox::Ok)->click();
    });
    QtPrompter(&window).inform("Please select one clip to add effect.");
    ASSERT_FALSE(text.isNull());
    int darkest = 255;
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x)
            darkest = std::min(darkest, qGray(text.pixel(x, y)));
    EXPECT_GT(qGray(background.rgb()), 150);
    EXPECT_LT(darkest, 100);
}

// The real tools would open a mail client; stand-ins record what they were given.
TEST(PlatformSystemDesktopServices, HandsTheMailToXdgEmail) {
    application();
    test::TempDir bin;
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const auto tool = [&](const std::string& name, const std::string& script) {
        test::writeFile(bin.file(name), "#!/bin/sh\n" + script);
        std::filesystem::permissions(bin.file(name), std::filesystem::perms::owner_all);
    };
    SystemDesktopServices services;
    const MailMessage mail{
        "support@example.org", "1.0 Log File", "Body text", {"/data/UserLog.log", "/data/x y.log"}};

    setenv("PATH", bin.path().c_str(), 1); // no mail tools at all
    EXPECT_EQ(services.sendMail(mail), DesktopServices::MailClientMissing);

    tool("xdg-email", "for a in \"$@\"; do echo \"$a\"; done > \"" + bin.file("arguments.part") +
                          "\"\n/bin/mv \"" + bin.file("arguments.part") + "\" \"" + bin.file("arguments") +
                          "\"\n");
    tool("xdg-mime", "exit 0\n"); // the tools are there, but no program takes mail
    EXPECT_EQ(services.sendMail(mail), DesktopServices::MailClientMissing);

    tool("xdg-mime", "echo thunderbird.desktop\n");
    EXPECT_EQ(services.sendMail(mail), DesktopServices::MailSent);
    setenv("PATH", oldPath.c_str(), 1);
    // The client runs on its own; its arguments arrive when it has started.
    for (int tries = 0; !test::fileExists(bin.file("arguments")); ++tries) {
        ASSERT_LT(tries, 3000) << "xdg-email never ran";
        QThread::msleep(10);
    }
    EXPECT_EQ(test::readFile(bin.file("arguments")), "--subject\n1.0 Log File\n--body\nBody text\n--attach\n"
                                                     "/data/UserLog.log\n--attach\n/data/x y.log\n"
                                                     "support@example.org\n");
}

// A session bus of the test's own: what the program says over D-Bus reaches it
// and nothing of the desktop the tests run in.
class PrivateSessionBus {
public:
    PrivateSessionBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted(10000))
            return;
        while (daemon_.state() == QProcess::Running && !daemon_.canReadLine())
            daemon_.waitForReadyRead(100);
        address_ = daemon_.readLine().trimmed().toStdString();
        if (!address_.empty())
            setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
    }
    ~PrivateSessionBus() {
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    bool up() const { return !address_.empty(); }

private:
    QProcess daemon_;
    std::string address_;
};

TEST(PlatformSystemDesktopServices, NotifiesOverTheSessionBusAndSaysWhenNoServiceListens) {
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.up()) << "dbus-daemon did not start";
    application();
    SystemDesktopServices desktop;
    EXPECT_FALSE(desktop.notify("Process Finished!", "a.mp4 (MP4) in /out/")); // nobody listens yet

    test::TempDir dir;
    QProcess service;
    service.start(QString::fromStdString(test::programDir() + "../tests/quilo-test-notifications"),
                  {QString::fromStdString(dir.file("notified"))});
    ASSERT_TRUE(service.waitForStarted(10000));
    while (service.state() == QProcess::Running && !service.canReadLine())
        service.waitForReadyRead(100);
    ASSERT_EQ(service.readLine().trimmed().toStdString(), "ready");

    QApplication::setApplicationDisplayName("Quilo Video Converter");
    EXPECT_TRUE(desktop.notify("Process Finished!", "2 files (MP4) in /out/MP4/"));
    EXPECT_EQ(test::readFile(dir.file("notified")),
              "Quilo Video Converter|Process Finished!|2 files (MP4) in /out/MP4/\n");
    service.kill();
    service.waitForFinished(5000);
}

// xdg-open is the real one; the desktop around it is made in temporary folders.
TEST(PlatformSystemDesktopServices, AFolderThatNoProgramCanOpenIsReportedAsNotShown) {
    PrivateSessionBus bus; // no file manager on it
    ASSERT_TRUE(bus.up());
    application();
    test::TempDir home, output;
    const std::string clip = output.file("clip.mp4");
    test::writeFile(clip, "x");
    for (const char* name : {"BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "WAYLAND_DISPLAY"})
        unsetenv(name);
    setenv("DISPLAY", ":99", 1); // xdg-open looks for graphical handlers only on a display
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_DATA_HOME", home.file("data").c_str(), 1);
    setenv("XDG_DATA_DIRS", home.file("system-data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.file("config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", home.file("system-config").c_str(), 1);
    SystemDesktopServices desktop;
    EXPECT_FALSE(desktop.showInFileManager(clip));
    EXPECT_FALSE(desktop.openDocument(output.path()));

    // A program for folders: now the folder opens.
    std::filesystem::create_directories(home.file("data/applications"));
    std::filesystem::create_directories(home.file("config"));
    test::writeFile(home.file("opener"), "#!/bin/sh\necho \"$1\" >> \"" + home.file("opened") + "\"\n");
    std::filesystem::permissions(home.file("opener"), std::filesystem::perms::owner_all);
    test::writeFile(home.file("data/applications/quilo-test-folders.desktop"),
                    "[Desktop Entry]\nType=Application\nName=Folders\nMimeType=inode/directory;\nExec=" +
                        home.file("opener") + " %f\n");
    test::writeFile(home.file("config/mimeapps.list"),
                    "[Default Applications]\ninode/directory=quilo-test-folders.desktop\n");
    EXPECT_TRUE(desktop.showInFileManager(clip));
    std::string folder = output.path();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    EXPECT_EQ(test::readFile(home.file("opened")), folder + "\n");
}

} // namespace
} // namespace quilo
