// The carrier of the windowed program: a worker's call becomes a blocking
// queued call on the thread of the carrier's object, so it runs there in the
// window's event loop while the worker waits for it.
#pragma once

#include "downloader/callback_carrier.h"

#include <QObject>
#include <condition_variable>
#include <mutex>

namespace quilo {

class QtCallbackCarrier : public QObject, public CallbackCarrier {
public:
    // The owner is the thread of `parent`, or the calling thread without one.
    explicit QtCallbackCarrier(QObject* parent = nullptr) : QObject(parent) {}

    void carry(const std::function<void()>& handler) override;
    // Runs only the carried calls while it waits, not the rest of the event loop.
    void waitUntil(const std::function<bool()>& done) override;
    void wake() override;

private:
    void runCarried(const std::function<void()>& handler);

    std::mutex lock_;
    std::condition_variable changed_;
    int announced_ = 0; // calls on their way that have not run yet
};

} // namespace quilo
