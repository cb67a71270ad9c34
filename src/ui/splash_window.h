// The start-up picture, faded in while the windows are built and out after.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

namespace quilo {

class SplashWindow : public QWidget {
public:
    SplashWindow(const QString& productName, const QString& version);

    // Opacity 10, 20 … 250 every 20 ms, then fully opaque. The steps follow
    // the clock, so work done between them does not stretch the fade: the
    // windows are built during it, with keepFading() called between pieces.
    void startFadeIn();
    // Takes the step that is due now, if any, and handles pending events.
    void keepFading();
    // Waits out the rest of the fade-in.
    void finishFadeIn();
    void fadeIn();  // all three at once
    void fadeOut(); // 5 less every 10 ms down to 0

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QElapsedTimer fading_;
    int opacity_ = 0;
};

} // namespace quilo
