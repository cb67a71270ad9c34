#include "downloader/qt_callback_carrier.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>
#include <chrono>

namespace quilo {

Q_LOGGING_CATEGORY(carrierLog, "quilo.downloader", QtWarningMsg)

void QtCallbackCarrier::carry(const std::function<void()>& handler) {
    if (QThread::currentThread() == thread()) {
        handler();
        return;
    }
    {
        std::lock_guard lock(lock_);
        ++announced_;
        changed_.notify_all();
    }
    QMetaObject::invokeMethod(
        this, [this, &handler] { runCarried(handler); }, Qt::BlockingQueuedConnection);
}

void QtCallbackCarrier::runCarried(const std::function<void()>& handler) {
    {
        std::lock_guard lock(lock_);
        --announced_;
    }
    // An exception must not leave Qt's event delivery; the worker is released either way.
    try {
        handler();
    } catch (const std::exception& error) {
        qCWarning(carrierLog) << "a downloader report failed:" << error.what();
    } catch (...) {
        qCWarning(carrierLog) << "a downloader report failed";
    }
}

void QtCallbackCarrier::waitUntil(const std::function<bool()>& done) {
    for (;;) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        std::unique_lock lock(lock_);
        if (done())
            return;
        if (announced_ > 0) {
            // Announced but not yet posted: the worker is about to post it.
            changed_.wait_for(lock, std::chrono::milliseconds(1));
            continue;
        }
        changed_.wait(lock, [&] { return announced_ > 0 || done(); });
    }
}

void QtCallbackCarrier::wake() {
    std::lock_guard lock(lock_);
    changed_.notify_all();
}

} // namespace quilo
