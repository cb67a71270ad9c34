#include "platform/desktop/qt_prompter.h"
#include "platform/desktop/system_desktop_services.h"
#include "quilo_test/support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
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

} // namespace
} // namespace quilo
