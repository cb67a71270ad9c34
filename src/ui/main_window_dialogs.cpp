#include "ui/main_window_dialogs.h"

#include "profiles/update_reminder.h"
#include "shell/mail_and_help.h"
#include "ui/about_window.h"
#include "ui/frame_rate_dialog.h"
#include "ui/notice_window.h"

#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <filesystem>

namespace quilo {
namespace {

std::string helpFile(const std::string& programFolder) {
    return programFolder + "help/index.html";
}

} // namespace

MainWindowDialogs::MainWindowDialogs(QWidget* window, ConverterSession& session,
                                     FrameRateChoice& frameRateChoice, const ProductIdentity& identity,
                                     const std::string& programFolder, Prompter& prompter,
                                     DesktopServices& desktop, OptionsDialog::FolderChooser chooseFolder)
    : QObject(window), window_(window), session_(session), identity_(identity), programFolder_(programFolder),
      prompter_(prompter), desktop_(desktop), links_(ProductLinks::Read(programFolder)),
      aboutModel_(identity, links_, programFolder, desktop),
      // Read now: by the time the reminder runs, a conversion of this run may be under way.
      previousConversionFinished_(session.userLog().lastConversionFinished()) {
    options_ = new OptionsDialog(session.optionsDialog(), std::move(chooseFolder), window);
    about_ = new AboutWindow(aboutModel_, window);
    frameRate_ = new FrameRateDialog(frameRateChoice, window);
    noticeWindow_ = new NoticeWindow(window);
    notice_ = std::make_unique<Notice>(session.dataFolder() + "Option.ini", links_.MultiTrackPage(), desktop,
                                       [this](Notice& notice) { return noticeWindow_->RunModal(notice); });

    updateTimer_ = new QTimer(this);
    updateTimer_->setSingleShot(true);
    updateTimer_->setInterval(UpdateReminderMs);
    connect(updateTimer_, &QTimer::timeout, this, &MainWindowDialogs::runUpdateReminder);
}

MainWindowDialogs::~MainWindowDialogs() = default;

void MainWindowDialogs::AddHeaderButtons() {
    struct Button {
        const char* objectName;
        const char* text;
        const char* accessibleName;
        bool icon;
        std::function<void(QToolButton*)> action;
    };
    const Button buttons[] = {
        {"suiImageButton_Option", "Options", "Options", false, [this](QToolButton*) { ShowOptions(); }},
        {"CheckNewVer", "New version?", "Check for a new version", false,
         [this](QToolButton*) { CheckNewVersion(links_, identity_.productVersion, desktop_); }},
        {"suiImageButton_About", "i", "About", true, [this](QToolButton*) { ShowAbout(); }},
        {"suiImageButton_Mail", "@", "Contact", true,
         [this](QToolButton*) { ContactSupport(links_, desktop_); }},
        {"suiImageButton_Help", "?", "Help", true, [this](QToolButton* button) { showHelpMenu(button); }},
    };
    for (const Button& entry : buttons) {
        auto* button = new QToolButton(window_);
        button->setObjectName(entry.objectName);
        button->setProperty("headerKind", entry.icon ? "icon" : "text");
        button->setText(entry.text);
        button->setAccessibleName(entry.accessibleName);
        button->setToolTip(entry.accessibleName);
        connect(button, &QToolButton::clicked, this, [button, action = entry.action] { action(button); });
    }
    // The help button shows only where the help pages are installed.
    std::error_code error;
    headerButton("suiImageButton_Help")->setVisible(std::filesystem::exists(helpFile(programFolder_), error));
}

QToolButton* MainWindowDialogs::headerButton(const char* objectName) const {
    return window_->findChild<QToolButton*>(objectName, Qt::FindDirectChildrenOnly);
}

void MainWindowDialogs::showHelpMenu(QToolButton* button) {
    QMenu menu(window_);
    menu.setObjectName("helpMenu");
    menu.addAction("Help file", this, [this] { OpenHtmlHelpPage(desktop_, helpFile(programFolder_)); });
    menu.addAction("Online Home page", this, [this] { OpenHomePage(links_, desktop_); });
    menu.exec(button->mapToGlobal(QPoint(0, button->height())));
}

void MainWindowDialogs::ShowOptions() {
    options_->ShowOptions();
    session_.OptionsClosed();
    emit panelChanged();
}

void MainWindowDialogs::ShowAbout() {
    about_->exec();
}

void MainWindowDialogs::ChooseFrameRate() {
    frameRate_->RunModal();
}

void MainWindowDialogs::WindowShown() {
    if (reminderStarted_)
        return;
    reminderStarted_ = true;
    updateTimer_->start();
}

void MainWindowDialogs::runUpdateReminder() {
    IniFile options(session_.dataFolder() + "Option.ini");
    RunUpdateReminder(options, previousConversionFinished_, prompter_,
                      {[this] { CheckNewVersion(links_, identity_.productVersion, desktop_); },
                       [this] {
                           window_->repaint();
                           SendLogFiles(session_.dataFolder(), identity_.productVersion,
                                        links_.problemReportAddress, desktop_, prompter_);
                       }});
}

} // namespace quilo
