#include "stream_encoder.h"

#include "log.h"
#include "progress.h"

#include <chrono>
#include <optional>

namespace tz {
namespace {

// After a stop the encoder's delayed frames get this long only: a look-ahead of
// dozens of HD frames takes seconds to flush, and the file plays without them.
constexpr auto kFlushAfterStop = std::chrono::milliseconds(300);

} // namespace

void StreamEncoder::run() {
    while (std::optional<FramePtr> frame = input_.pop()) {
        if (!send(frame->get())) {
            control_.fail();
            return;
        }
    }
    if (control_.failed())
        return;
    if (!flush())
        control_.fail();
}

bool StreamEncoder::flush() {
    // A stop can leave packets in the encoder: they go first.
    if (!receive(true))
        return false;
    const int error = avcodec_send_frame(encoder_, nullptr);
    if (error == AVERROR(EAGAIN))
        return true; // the time after a stop ran out with packets still held
    if (error < 0 && error != AVERROR_EOF) {
        failLine("the %s encoder refused a frame: %s", encoder_->codec->name, errorText(error).c_str());
        return false;
    }
    return receive(true);
}

bool StreamEncoder::send(AVFrame* frame) {
    {
        frame->pts = av_rescale_q(frame->pts, frameTimeBase_, encoder_->time_base);
        if (audio_) {
            // Encoders want rising timestamps even where the source overlaps itself.
            if (nextPts_ != AV_NOPTS_VALUE && frame->pts < nextPts_)
                frame->pts = nextPts_;
            nextPts_ = frame->pts + frame->nb_samples;
        } else {
            frame->pict_type = AV_PICTURE_TYPE_NONE;
            progress::countVideoFrame();
        }
        progress::reached(static_cast<double>(frame->pts) * av_q2d(encoder_->time_base));
    }
    const int error = avcodec_send_frame(encoder_, frame);
    if (error == AVERROR(EAGAIN) && control_.halted())
        return true; // packets a stop left in the encoder are in the way: the frame is dropped
    if (error < 0 && error != AVERROR_EOF) {
        failLine("the %s encoder refused a frame: %s", encoder_->codec->name, errorText(error).c_str());
        return false;
    }
    return receive(false);
}

bool StreamEncoder::receive(bool flushing) {
    while (true) {
        if (control_.halted()) {
            // Before the flush a stop leaves the packets in the encoder for it.
            if (!flushing || control_.failed())
                return true;
            if (!flushDeadline_)
                flushDeadline_ = Clock::now() + kFlushAfterStop;
            if (Clock::now() >= *flushDeadline_)
                return true;
        }
        const int error = avcodec_receive_packet(encoder_, packet_.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return true;
        if (error < 0) {
            failLine("the %s encoder failed: %s", encoder_->codec->name, errorText(error).c_str());
            return false;
        }
        packet_->stream_index = stream_->index;
        av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
        if (!muxer_.write(packet_.get()))
            return false;
    }
}

} // namespace tz
