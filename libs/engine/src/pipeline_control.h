// What the threads of one conversion share besides their queues: the halt that
// a stop or a failure raises, and the reason of the first failure.
#pragma once

#include <atomic>
#include <mutex>
#include <stop_token>
#include <string>

namespace tz {

class PipelineControl {
public:
    std::stop_token token() const { return halt_.get_token(); }
    std::stop_source source() const { return halt_; }
    bool halted() const { return halt_.stop_requested(); }

    // This thread's work failed (its reason was given with failLine): every
    // stage stops, and nothing is flushed.
    void fail();
    bool failed() const { return failed_.load(); }
    // The reason given first by any of the threads.
    std::string failure() const;

private:
    std::stop_source halt_;
    std::atomic<bool> failed_{false};
    mutable std::mutex lock_;
    std::string failure_;
};

} // namespace tz
