// The filter graphs (trim, crop, scale, pad, frame rate, sound format) on a
// thread of their own, between the decoding thread and the encoder threads.
#pragma once

#include "bounded_queue.h"
#include "ffmpeg_util.h"
#include "filters.h"
#include "pipeline_control.h"

#include <cstdint>

namespace tz {

// A decoded frame on the timeline, or (frame null) the end of its stream.
struct DecodedFrame {
    bool video = false;
    FramePtr frame;
    int64_t endPts = 0; // with a null frame: where the stream ends, in the graph's input time base
};

class FilterStage {
public:
    // A graph that is null has no stream: its frames never come.
    FilterStage(FilterGraph* video, FilterGraph* audio, BoundedQueue<DecodedFrame>& input,
                BoundedQueue<FramePtr>& videoOut, BoundedQueue<FramePtr>& audioOut, PipelineControl& control)
        : video_(video), audio_(audio), input_(input), videoOut_(videoOut), audioOut_(audioOut),
          control_(control) {}

    // Filters until the input ends; then both encoder queues are closed.
    void run();

private:
    bool take(DecodedFrame& item);
    bool drain(FilterGraph& graph, BoundedQueue<FramePtr>& out);

    FilterGraph* video_;
    FilterGraph* audio_;
    BoundedQueue<DecodedFrame>& input_;
    BoundedQueue<FramePtr>& videoOut_;
    BoundedQueue<FramePtr>& audioOut_;
    PipelineControl& control_;
};

} // namespace tz
