#include "pipeline_control.h"

#include "log.h"

namespace tz {

void PipelineControl::fail() {
    {
        std::lock_guard hold(lock_);
        if (failure_.empty())
            failure_ = firstFailure();
    }
    failed_.store(true);
    halt_.request_stop();
}

std::string PipelineControl::failure() const {
    std::lock_guard hold(lock_);
    return failure_;
}

} // namespace tz
