#include "media.h"

#include "log.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <cmath>

namespace tz {

InputPtr openMedia(const std::string& path) {
    AVFormatContext* raw = nullptr;
    AVDictionary* options = localFileOptions();
    int error = avformat_open_input(&raw, localFileUrl(path).c_str(), nullptr, &options);
    av_dict_free(&options);
    if (error < 0) {
        failLine("cannot open \"%s\": %s", path.c_str(), errorText(error).c_str());
        return nullptr;
    }
    InputPtr input(raw);
    error = avformat_find_stream_info(input.get(), nullptr);
    if (error < 0) {
        failLine("cannot read the streams of \"%s\": %s", path.c_str(), errorText(error).c_str());
        return nullptr;
    }
    return input;
}

namespace {
bool usableVideo(const AVStream* stream) {
    return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
           !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) && stream->codecpar->width > 0 &&
           stream->codecpar->height > 0;
}
bool usableAudio(const AVStream* stream) {
    return stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && stream->codecpar->sample_rate > 0 &&
           stream->codecpar->ch_layout.nb_channels > 0;
}
} // namespace

int chooseVideoStream(AVFormatContext* input, int wantedId) {
    if (wantedId > 0) {
        for (unsigned i = 0; i < input->nb_streams; ++i)
            if (usableVideo(input->streams[i]) && input->streams[i]->id == wantedId)
                return static_cast<int>(i);
        logLine("no video stream has the id %d, using the default one", wantedId);
    }
    int best = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (best >= 0 && usableVideo(input->streams[best]))
        return best;
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (usableVideo(input->streams[i]))
            return static_cast<int>(i);
    return -1;
}

int chooseAudioStream(AVFormatContext* input, int wantedId, int) {
    if (wantedId < 0) {
        // The stream marked as default, else the first one (the first language).
        for (unsigned i = 0; i < input->nb_streams; ++i)
            if (usableAudio(input->streams[i]) && (input->streams[i]->disposition & AV_DISPOSITION_DEFAULT))
                return static_cast<int>(i);
        for (unsigned i = 0; i < input->nb_streams; ++i)
            if (usableAudio(input->streams[i]))
                return static_cast<int>(i);
        return -1;
    }
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (usableAudio(input->streams[i]) && input->streams[i]->id == wantedId)
            return static_cast<int>(i);
    // Program streams carry sub-stream ids such as 0x1c0 or 0x80 that analysis
    // tools often report by their low byte.
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (usableAudio(input->streams[i]) && input->streams[i]->id > 0xff &&
            (input->streams[i]->id & 0xff) == wantedId)
            return static_cast<int>(i);
    int ordinal = 0;
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (usableAudio(input->streams[i]) && ordinal++ == wantedId)
            return static_cast<int>(i);
    return -1;
}

CodecPtr openDecoder(AVStream* stream, int threads) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        failLine("no decoder for stream %d (%s)", stream->index,
                 avcodec_get_name(stream->codecpar->codec_id));
        return nullptr;
    }
    CodecPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        return nullptr;
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = threads;
    const int error = avcodec_open2(decoder.get(), codec, nullptr);
    if (error < 0) {
        failLine("cannot open the %s decoder: %s", codec->name, errorText(error).c_str());
        return nullptr;
    }
    return decoder;
}

int64_t startMicros(const AVFormatContext* input) {
    return input->start_time == AV_NOPTS_VALUE ? 0 : input->start_time;
}

namespace {

// Decodes from where the input stands up to the frame shown at `seconds`.
FramePtr decodeUpTo(AVFormatContext* input, int videoIndex, AVCodecContext* decoder, double seconds) {
    AVStream* stream = input->streams[videoIndex];
    avcodec_flush_buffers(decoder);
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame(), last;
    double lastEnd = 0;
    const double frameSeconds =
        stream->avg_frame_rate.num > 0 ? av_q2d(av_inv_q(stream->avg_frame_rate)) : 0.04;
    bool draining = false;
    while (true) {
        int error = avcodec_receive_frame(decoder, frame.get());
        if (error == 0) {
            const int64_t pts = frame->best_effort_timestamp;
            if (pts == AV_NOPTS_VALUE) {
                av_frame_unref(frame.get());
                continue;
            }
            const int64_t startTs = stream->start_time != AV_NOPTS_VALUE
                                        ? stream->start_time
                                        : av_rescale_q(startMicros(input), AV_TIME_BASE_Q, stream->time_base);
            const double at = av_q2d(stream->time_base) * static_cast<double>(pts - startTs);
            const double duration = frame->pkt_duration > 0
                                        ? av_q2d(stream->time_base) * static_cast<double>(frame->pkt_duration)
                                        : frameSeconds;
            if (at + duration > seconds + 1e-6)
                return frame;
            last = FramePtr(av_frame_clone(frame.get()));
            lastEnd = at + duration;
            av_frame_unref(frame.get());
            continue;
        }
        if (error == AVERROR_EOF)
            break;
        if (error != AVERROR(EAGAIN))
            break;
        if (draining)
            break;
        error = av_read_frame(input, packet.get());
        if (error < 0) {
            draining = true;
            avcodec_send_packet(decoder, nullptr);
            continue;
        }
        if (packet->stream_index == videoIndex)
            avcodec_send_packet(decoder, packet.get()); // a damaged packet is skipped
        av_packet_unref(packet.get());
    }
    // The last frame still counts for a time just past its nominal end.
    if (last && seconds < lastEnd + 0.5)
        return last;
    return nullptr;
}

} // namespace

FramePtr decodeFrameAt(AVFormatContext* input, int videoIndex, AVCodecContext* decoder, double seconds) {
    AVStream* stream = input->streams[videoIndex];
    const int64_t target = av_rescale_q(startMicros(input) + static_cast<int64_t>(seconds * AV_TIME_BASE),
                                        AV_TIME_BASE_Q, stream->time_base);
    // Backward to the keyframe before the target; decoding covers the rest.
    if (avformat_seek_file(input, videoIndex, INT64_MIN, target, target, 0) < 0)
        avformat_seek_file(input, videoIndex, INT64_MIN, 0, 0, 0);
    if (FramePtr frame = decodeUpTo(input, videoIndex, decoder, seconds))
        return frame;
    // Containers without an index (MPEG-TS) can land behind the only keyframe
    // of a stretch, leaving nothing to decode: read from the first byte instead.
    if (input->iformat->flags & AVFMT_NO_BYTE_SEEK || av_seek_frame(input, -1, 0, AVSEEK_FLAG_BYTE) < 0)
        return nullptr;
    return decodeUpTo(input, videoIndex, decoder, seconds);
}

bool frameToRgb(const AVFrame* frame, int width, int height, std::vector<uint8_t>& pixels) {
    if (!frame || width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return false;
    SwsPtr scaler(sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                 width, height, AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return false;
    pixels.assign(static_cast<std::size_t>(width) * height * 3, 0);
    uint8_t* planes[4] = {pixels.data(), nullptr, nullptr, nullptr};
    int strides[4] = {width * 3, 0, 0, 0};
    return sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) == height;
}

} // namespace tz
