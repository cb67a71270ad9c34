#include "muxer.h"

#include "log.h"

namespace tz {

bool Muxer::write(AVPacket* packet) {
    std::lock_guard hold(lock_);
    int error = av_interleaved_write_frame(output_, packet);
    // Some muxers keep what they write in their own buffers and do not pass a
    // failed write on: a full disk must end the conversion when it happens.
    if (error >= 0 && output_->pb && output_->pb->error < 0)
        error = output_->pb->error;
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
