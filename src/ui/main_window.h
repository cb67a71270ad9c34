// The main window: a frameless, skin-shaped window over the converter's models
// (clip list, loader, output settings panel). It answers the command line and
// hand-offs from a second start, adds files, and starts jobs in the progress window.
#pragma once

#include "conversion/converter_session.h"
#include "conversion/start_conversion.h"
#include "conversion/web_links.h"
#include "downloader/qt_callback_carrier.h"
#include "dvd/burning/burn_control.h"
#include "media/frame_rate_choice.h"
#include "platform/desktop_services.h"
#include "platform/qt_window_port.h"
#include "shell/command_line.h"
#include "shell/product_identity.h"

#include <QLoggingCategory>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QTimer;
class QToolButton;
class QPushButton;

namespace quilo {

Q_DECLARE_LOGGING_CATEGORY(commandsLog)

class AddLinkDialog;
class BurnerSettingsDialog;
class ClipListView;
class MainWindowDialogs;
class WebListView;
class CropDialog;
class CropDialogView;
class OutputPanelView;
class PreviewPanel;
class PreviewPanelModel;
class ProgressWindow;

// What the main window asks of the desktop; tests replace these. Empty members
// mean the real ones (message boxes, the desktop's handlers, the user's
// application data folder).
struct MainWindowServices {
    Prompter* prompter = nullptr;
    DesktopServices* desktop = nullptr;
    std::string applicationData;
    // The folder choosers of the Browse buttons (caption, start folder).
    std::function<std::string(const std::string&, const std::string&)> chooseFolder;
    // The engine's processor count, when the caller has asked for it already.
    std::function<int()> processorCores = {};
    // Called between the parts of the window's building, which take a while:
    // the start-up picture fades on meanwhile.
    std::function<void()> pace = {};
};

class MainWindow : public QWidget,
                   private CommandLineHost,
                   private StartConversionPort,
                   private ClipListEvents,
                   private ClipListNotices {
    Q_OBJECT
public:
    using Services = MainWindowServices;

    MainWindow(const ProductIdentity& identity, ProgramFolders program, Services services = {});
    ~MainWindow() override;

    const std::string& dataFolder() const { return dataFolder_; }
    // The process arguments at the first showing; without any, only the panel is restored.
    void applyArguments(const std::vector<std::string>& arguments);
    // A second start handed over its command line.
    void takeHandoff();

    // What the add button does with the files chosen in its dialog.
    void addChosenFiles(const std::vector<std::string>& paths);

    ConverterSession& session() { return *session_; }
    TDownloadManager& downloadManager() { return *downloads_; }
    WebLinks& webLinks() { return *webLinks_; }
    AddLinkDialog* addLinkDialog() const { return addLink_; }
    WebListView* webListView() const { return webView_; }
    ClipListView* clipListView() const { return listView_; }
    OutputPanelView* outputPanelView() const { return panelView_; }
    ProgressWindow* progressWindow() const { return progress_; }
    MainWindowDialogs* dialogs() const { return dialogs_; }
    PreviewPanel* previewPanel() const { return previewView_; }
    CropDialogView* cropDialog() const { return cropView_; }
    BurnerSettingsDialog* burnerDialog() const { return burnerDialog_; }
    QPushButton* startButton() const { return start_; }
    QToolButton* categoryButton(ConverterTypeId category) const { return categoryButtons_[category]; }
    QToolButton* targetButton(TargetTypeId target) const { return targetButtons_[target]; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // CommandLineHost
    void selectTargetAsClicked(TargetTypeId target) override;
    void restorePanel() override;
    void addFilesLater(const std::vector<std::string>& paths) override;
    // StartConversionPort and ClipListEvents
    void stopPreview() override;
    void repaint() override;
    bool confirmBurnerSettings() override;
    bool previewSeeking() const override;
    bool linksBeingFetched() const override { return webLinks_->Analysing(); }
    bool downloadListEmpty() const override { return downloads_->count() == 0; }
    std::string firstOutputExtension() const override { return session_->OutputExtension(); }
    void startJob(TargetTypeId target) override;
    void startDownloadJob(TargetTypeId target, const std::string& extension) override;
    // ClipListEvents
    void clipCheckedChanged(TVideoInfo& clip) override;
    void currentClipChanged(TVideoInfo* clip) override;
    void addProgressChanged() override;
    // ClipListNotices
    void ShowMultiAudioNotice() override;
    bool ConfirmSwitchToLocal() override;
    void ClearWebVideos() override;

    void buildHeader(const ProductIdentity& identity);
    void buildTargetButtons();
    void buildPreview();
    void buildKeyboard();
    void placeHeader();
    void cropClicked();
    void addClicked();
    void browseClicked();
    void addUrlClicked();
    void startClicked();
    void loadTimerFired();
    void showSelection();
    void showAll();
    // For support and for the tests that drive the program from outside.
    void logClips() const;

    ProductIdentity identity_;
    ProgramFolders program_;
    std::string dataFolder_;
    std::unique_ptr<Prompter> ownPrompter_;
    std::unique_ptr<DesktopServices> ownDesktop_;
    Prompter& prompter_;
    DesktopServices& desktop_;
    FrameRateChoice frameRateChoice_;
    std::unique_ptr<ConverterSession> session_;
    // The library's reports reach this window's thread through the carrier.
    QtCallbackCarrier carrier_;
    QtWindowPort linkPort_{this};
    std::unique_ptr<TDownloadManager> downloads_;
    std::unique_ptr<WebLinks> webLinks_;
    AddLinkForm linkForm_;
    std::unique_ptr<PreviewPanelModel> preview_;
    std::unique_ptr<CropDialog> crop_;
    // One for the process: the dialog chooses the drive, the progress window burns on it.
    std::unique_ptr<BurnerControl> burner_;
    QImage background_;

    std::array<QToolButton*, CategoryCount> categoryButtons_{};
    std::array<QToolButton*, TargetCount> targetButtons_{};
    ClipListView* listView_ = nullptr;
    WebListView* webView_ = nullptr;
    AddLinkDialog* addLink_ = nullptr;
    OutputPanelView* panelView_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    MainWindowDialogs* dialogs_ = nullptr;
    std::function<std::string(const std::string&, const std::string&)> chooseFolder_;
    PreviewPanel* previewView_ = nullptr;
    CropDialogView* cropView_ = nullptr;
    BurnerSettingsDialog* burnerDialog_ = nullptr;
    QPushButton* start_ = nullptr;
    QTimer* loadTimer_ = nullptr;
    bool jobRunning_ = false;
    QPoint dragOffset_;
};

} // namespace quilo
