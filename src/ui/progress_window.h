// The progress window: shown modally while a job converts the clip list on a
// worker thread. A 500 ms timer polls the job (and the DVD authoring); the
// worker reaches the window only by posting. When the job ends the window
// shows the result and performs the chosen end action.
#pragma once

#include "conversion/converter_session.h"
#include "conversion/job_end.h"
#include "dvd/dvd_authoring.h"
#include "platform/desktop_services.h"
#include "platform/qt_window_port.h"

#include <QDialog>
#include <memory>
#include <thread>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

namespace quilo {

class ProgressBar;

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(ConverterSession& session, std::string programFolder, Prompter& prompter,
                   DesktopServices& desktop, QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // Converts the checked clips to `target`; returns when the window closes.
    void StartJob(TargetTypeId target);

    // 0 … 100 on the bar and its label.
    void ShowPercent(int percent);

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
    void resetLabels();
    void showClip(const JobProgress& progress);
    void showTick(const JobProgress& progress);
    void timerTick();
    void stopClicked();
    void jobEnded(int result);
    void upload();
    void closeWindow();
    JobEndChoices choices() const;
    bool workerRunning() const { return worker_.joinable() && !workerDone_; }

    ConverterSession& session_;
    std::string programFolder_;
    Prompter& prompter_;
    DesktopServices& desktop_;
    IniFile optionFile_;
    QImage background_;
    QtWindowPort port_;

    TargetTypeId target_ = -1;
    std::string jobFolder_;
    std::unique_ptr<ConversionJob> job_;
    std::unique_ptr<DvdAuthoring> authoring_;
    std::thread worker_;
    bool workerDone_ = true;
    bool closing_ = false;
    bool uploading_ = false; // no close while files are copied

    QLabel *clipName_ = nullptr, *destinationName_ = nullptr, *startTime_ = nullptr, *stopTime_ = nullptr,
           *length_ = nullptr, *currentTime_ = nullptr, *fps_ = nullptr, *remaining_ = nullptr;
    QLabel *status_ = nullptr, *percent_ = nullptr;
    ProgressBar* bar_ = nullptr;
    QPushButton* stop_ = nullptr;
    QCheckBox *powerOff_ = nullptr, *uploadBox_ = nullptr, *openFolder_ = nullptr;
    QToolButton* uploadNow_ = nullptr;
    QTimer* infoTimer_ = nullptr;
    QPoint dragOffset_;
};

} // namespace quilo
