#include "pipeline_control.h"

#include "log.h"

namespace tz {

void PipelineControl::watch(Haltable& queue) {
    std::lock_guard hold(lock_);
    queues_.push_back(&queue);
    if (halted_.load())
        queue.halt();
}

void PipelineControl::halt() {
    std::lock_guard hold(lock_);
    halted_.store(true);
    for (Haltable* queue : queues_)
        queue->halt();
}

void PipelineControl::fail() {
    {
        std::lock_guard hold(lock_);
        if (failure_.empty())
            failure_ = firstFailure();
    }
    failed_.store(true);
    halt();
}

std::string PipelineControl::failure() const {
    std::lock_guard hold(lock_);
    return failure_;
}

} // namespace tz
