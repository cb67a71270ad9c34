#include "filter_stage.h"

#include "log.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

namespace tz {

void FilterStage::run() {
    while (std::optional<DecodedFrame> item = input_.pop()) {
        if (!take(*item)) {
            control_.fail();
            break;
        }
    }
    videoOut_.close();
    audioOut_.close();
}

bool FilterStage::take(DecodedFrame& item) {
    FilterGraph* graph = item.video ? video_ : audio_;
    BoundedQueue<FramePtr>& out = item.video ? videoOut_ : audioOut_;
    if (!graph)
        return true;
    if (!item.frame) {
        // Closing at the end of the last frame lets the frame-rate filter keep
        // that frame for its whole duration.
        return av_buffersrc_close(graph->source, item.endPts, 0) >= 0 && drain(*graph, out);
    }
    const int error = av_buffersrc_add_frame_flags(graph->source, item.frame.get(), 0);
    if (error < 0) {
        failLine("filtering failed: %s", errorText(error).c_str());
        return false;
    }
    return drain(*graph, out);
}

bool FilterStage::drain(FilterGraph& graph, BoundedQueue<FramePtr>& out) {
    // A filter can give many frames for one (the frame-rate filter fills gaps):
    // a stop must not wait for all of them.
    while (!control_.halted()) {
        FramePtr filtered = makeFrame();
        const int error = av_buffersink_get_frame(graph.sink, filtered.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return true;
        if (error < 0) {
            failLine("filtering failed: %s", errorText(error).c_str());
            return false;
        }
        if (!out.push(std::move(filtered)))
            return true; // halted: the encoder takes no more
    }
    return true;
}

} // namespace tz
