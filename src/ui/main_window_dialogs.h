// The main window's dialogs and header buttons: options, about, the frame-rate
// choice and the notice, the help menu, contact and the check for a new
// version, and the update reminder shortly after the first showing.
#pragma once

#include "conversion/converter_session.h"
#include "media/frame_rate_choice.h"
#include "media/notice.h"
#include "platform/desktop_services.h"
#include "shell/about_model.h"
#include "shell/product_links.h"
#include "ui/options_dialog.h"

#include <QObject>
#include <memory>

class QTimer;
class QToolButton;
class QWidget;

namespace quilo {

class AboutWindow;
class FrameRateDialog;
class NoticeWindow;

class MainWindowDialogs : public QObject {
    Q_OBJECT
public:
    static constexpr int UpdateReminderMs = 3000;

    MainWindowDialogs(QWidget* window, ConverterSession& session, FrameRateChoice& frameRateChoice,
                      const ProductIdentity& identity, const std::string& programFolder, Prompter& prompter,
                      DesktopServices& desktop, OptionsDialog::FolderChooser chooseFolder);
    ~MainWindowDialogs() override;

    // The header buttons, as children of the window; it places them.
    void AddHeaderButtons();

    // The options button: the dialog, then the panel and the names follow its changes.
    void ShowOptions();
    void ShowAbout();
    // The frame-rate choice's modal runner.
    void ChooseFrameRate();
    Notice& notice() { return *notice_; }

    // The first showing of the main window starts the update reminder once.
    void WindowShown();

    OptionsDialog* optionsDialog() const { return options_; }
    AboutWindow* aboutWindow() const { return about_; }
    FrameRateDialog* frameRateDialog() const { return frameRate_; }
    NoticeWindow* noticeWindow() const { return noticeWindow_; }
    QToolButton* headerButton(const char* objectName) const;

signals:
    // The panel was rebuilt or its folder changed.
    void panelChanged();

private:
    void runUpdateReminder();
    void showHelpMenu(QToolButton* button);

    QWidget* window_;
    ConverterSession& session_;
    ProductIdentity identity_;
    std::string programFolder_;
    Prompter& prompter_;
    DesktopServices& desktop_;
    ProductLinks links_;
    AboutModel aboutModel_;
    bool previousConversionFinished_;
    std::unique_ptr<Notice> notice_;
    OptionsDialog* options_ = nullptr;
    AboutWindow* about_ = nullptr;
    FrameRateDialog* frameRate_ = nullptr;
    NoticeWindow* noticeWindow_ = nullptr;
    QTimer* updateTimer_ = nullptr;
    bool reminderStarted_ = false;
};

} // namespace quilo
