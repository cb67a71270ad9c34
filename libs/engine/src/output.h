// The output file: the muxer of the plan's container.
#pragma once

#include "ffmpeg_util.h"
#include "request.h"

namespace tz {

struct OutputCloser {
    void operator()(AVFormatContext* context) const {
        if (context->pb && !(context->oformat->flags & AVFMT_NOFILE))
            avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
using OutputPtr = std::unique_ptr<AVFormatContext, OutputCloser>;

// The muxer for the plan's container with the album, artist and genre tags; the
// file is not opened yet. Null and a log line on failure.
OutputPtr createOutput(const ConversionPlan& plan);

// False (and a log line) when the container cannot hold the codec.
bool containerHolds(const AVFormatContext* output, const AVCodec* codec, const char* engineName);

// Opens the file and writes the header with the container's own options.
bool startOutput(const ConversionPlan& plan, AVFormatContext* output);

} // namespace tz
