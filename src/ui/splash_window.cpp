#include "ui/splash_window.h"

#include "skin/skin_pictures.h"
#include "skin/skin_region.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <algorithm>

namespace quilo {
namespace {

constexpr int FadeInStepMs = 20, FadeInStep = 10;
constexpr int LastFadeInStep = 250; // the step after it is fully opaque
constexpr int FadeOutStepMs = 10, FadeOutStep = 5;

// The opacities the fades have reached after `elapsed` milliseconds.
int fadeInOpacity(qint64 elapsed) {
    const qint64 step = FadeInStep * (1 + elapsed / FadeInStepMs);
    return step > LastFadeInStep ? 255 : static_cast<int>(step);
}

int fadeOutOpacity(qint64 elapsed) {
    return static_cast<int>(std::max<qint64>(0, 255 - FadeOutStep * (1 + elapsed / FadeOutStepMs)));
}

// Until the next step of `stepMs` is due.
void sleepUntilNextStep(const QElapsedTimer& clock, int stepMs) {
    QThread::msleep(static_cast<unsigned long>(stepMs - clock.elapsed() % stepMs));
}

// Platforms without windows on a screen (tests, remote runs) cannot fade.
bool canFade() {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
}

} // namespace

SplashWindow::SplashWindow(const QString& productName, const QString& version)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(skin::SplashPicture(productName, version)) {
    setFixedSize(picture_.size());
    setMask(SkinWindowShape(picture_));
    if (canFade())
        setWindowOpacity(0);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashWindow::startFadeIn() {
    fading_.start();
    keepFading();
}

void SplashWindow::keepFading() {
    if (!fading_.isValid())
        return;
    const int opacity = canFade() ? fadeInOpacity(fading_.elapsed()) : 255;
    if (opacity != opacity_ && canFade())
        setWindowOpacity(opacity / 255.0);
    opacity_ = opacity;
    QApplication::processEvents();
}

void SplashWindow::finishFadeIn() {
    if (!fading_.isValid())
        startFadeIn();
    while (opacity_ < 255) {
        sleepUntilNextStep(fading_, FadeInStepMs);
        keepFading();
    }
}

void SplashWindow::fadeIn() {
    startFadeIn();
    finishFadeIn();
}

void SplashWindow::fadeOut() {
    if (!canFade())
        return;
    QElapsedTimer clock;
    clock.start();
    for (int opacity = 255; opacity > 0;) {
        const int due = fadeOutOpacity(clock.elapsed());
        if (due != opacity) {
            opacity = due;
            setWindowOpacity(opacity / 255.0);
        }
        // Each step keeps the application answering.
        QApplication::processEvents();
        if (opacity > 0)
            sleepUntilNextStep(clock, FadeOutStepMs);
    }
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

} // namespace quilo
