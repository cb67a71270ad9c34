#include "ui/splash_window.h"

#include "skin/skin_pictures.h"
#include "skin/skin_region.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>

namespace quilo {
namespace {

// Each step of a fade keeps the application answering.
void settle(int milliseconds) {
    QApplication::processEvents();
    QThread::msleep(static_cast<unsigned long>(milliseconds));
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

void SplashWindow::fadeIn() {
    if (!canFade())
        return;
    for (int opacity = 10; opacity <= 250; opacity += 10) {
        setWindowOpacity(opacity / 255.0);
        settle(20);
    }
    setWindowOpacity(1.0);
}

void SplashWindow::fadeOut() {
    if (!canFade())
        return;
    for (int opacity = 255; opacity > 0;) {
        opacity = std::max(0, opacity - 5);
        setWindowOpacity(opacity / 255.0);
        settle(10);
    }
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

} // namespace quilo
