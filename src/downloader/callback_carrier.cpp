#include "downloader/callback_carrier.h"

namespace quilo {

void CallerThreadCarrier::carry(const std::function<void()>& handler) {
    if (std::this_thread::get_id() == owner_) {
        handler();
        return;
    }
    Call call{&handler};
    std::unique_lock lock(lock_);
    waiting_.push_back(&call);
    changed_.notify_all();
    changed_.wait(lock, [&] { return call.done; });
}

void CallerThreadCarrier::waitUntil(const std::function<bool()>& done) {
    std::unique_lock lock(lock_);
    for (;;) {
        changed_.wait(lock, [&] { return !waiting_.empty() || done(); });
        if (waiting_.empty())
            return;
        runFirst(lock);
    }
}

void CallerThreadCarrier::wake() {
    std::lock_guard lock(lock_);
    changed_.notify_all();
}

int CallerThreadCarrier::runPending() {
    std::unique_lock lock(lock_);
    int ran = 0;
    for (; !waiting_.empty(); ++ran)
        runFirst(lock);
    return ran;
}

void CallerThreadCarrier::runFirst(std::unique_lock<std::mutex>& lock) {
    Call* call = waiting_.front();
    waiting_.pop_front();
    lock.unlock();
    // The worker waits for this call whatever the handler does, so it is released even when it throws.
    struct Release {
        CallerThreadCarrier& carrier;
        std::unique_lock<std::mutex>& lock;
        Call* call;
        ~Release() {
            lock.lock();
            call->done = true;
            carrier.changed_.notify_all();
        }
    } release{*this, lock, call};
    (*call->handler)();
}

} // namespace quilo
