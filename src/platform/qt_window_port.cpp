#include "platform/qt_window_port.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace quilo {
namespace {

// Posting straight to the receiver would race with its deletion on its own
// thread; the relay is ours, so it lives as long as the port, and it checks the
// receiver on the receiver's thread, where that check is safe.
class Relay : public QObject {
public:
    explicit Relay(QObject* receiver) : receiver_(receiver) {}

    bool event(QEvent* event) override {
        if (event->type() >= QEvent::Type(1000) && dynamic_cast<PortEvent*>(event)) {
            if (receiver_)
                QCoreApplication::sendEvent(receiver_.data(), event);
            return true;
        }
        return QObject::event(event);
    }

private:
    QPointer<QObject> receiver_;
};

} // namespace

QtWindowPort::QtWindowPort(QObject* receiver) : relay_(new Relay(receiver)) {
    if (receiver)
        relay_->moveToThread(receiver->thread());
    port_.post = &QtWindowPort::post;
    port_.context = this;
}

QtWindowPort::~QtWindowPort() {
    std::lock_guard guard(lock_);
    // Events still queued for the relay go with it.
    if (relay_->thread() == QThread::currentThread())
        delete relay_;
    else
        relay_->deleteLater();
    relay_ = nullptr;
}

void QtWindowPort::post(void* context, unsigned int message, long wParam, long lParam) {
    // Below 1000 lie Qt's own event types: a timer event that is not one would crash the receiver.
    if (message < 1000 || message > 65535)
        return;
    auto* self = static_cast<QtWindowPort*>(context);
    std::lock_guard guard(self->lock_);
    if (self->relay_)
        QCoreApplication::postEvent(self->relay_, new PortEvent(message, wParam, lParam));
}

} // namespace quilo
