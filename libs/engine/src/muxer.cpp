#include "muxer.h"

#include "log.h"

namespace tz {

bool Muxer::write(AVPacket* packet) {
    std::lock_guard hold(lock_);
    const int error = av_interleaved_write_frame(output_, packet);
    if (error < 0) {
        failLine("cannot write to \"%s\": %s", name_.c_str(), errorText(error).c_str());
        return false;
    }
    written_.fetch_add(1);
    return true;
}

bool Muxer::finish() {
    std::lock_guard hold(lock_);
    const int error = av_write_trailer(output_);
    if (error < 0) {
        failLine("cannot finish \"%s\": %s", name_.c_str(), errorText(error).c_str());
        return false;
    }
    return true;
}

} // namespace tz
