// File information for clip loading, and the thumbnail that goes with it.
#include "frames.h"
#include "log.h"
#include "media.h"

#include <cmath>
#include <cstring>
#include <mutex>

namespace tz {
namespace {

std::mutex thumbnailLock;
FramePtr thumbnail;         // waiting for the next takeThumbnail
FramePtr lastThumbnailCopy; // kept for the JPEG export

// Close to one of the display aspects the clip list knows (1 = 1:1, 2 = 4:3,
// 3 = 16:9, 4 = 2.21:1), or 0.
int aspectCode(double aspect) {
    const double known[] = {1.0, 4.0 / 3.0, 16.0 / 9.0, 2.21};
    for (int i = 0; i < 4; ++i)
        if (std::fabs(aspect - known[i]) / known[i] < 0.03)
            return i + 1;
    return 0;
}

// Mean brightness of the luma plane (or first plane), sampled.
double brightness(const AVFrame* frame) {
    if (!frame->data[0] || frame->width <= 0 || frame->height <= 0)
        return 0;
    double sum = 0;
    int count = 0;
    for (int y = 0; y < frame->height; y += 8)
        for (int x = 0; x < frame->width; x += 8, ++count)
            sum += frame->data[0][static_cast<std::ptrdiff_t>(y) * frame->linesize[0] + x];
    return count ? sum / count : 0;
}

void copyText(char* target, std::size_t size, const char* text) {
    std::strncpy(target, text ? text : "", size - 1);
    target[size - 1] = '\0';
}

} // namespace

bool readFileInfo(const std::string& path, TzFileInfo& info) {
    std::memset(&info, 0, sizeof info);
    InputPtr input = openMedia(path);
    if (!input)
        return false;
    const int video = chooseVideoStream(input.get(), -1);
    const int audio = chooseAudioStream(input.get(), -1, video);
    if (video < 0 && audio < 0) {
        logLine("\"%s\" has neither video nor audio", path.c_str());
        return false;
    }
    int64_t durationUs = input->duration > 0 ? input->duration : 0;
    if (durationUs == 0)
        for (unsigned i = 0; i < input->nb_streams; ++i) {
            const AVStream* s = input->streams[i];
            if (s->duration > 0)
                durationUs = std::max(durationUs, av_rescale_q(s->duration, s->time_base, AV_TIME_BASE_Q));
        }
    info.duration = static_cast<int>(durationUs / AV_TIME_BASE);
    info.durationMs = static_cast<int>(std::min<int64_t>(durationUs / 1000, INT32_MAX));
    copyText(info.container, sizeof info.container, input->iformat->name);

    if (audio >= 0) {
        const AVCodecParameters* a = input->streams[audio]->codecpar;
        info.hasAudio = 1;
        info.audioSampleRate = a->sample_rate;
        info.audioBitRate = static_cast<float>(a->bit_rate) / 1000.0f;
        info.audioChannels = a->ch_layout.nb_channels;
        copyText(info.audioCodec, sizeof info.audioCodec, avcodec_get_name(a->codec_id));
    }
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            ++info.audioStreamCount;

    if (video >= 0) {
        AVStream* stream = input->streams[video];
        const AVCodecParameters* v = stream->codecpar;
        info.hasVideo = 1;
        info.width = v->width;
        info.height = v->height;
        const AVRational rate = av_guess_frame_rate(input.get(), stream, nullptr);
        info.frameRate = rate.num > 0 && rate.den > 0 ? static_cast<float>(av_q2d(rate)) : 0.0f;
        double kbps = static_cast<double>(v->bit_rate) / 1000.0;
        if (kbps <= 0 && input->bit_rate > 0)
            kbps = std::max(0.0, static_cast<double>(input->bit_rate) / 1000.0 - info.audioBitRate);
        info.videoBitRate = static_cast<float>(kbps);
        copyText(info.videoCodec, sizeof info.videoCodec, avcodec_get_name(v->codec_id));

        const AVRational sar = av_guess_sample_aspect_ratio(input.get(), stream, nullptr);
        const bool square = sar.num <= 0 || sar.den <= 0 || sar.num == sar.den;
        const double pixelAspect = square ? 1.0 : av_q2d(sar);
        const double displayAspect = static_cast<double>(v->width) * pixelAspect / std::max(1, v->height);
        info.aspectCode = aspectCode(displayAspect);
        info.aspectFlag = square ? 1 : 0;
        info.displayWidth = static_cast<int>(std::lround(v->width * pixelAspect));

        // A representative picture: about a tenth in, later if that one is black.
        CodecPtr decoder = openDecoder(stream, 0);
        FramePtr picture;
        if (decoder) {
            const double seconds = static_cast<double>(durationUs) / AV_TIME_BASE;
            for (double share : {0.1, 0.3, 0.5}) {
                FramePtr candidate = decodeFrameAt(input.get(), video, decoder.get(), seconds * share);
                if (!candidate)
                    continue;
                const bool dark = brightness(candidate.get()) < 24;
                if (!picture || !dark)
                    picture = std::move(candidate);
                if (!dark)
                    break;
            }
            if (!picture)
                picture = decodeFrameAt(input.get(), video, decoder.get(), 0);
        }
        std::lock_guard guard(thumbnailLock);
        thumbnail = std::move(picture);
        if (thumbnail)
            lastThumbnailCopy.reset(av_frame_clone(thumbnail.get()));
    } else {
        std::lock_guard guard(thumbnailLock);
        thumbnail.reset();
    }
    return true;
}

bool takeThumbnail(int width, int height, std::vector<uint8_t>& pixels) {
    std::lock_guard guard(thumbnailLock);
    if (!thumbnail)
        return false;
    FramePtr frame = std::move(thumbnail);
    return frameToRgb(frame.get(), width, height, pixels);
}

// Used by the JPEG export when no grabber frame exists.
FramePtr lastThumbnail() {
    std::lock_guard guard(thumbnailLock);
    return FramePtr(lastThumbnailCopy ? av_frame_clone(lastThumbnailCopy.get()) : nullptr);
}

} // namespace tz
