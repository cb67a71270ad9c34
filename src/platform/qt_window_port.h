// The Qt side of the window port: a post through the C struct becomes an event
// whose type is the message number, delivered in order on the receiver's thread.
#pragma once

#include "quilo/window_port.h"

#include <QEvent>
#include <QObject>
#include <mutex>

namespace quilo {

// Message numbers lie in 1000-65535; the event type is the number itself.
class PortEvent : public QEvent {
public:
    PortEvent(unsigned int message, long wParam, long lParam)
        : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}
    long wParam() const { return wParam_; }
    long lParam() const { return lParam_; }

private:
    long wParam_;
    long lParam_;
};

class QtWindowPort {
public:
    // The receiver may die before the port: posts for it are then dropped.
    explicit QtWindowPort(QObject* receiver);
    ~QtWindowPort();
    QtWindowPort(const QtWindowPort&) = delete;
    QtWindowPort& operator=(const QtWindowPort&) = delete;

    // Valid as long as this object lives: stop the posting threads first.
    // Posts never block and may come from any thread; a number outside
    // 1000-65535 is dropped.
    const QuiloWindowPort* port() const { return &port_; }

private:
    static void post(void* context, unsigned int message, long wParam, long lParam);

    QuiloWindowPort port_{};
    std::mutex lock_;
    QObject* relay_; // lives on the receiver's thread and hands each event on there
};

} // namespace quilo
