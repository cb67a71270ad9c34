// Choosing encoder settings for a plan and opening the encoders.
#pragma once

#include "ffmpeg_util.h"
#include "request.h"

namespace tz {

// The output frame rate: the plan's, or the source's (fitted to what the codec
// can store) when the plan says "Auto". False (with a log line) when the codec
// cannot store the plan's explicit rate.
bool chooseFrameRate(const ConversionPlan& plan, const AVCodec* codec, AVRational sourceRate,
                     AVRational& rate);

AVPixelFormat choosePixelFormat(const ConversionPlan& plan, const AVCodec* codec);

// Video encoder with the plan's settings, opened; null and a log line on failure.
CodecPtr openVideoEncoder(const ConversionPlan& plan, const AVCodec* codec, int width, int height,
                          AVRational sampleAspect, AVRational frameRate, AVPixelFormat format,
                          AVFieldOrder fieldOrder, bool globalHeader);

// Sample rate, layout and sample format the encoder (and container) accept.
bool chooseAudioFormat(const ConversionPlan& plan, const AVCodec* codec, int sourceRate,
                       const AVChannelLayout& sourceLayout, int& rate, AVChannelLayout& layout,
                       AVSampleFormat& format);

CodecPtr openAudioEncoder(const ConversionPlan& plan, const AVCodec* codec, int rate,
                          const AVChannelLayout& layout, AVSampleFormat format, bool globalHeader);

} // namespace tz
