#include "media/preview_engine.h"

#include <QCoreApplication>
#include <QThread>

namespace quilo {

GrabberWindow::GrabberWindow(Handler handler)
    : handler_(std::move(handler)), port_(std::make_unique<QtWindowPort>(this)) {}

GrabberWindow::~GrabberWindow() = default;

bool GrabberWindow::event(QEvent* event) {
    const auto type = static_cast<unsigned>(event->type());
    if (type == TZ_MSG_GRABBER_READY || type == TZ_MSG_FRAME_AVAILABLE || type == TZ_MSG_GRABBER_CLOSED) {
        const auto* post = dynamic_cast<PortEvent*>(event);
        handler_(type, post ? post->wParam() : 0);
        return true;
    }
    return QObject::event(event);
}

bool WaitProcessingMessages(const std::function<bool()>& done, int limitMs) {
    for (int waited = 0;; waited += 100) {
        QCoreApplication::processEvents();
        if (done())
            return true;
        if (waited >= limitMs)
            return false;
        QThread::msleep(100);
    }
}

} // namespace quilo
