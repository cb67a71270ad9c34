// The filter graphs between decoders and encoders.
#pragma once

#include "ffmpeg_util.h"
#include "request.h"

namespace tz {

struct FilterGraph {
    GraphPtr graph;
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
};

struct VideoSource {
    int width = 0, height = 0;
    AVPixelFormat format = AV_PIX_FMT_NONE;
    AVRational sampleAspect{0, 1};
    AVRational timeBase{1, AV_TIME_BASE};
};

struct AudioSource {
    int sampleRate = 0;
    AVSampleFormat format = AV_SAMPLE_FMT_NONE;
    AVChannelLayout layout{};
    AVRational timeBase{1, 1};
};

// Trim, deinterlace, crop, scale, pad, display aspect, frame rate, overlay, pixel format.
bool buildVideoGraph(const ConversionPlan& plan, const VideoSource& source, AVRational frameRate,
                     AVPixelFormat outputFormat, int threads, FilterGraph& out);

// Trim, sync, volume, sample rate, layout and format; frames of frameSize samples when not 0.
bool buildAudioGraph(const ConversionPlan& plan, const AudioSource& source, int sampleRate,
                     AVSampleFormat outputFormat, const AVChannelLayout& layout, int frameSize,
                     FilterGraph& out);

} // namespace tz
