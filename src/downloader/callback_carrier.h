// Carries calls made on a worker thread to the thread that owns the work, and
// waits there until they have run.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quilo {

class CallbackCarrier {
public:
    virtual ~CallbackCarrier() = default;
    // Runs `handler` on the owner's thread; returns once it has run. From any thread.
    virtual void carry(const std::function<void()>& handler) = 0;
    // On the owner's thread: waits until `done` holds, running carried handlers meanwhile.
    virtual void waitUntil(const std::function<bool()>& done) = 0;
    // Makes a waitUntil look at its condition again. From any thread.
    virtual void wake() = 0;
};

// The owner is the thread that made the carrier. Handlers run when the owner
// calls waitUntil or runPending; a carry from the owner itself runs at once.
class CallerThreadCarrier : public CallbackCarrier {
public:
    CallerThreadCarrier() : owner_(std::this_thread::get_id()) {}
    void carry(const std::function<void()>& handler) override;
    void waitUntil(const std::function<bool()>& done) override;
    void wake() override;
    // Runs the handlers waiting now; returns how many ran.
    int runPending();

private:
    struct Call {
        const std::function<void()>* handler;
        bool done = false;
    };
    // Runs the first waiting call with the lock released; the lock is held again afterwards.
    void runFirst(std::unique_lock<std::mutex>& lock);

    const std::thread::id owner_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Call*> waiting_;
};

} // namespace quilo
