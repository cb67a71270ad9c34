// The start-up picture, faded in while the windows are built and out after.
#pragma once

#include <QWidget>

namespace quilo {

class SplashWindow : public QWidget {
public:
    SplashWindow(const QString& productName, const QString& version);
    void fadeIn();  // opacity 10, 20 … 250 every 20 ms, then fully opaque
    void fadeOut(); // 5 less every 10 ms down to 0

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace quilo
