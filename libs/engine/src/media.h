// Reading media: opening files, choosing streams, decoders, single frames.
#pragma once

#include "ffmpeg_util.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tz {

// Opens and probes a media file; logs and returns null when it cannot be read.
InputPtr openMedia(const std::string& path);

// The video stream to read: the one whose id is `wantedId` (> 0), else the default.
int chooseVideoStream(AVFormatContext* input, int wantedId);
// The audio stream: the default (wantedId < 0), else the stream whose id matches
// (a program-stream id also matches on its low byte), else the wantedId-th audio
// stream. -1 when there is none (or the wanted one does not exist).
int chooseAudioStream(AVFormatContext* input, int wantedId, int videoIndex);

// An opened decoder for the stream; null (and a log line) when none fits.
CodecPtr openDecoder(AVStream* stream, int threads);

// Start of the file's timeline in microseconds (0 when unknown).
int64_t startMicros(const AVFormatContext* input);

// The video frame shown at `seconds` (counted from the start of the file):
// seeks to the keyframe before it and decodes up to it. Null when the file has
// no frame at that time.
FramePtr decodeFrameAt(AVFormatContext* input, int videoIndex, AVCodecContext* decoder, double seconds);

// The frame scaled to width x height RGB24, rows top-down, no row padding.
bool frameToRgb(const AVFrame* frame, int width, int height, std::vector<uint8_t>& pixels);

} // namespace tz
