#include "platform/desktop/qt_prompter.h"
#include "platform/desktop/system_desktop_services.h"
#include "quilo_test/support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

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

// The real xdg-email would open a mail client; a stand-in records what it was given.
TEST(PlatformSystemDesktopServices, HandsTheMailToXdgEmail) {
    application();
    test::TempDir bin;
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    SystemDesktopServices services;
    const MailMessage mail{
        "support@example.org", "1.0 Log File", "Body text", {"/data/UserLog.log", "/data/x y.log"}};

    setenv("PATH", bin.path().c_str(), 1); // no mail client at all
    EXPECT_EQ(services.sendMail(mail), DesktopServices::MailClientMissing);

    test::writeFile(bin.file("xdg-email"), "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" +
                                               bin.file("arguments") + "\"\nexit 0\n");
    std::filesystem::permissions(bin.file("xdg-email"), std::filesystem::perms::owner_all);
    EXPECT_EQ(services.sendMail(mail), DesktopServices::MailSent);
    EXPECT_EQ(test::readFile(bin.file("arguments")), "--subject\n1.0 Log File\n--body\nBody text\n--attach\n"
                                                     "/data/UserLog.log\n--attach\n/data/x y.log\n"
                                                     "support@example.org\n");

    test::writeFile(bin.file("xdg-email"), "#!/bin/sh\nexit 3\n"); // xdg-email's "no handler" code
    EXPECT_EQ(services.sendMail(mail), DesktopServices::MailClientMissing);
    setenv("PATH", oldPath.c_str(), 1);
}

} // namespace
} // namespace quilo
