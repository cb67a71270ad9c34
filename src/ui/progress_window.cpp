#include "ui/progress_window.h"

#include "conversion/job_end_settings.h"
#include "conversion/psp_upload.h"
#include "skin/skin_pictures.h"
#include "skin/skin_region.h"
#include "tranzel.h"
#include "ui/progress_bar.h"
#include "ui/progress_picture.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QThread>
#include <QToolButton>
#include <algorithm>

namespace quilo {
namespace {

// The engine's notice that the running conversion can be stopped from now on,
// delivered to the window as the event of that number.
constexpr auto StopPossibleEvent = static_cast<QEvent::Type>(TZ_MSG_GRABBER_READY);

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

} // namespace

ProgressWindow::ProgressWindow(ConverterSession& session, Prompter& prompter, DesktopServices& desktop,
                               QWidget* parent, BurnerControl* burner)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), session_(session), prompter_(prompter),
      desktop_(desktop), optionFile_(session.dataFolder() + "Option.ini"),
      background_(ProgressWindowBackground()), burner_(burner), burnPrompter_(prompter, this) {
    setModal(true);
    setWindowTitle("Converting");
    setFixedSize(background_.size());
    setMask(SkinWindowShape(background_, skin::KeyColour.rgb()));
    buildControls();

    const JobEndChoices saved = LoadJobEndChoices(optionFile_);
    powerOff_->setChecked(saved.powerOff);
    openFolder_->setChecked(saved.openFolder);
    uploadBox_->setChecked(saved.upload);
}

// The runner stops and joins a job still running before the widgets go.
ProgressWindow::~ProgressWindow() {
    runner_.reset();
}

void ProgressWindow::buildControls() {
    title_ = new QLabel("Converting", this);
    title_->setObjectName("title");
    title_->setGeometry(24, 10, 300, 24);
    auto* minimise = new QToolButton(this);
    minimise->setText(QStringLiteral("–"));
    minimise->setGeometry(width() - 72, 10, 26, 24);
    connect(minimise, &QToolButton::clicked, this, [this] {
        if (parentWidget())
            parentWidget()->showMinimized();
        showMinimized();
    });
    auto* close = new QToolButton(this);
    close->setObjectName("closeButton");
    close->setText(QStringLiteral("✕"));
    close->setGeometry(width() - 42, 10, 26, 24);
    connect(close, &QToolButton::clicked, this, &ProgressWindow::stopClicked);

    const char* captions[] = {"Current Clip :", "Destination Name :", "Start Time :", "Stop Time :",
                              "Duration :",     "Current Time :",     "FPS :",        "Remaining Time :"};
    QLabel** values[] = {&clipName_, &destinationName_, &startTime_, &stopTime_,
                         &length_,   &currentTime_,     &fps_,       &remaining_};
    for (int i = 0; i < 8; ++i) {
        auto* caption = new QLabel(captions[i], this);
        caption->setObjectName("caption");
        caption->setGeometry(28, 60 + i * 22, 150, 20);
        *values[i] = new QLabel(this);
        (*values[i])->setGeometry(184, 60 + i * 22, 262, 20);
    }
    clipName_->setObjectName("currentClip");
    destinationName_->setObjectName("destinationName");

    status_ = new QLabel(this);
    status_->setGeometry(24, 254, 420, 18);
    bar_ = new ProgressBar(ProgressBarWidth, this);
    bar_->move(24, 282);
    percent_ = new QLabel("0", this);
    percent_->setObjectName("percent");
    percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    percent_->setGeometry(300, 278, 30, 20);
    auto* percentSign = new QLabel("%", this);
    percentSign->setGeometry(333, 278, 16, 20);

    buildJobRow(306);

    stop_ = new QPushButton("Stop", this);
    stop_->setObjectName("stopButton");
    stop_->setGeometry(width() - 106, 274, 84, 28);
    connect(stop_, &QPushButton::clicked, this, &ProgressWindow::stopClicked);

    powerOff_ = new QCheckBox("Shut down computer when conversion completed", this);
    powerOff_->setGeometry(24, 336, 420, 20);
    openFolder_ = new QCheckBox("Open output folder when conversion completed", this);
    openFolder_->setObjectName("openFolderBox");
    openFolder_->setGeometry(24, 358, 330, 20);
    uploadBox_ = new QCheckBox("Upload files when conversion completed", this);
    uploadBox_->setGeometry(24, 358, 330, 20);
    uploadNow_ = new QToolButton(this);
    uploadNow_->setObjectName("uploadNow");
    uploadNow_->setText("Upload Now");
    uploadNow_->setGeometry(width() - 106, 356, 84, 22);
    connect(uploadNow_, &QToolButton::clicked, this, &ProgressWindow::upload);
    buildDownloadPanel();
}

// The whole job under the clip's bar, in view while links download too.
void ProgressWindow::buildJobRow(int top) {
    auto* job = new QLabel("Whole Job :", this);
    job->setObjectName("caption");
    job->setGeometry(24, top, 92, 20);
    jobPercent_ = new QLabel(this);
    jobPercent_->setObjectName("jobPercent");
    jobPercent_->setAccessibleName("Whole Job");
    jobPercent_->setGeometry(118, top, 56, 20);
    auto* remaining = new QLabel("Job Remaining :", this);
    remaining->setObjectName("caption");
    remaining->setGeometry(180, top, 116, 20);
    jobRemaining_ = new QLabel(this);
    jobRemaining_->setObjectName("jobRemaining");
    jobRemaining_->setAccessibleName("Job Remaining");
    jobRemaining_->setGeometry(298, top, width() - 320, 20);
}

void ProgressWindow::ShowJobTotals(const JobTotals& totals) {
    jobPercent_->setText(QString::number(totals.percent) + " %");
    jobRemaining_->setText(text(totals.remainingTime));
}

// Over the clip's labels while a link downloads.
void ProgressWindow::buildDownloadPanel() {
    downloadPanel_ = new QWidget(this);
    downloadPanel_->setObjectName("pl_DownloadMsg");
    downloadPanel_->setAccessibleName("Download");
    downloadPanel_->setGeometry(20, 52, width() - 40, 190);
    downloadPanel_->setAttribute(Qt::WA_StyledBackground, true);
    const char* captions[] = {"Video URL :",      "File Name :",      "File Size :",        "Download Size :",
                              "Download Speed :", "Remaining Time :", "Download Progress :"};
    const char* names[] = {"lb_URL",  "lb_FileName", "lb_Total",          "lb_Size",
                           "lb_Rate", "lb_Eta",      "lb_DownloadProcess"};
    for (int i = 0; i < 7; ++i) {
        auto* caption = new QLabel(captions[i], downloadPanel_);
        caption->setObjectName("caption");
        caption->setGeometry(8, 8 + i * 25, 150, 20);
        auto* value = new QLabel(downloadPanel_);
        value->setObjectName(names[i]);
        value->setAccessibleName(QString(captions[i]).remove(" :"));
        value->setGeometry(162, 8 + i * 25, downloadPanel_->width() - 170, 20);
        downloadValues_[static_cast<size_t>(i)] = value;
    }
    downloadPanel_->hide();
}

void ProgressWindow::showDownloadPanel(bool shown) {
    downloadPanel_->setVisible(shown);
    title_->setText(shown ? "Downloading" : "Converting");
}

void ProgressWindow::showDownload(const DownloadPanel& panel) {
    const std::string* values[] = {&panel.url,  &panel.fileName,  &panel.total,   &panel.size,
                                   &panel.rate, &panel.remaining, &panel.progress};
    for (size_t i = 0; i < downloadValues_.size(); ++i) {
        QLabel* label = downloadValues_[i];
        label->setText(label->fontMetrics().elidedText(text(*values[i]), Qt::ElideMiddle, label->width()));
    }
    // The bar follows the file's download.
    ShowPercent(panel.progress.empty() ? 0 : std::atoi(panel.progress.c_str()));
}

void ProgressWindow::resetLabels() {
    for (QLabel* time : {startTime_, stopTime_, length_, currentTime_})
        time->setText("00:00:00");
    clipName_->clear();
    destinationName_->clear();
    fps_->setText("0");
    remaining_->setText("0");
    status_->clear();
    uploadNow_->setEnabled(false);
    ShowPercent(0);
    ShowJobTotals({});
}

void ProgressWindow::prepareJob(TargetTypeId target) {
    const bool psp = target == Target::PSP;
    uploadBox_->setVisible(psp);
    uploadNow_->setVisible(psp);
    openFolder_->setVisible(!psp);
    resetLabels();
    stop_->setEnabled(true);
    closing_ = false;
}

void ProgressWindow::StartJob(TargetTypeId target) {
    prepareJob(target);
    runner_.reset(); // before the feed it may still hold
    feed_.reset();
    downloads_.reset();
    showDownloadPanel(false);
    JobObserver& observer = *this;
    runner_ = std::make_unique<JobRunner>(session_.MakeJobInputs(), session_.userLog(), observer);
    if (target == Target::DVD_Disc && burner_)
        runner_->SetBurnStep(*burner_, burnPrompter_);
    runner_->Start();
    exec();
}

void ProgressWindow::StartDownloadJob(TargetTypeId target, const std::string& extension,
                                      TDownloadManager& manager) {
    prepareJob(target);
    showDownloadPanel(true);
    showDownload({});
    runner_.reset();
    session_.ForgetDownloadedClips();
    feed_.reset();
    downloads_ = std::make_unique<LinkDownloads>(manager, [this, extension](const TDownloadTask& task) {
        return session_.LoadDownloadedTask(task, extension);
    });
    // The runner downloads each link when it is ready for its clip; the
    // downloads themselves are driven here, on the manager's thread.
    const int job = ++linkJob_;
    feed_ = std::make_unique<LinkFeed>(*downloads_, [this, job](std::function<void()> call) {
        QMetaObject::invokeMethod(
            this,
            [this, job, call = std::move(call)] {
                if (job == linkJob_ && feed_)
                    call();
            },
            Qt::QueuedConnection);
    });
    JobInputs inputs = session_.MakeJobInputs(std::vector<TVideoInfo*>{});
    inputs.feed = feed_.get();
    JobObserver& observer = *this;
    runner_ = std::make_unique<JobRunner>(std::move(inputs), session_.userLog(), observer);
    runner_->Start();
    exec();
}

void ProgressWindow::downloadNotice(long wParam, long taskId) {
    if (!feed_)
        return;
    feed_->DownloadNotice(wParam, taskId);
    showDownload(downloads_->Panel());
}

void ProgressWindow::DownloadStopped(long taskId) {
    if (feed_)
        feed_->StopNotice(taskId);
}

void ProgressWindow::ShowPercent(int percent) {
    percent = std::clamp(percent, 0, 100);
    bar_->setFilled(percent * ProgressBarWidth / 100);
    percent_->setText(QString::number(percent));
}

template <typename Change> void ProgressWindow::onWindowThread(Change change) {
    if (QThread::currentThread() == thread())
        change();
    else
        QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void ProgressWindow::ClipStarted(const JobProgress& progress) {
    onWindowThread([this, progress] {
        clipName_->setText(text(progress.clipName));
        destinationName_->setText(text(progress.destinationName));
        startTime_->setText(text(progress.startTime));
        stopTime_->setText(text(progress.stopTime));
        length_->setText(text(progress.length));
        currentTime_->setText("00:00:00");
        fps_->setText("0");
        remaining_->setText("0");
        status_->clear();
        ShowPercent(0);
        // The engine says when its conversion can be stopped.
        stop_->setEnabled(false);
    });
}

void ProgressWindow::StopPossible() {
    QCoreApplication::postEvent(this, new QEvent(StopPossibleEvent));
}

void ProgressWindow::ConversionProgress(const JobProgress& progress) {
    onWindowThread([this, progress] {
        currentTime_->setText(text(progress.currentTime));
        fps_->setText(text(progress.fps));
        remaining_->setText(text(progress.remainingTime));
        bar_->setFilled(progress.barWidth);
        percent_->setText(QString::number(progress.percent));
    });
}

void ProgressWindow::JobProgressed(const JobTotals& totals) {
    onWindowThread([this, totals] { ShowJobTotals(totals); });
}

void ProgressWindow::StagePercent(JobStage stage, int percent) {
    onWindowThread([this, percent] { ShowPercent(percent); });
    // The copy to the PSP runs on this thread: let the window repaint meanwhile.
    if (stage == JobStage::Upload && QThread::currentThread() == thread())
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::StatusText(const std::string& line) {
    onWindowThread([this, line] { status_->setText(text(line)); });
}

void ProgressWindow::JobEnded(JobResult) {
    onWindowThread([this] { jobEnded(); });
}

bool ProgressWindow::event(QEvent* event) {
    if (event->type() == StopPossibleEvent) {
        stop_->setEnabled(true);
        return true;
    }
    if (event->type() == static_cast<QEvent::Type>(WM_LINK_DOWNLOAD)) {
        const auto* notice = static_cast<PortEvent*>(event);
        downloadNotice(notice->wParam(), notice->lParam());
        return true;
    }
    return QDialog::event(event);
}

void ProgressWindow::stopClicked() {
    if (closing_ || uploading_)
        return;
    if (downloads_ && downloads_->Downloading() && runner_ && !runner_->ended()) {
        // The job ends as stopped; the download ends with its own last notice.
        if (prompter_.ask(PromptKind::Confirmation, StopProcessQuestion, PromptButtons::YesNo) ==
            PromptAnswer::Yes)
            runner_->RequestStop();
        return;
    }
    if (!runner_ || runner_->StopClicked(prompter_) == StopOutcome::CloseWindow)
        closeWindow();
}

void ProgressWindow::jobEnded() {
    stop_->setEnabled(true);
    session_.JobEnded(runner_->conversion());
    if (downloads_) {
        const std::string failed =
            FailedLinksMessage(downloads_->FinishTasks(runner_->conversion().clipResults()));
        // Its last notices may still come: the download panel has nothing more to show.
        ++linkJob_;
        feed_.reset();
        downloads_.reset();
        // After a stop the user knows why links are left.
        if (!failed.empty() && runner_->result() != JobResult::Stopped)
            prompter_.inform(failed);
    }
    if (runner_->result() == JobResult::Finished) {
        ShowPercent(100);
        uploadBox_->setEnabled(true);
        uploadNow_->setEnabled(true);
    }
    const JobEndAction action = runner_->Finish(choices(), prompter_, desktop_);
    if (action == JobEndAction::Upload) {
        upload();
        closeWindow();
    } else if (action == JobEndAction::Close) {
        closeWindow();
    }
}

void ProgressWindow::upload() {
    if (!runner_)
        return;
    uploadNow_->setEnabled(false);
    stop_->setEnabled(false);
    uploading_ = true;
    runner_->UploadToPsp(prompter_, RemovableVolumeRoots());
    uploading_ = false;
    uploadBox_->setEnabled(true);
    uploadNow_->setEnabled(true);
    stop_->setEnabled(true);
    status_->clear();
}

JobEndChoices ProgressWindow::choices() const {
    JobEndChoices choices;
    choices.powerOff = powerOff_->isChecked();
    choices.upload = uploadBox_->isChecked();
    choices.openFolder = openFolder_->isChecked();
    choices.windowMinimised = isMinimized() || (parentWidget() && parentWidget()->isMinimized());
    return choices;
}

void ProgressWindow::closeWindow() {
    if (jobRunning())
        return;
    SaveJobEndChoices(optionFile_, choices());
    closing_ = true;
    accept();
}

void ProgressWindow::reject() {
    stopClicked();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (!uploading_ && (closing_ || !isVisible())) {
        event->accept();
        return;
    }
    event->ignore();
    stopClicked();
}

void ProgressWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, background_);
}

// Dragging the background moves the frameless window.
void ProgressWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void ProgressWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - dragOffset_);
}

} // namespace quilo
