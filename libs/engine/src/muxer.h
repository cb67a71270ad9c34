// The output file shared by the video and the audio encoder threads.
#pragma once

#include "ffmpeg_util.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace tz {

class Muxer {
public:
    Muxer(AVFormatContext* output, std::string name) : output_(output), name_(std::move(name)) {}

    // Interleaves one packet (in its stream's time base) into the file.
    // False, with a log line, when the file cannot be written.
    bool write(AVPacket* packet);
    // After both encoders are done: what is still held back, then the trailer.
    bool finish();
    int64_t packetsWritten() const { return written_.load(); }

private:
    std::mutex lock_;
    AVFormatContext* output_;
    const std::string name_;
    std::atomic<int64_t> written_{0};
};

} // namespace tz
