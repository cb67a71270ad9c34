// What the threads of one conversion share besides their queues: the halt that
// a stop or a failure raises, and the reason of the first failure.
#pragma once

#include "bounded_queue.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace tz {

class PipelineControl {
public:
    // The queue is woken by a halt, also by one that came before.
    void watch(Haltable& queue);
    // Every stage stops at its next step; waits on the queues end at once.
    void halt();
    bool halted() const { return halted_.load(); }

    // This thread's work failed (its reason was given with failLine): every
    // stage stops, and nothing is flushed.
    void fail();
    bool failed() const { return failed_.load(); }
    // The reason given first by any of the threads.
    std::string failure() const;

private:
    std::atomic<bool> halted_{false};
    std::atomic<bool> failed_{false};
    mutable std::mutex lock_;
    std::vector<Haltable*> queues_;
    std::string failure_;
};

} // namespace tz
