// One encoder on a thread of its own: filtered frames in, packets to the file.
#pragma once

#include "bounded_queue.h"
#include "ffmpeg_util.h"
#include "muxer.h"
#include "pipeline_control.h"

#include <chrono>
#include <optional>

namespace tz {

class StreamEncoder {
public:
    // frameTimeBase: the time base of the frames that arrive (the filters' output).
    StreamEncoder(AVCodecContext* encoder, AVStream* stream, AVRational frameTimeBase, bool audio,
                  BoundedQueue<FramePtr>& input, Muxer& muxer, PipelineControl& control)
        : encoder_(encoder), stream_(stream), frameTimeBase_(frameTimeBase), audio_(audio), input_(input),
          muxer_(muxer), control_(control) {}

    // Encodes until the input ends, then flushes the encoder. After a stop the
    // frames still queued are dropped and the flush is cut short; after a
    // failure elsewhere nothing more is written.
    void run();

private:
    using Clock = std::chrono::steady_clock;

    bool send(AVFrame* frame);
    bool flush();
    bool receive(bool flushing);

    AVCodecContext* encoder_;
    AVStream* stream_;
    const AVRational frameTimeBase_;
    const bool audio_;
    BoundedQueue<FramePtr>& input_;
    Muxer& muxer_;
    PipelineControl& control_;
    PacketPtr packet_ = makePacket();
    int64_t nextPts_ = AV_NOPTS_VALUE;
    std::optional<Clock::time_point> flushDeadline_; // set when a stop cuts the flush short
};

} // namespace tz
