// The progress window: shown modally while the job runner converts the clip
// list. It shows what the runner reports, carried over to the window thread,
// and lets the runner finish the job when it says the job has ended.
#pragma once

#include "conversion/converter_session.h"
#include "conversion/job_runner.h"
#include "conversion/link_downloads.h"
#include "conversion/link_feed.h"
#include "platform/desktop_services.h"
#include "platform/qt_window_port.h"
#include "ui/window_thread_prompter.h"

#include <QDialog>
#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace quilo {

class ProgressBar;

class ProgressWindow : public QDialog, private JobObserver {
    Q_OBJECT
public:
    // `burner` burns the DVD disc jobs on the drive chosen before; without one they end failed.
    ProgressWindow(ConverterSession& session, Prompter& prompter, DesktopServices& desktop,
                   QWidget* parent = nullptr, BurnerControl* burner = nullptr);
    ~ProgressWindow() override;

    // Converts the checked clips to `target`; returns when the window closes.
    void StartJob(TargetTypeId target);
    // Downloads the manager's links one after the other, then converts what
    // arrived to `target`, its files named with `extension`; returns when the window closes.
    void StartDownloadJob(TargetTypeId target, const std::string& extension, TDownloadManager& manager);
    // The library reported the stop of the download of the task `taskId`.
    void DownloadStopped(long taskId);
    // Where the download manager sends its download notices.
    const QuiloWindowPort* windowPort() const { return port_.port(); }

    // 0 … 100 on the bar and its label.
    void ShowPercent(int percent);
    // The whole job's percent and remaining time, beside the clip's.
    void ShowJobTotals(const JobTotals& totals);

    QPushButton* stopButton() const { return stop_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void prepareJob(TargetTypeId target);
    void buildDownloadPanel();
    void buildJobRow(int top);
    void showDownloadPanel(bool shown);
    void showDownload(const DownloadPanel& panel);
    void downloadNotice(long wParam, long taskId);
    void resetLabels();
    void stopClicked();
    void jobEnded();
    void upload();
    void closeWindow();
    JobEndChoices choices() const;
    bool jobRunning() const { return runner_ && !runner_->ended(); }
    // Observer calls come from the runner's threads; widgets change on the window thread.
    template <typename Change> void onWindowThread(Change change);

    // JobObserver
    void StagePercent(JobStage stage, int percent) override;
    void StatusText(const std::string& text) override;
    void ClipStarted(const JobProgress& progress) override;
    void StopPossible() override;
    void ConversionProgress(const JobProgress& progress) override;
    void JobProgressed(const JobTotals& totals) override;
    void JobEnded(JobResult result) override;

    ConverterSession& session_;
    Prompter& prompter_;
    DesktopServices& desktop_;
    IniFile optionFile_;
    QImage background_;

    std::unique_ptr<JobRunner> runner_;
    std::unique_ptr<LinkDownloads> downloads_;
    std::unique_ptr<LinkFeed> feed_;
    int linkJob_ = 0; // calls posted for an earlier link job find it gone
    QtWindowPort port_{this};
    BurnerControl* burner_;
    WindowThreadPrompter burnPrompter_; // the burn's questions come from the job's worker
    bool closing_ = false;
    bool uploading_ = false; // no close while files are copied

    QLabel *clipName_ = nullptr, *destinationName_ = nullptr, *startTime_ = nullptr, *stopTime_ = nullptr,
           *length_ = nullptr, *currentTime_ = nullptr, *fps_ = nullptr, *remaining_ = nullptr;
    QLabel *status_ = nullptr, *percent_ = nullptr, *title_ = nullptr;
    QLabel *jobPercent_ = nullptr, *jobRemaining_ = nullptr;
    QWidget* downloadPanel_ = nullptr;
    std::array<QLabel*, 7> downloadValues_{};
    ProgressBar* bar_ = nullptr;
    QPushButton* stop_ = nullptr;
    QCheckBox *powerOff_ = nullptr, *uploadBox_ = nullptr, *openFolder_ = nullptr;
    QToolButton* uploadNow_ = nullptr;
    QPoint dragOffset_;
};

} // namespace quilo
