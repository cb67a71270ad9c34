#include "encoders.h"

#include "log.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace tz {
namespace {

bool isCodec(const VideoCodecSpec* spec, std::string_view name) {
    return spec && name == spec->name;
}

// Rates the MPEG-1/2 headers can describe.
bool mpegVideo(const AVCodec* codec) {
    return codec->id == AV_CODEC_ID_MPEG1VIDEO || codec->id == AV_CODEC_ID_MPEG2VIDEO;
}

int nearestOf(const std::vector<int>& allowed, int wanted) {
    int best = allowed.front();
    for (int value : allowed)
        if (std::abs(value - wanted) < std::abs(best - wanted))
            best = value;
    return best;
}

} // namespace

bool chooseFrameRate(const ConversionPlan& plan, const AVCodec* codec, AVRational sourceRate,
                     AVRational& rate) {
    if (!plan.frameRateAuto) {
        rate = plan.frameRate;
    } else {
        rate = sourceRate;
        double hint = 0;
        if ((rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > 240 || av_q2d(rate) < 1) &&
            parseDecimal(plan.global.frameRateHint, hint) && hint >= 1 && hint <= 240)
            rate = av_d2q(hint, 100000);
        if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > 240 || av_q2d(rate) < 1)
            rate = {25, 1};
    }
    if (codec->supported_framerates) {
        const int index = av_find_nearest_q_idx(rate, codec->supported_framerates);
        const AVRational nearest = codec->supported_framerates[index];
        if (av_cmp_q(nearest, rate) != 0) {
            if (!plan.frameRateAuto) {
                failLine("VideoFrameRate %.3f cannot be stored by the %s encoder", av_q2d(rate), codec->name);
                return false;
            }
            rate = nearest;
        }
    } else if (mpegVideo(codec)) {
        const AVRational mpegRates[] = {{24000, 1001}, {24, 1},       {25, 1}, {30000, 1001}, {30, 1},
                                        {50, 1},       {60000, 1001}, {60, 1}, {0, 0}};
        const AVRational nearest = mpegRates[av_find_nearest_q_idx(rate, mpegRates)];
        if (av_cmp_q(nearest, rate) != 0) {
            if (!plan.frameRateAuto) {
                // MPEG-2 can still describe other rates through its extension fields,
                // but players and authoring tools expect the standard ones.
                failLine("VideoFrameRate %.3f cannot be stored in MPEG-2 video", av_q2d(rate));
                return false;
            }
            rate = nearest;
        }
    }
    // MPEG-4 part 2 and its relatives hold the time base in 16 bits.
    if (rate.num > 65535 || rate.den > 65535)
        rate = av_d2q(av_q2d(rate), 65535);
    return true;
}

AVPixelFormat choosePixelFormat(const ConversionPlan&, const AVCodec* codec) {
    if (!codec->pix_fmts)
        return AV_PIX_FMT_YUV420P;
    for (const AVPixelFormat* format = codec->pix_fmts; *format != AV_PIX_FMT_NONE; ++format)
        if (*format == AV_PIX_FMT_YUV420P)
            return *format;
    return codec->pix_fmts[0];
}

CodecPtr openVideoEncoder(const ConversionPlan& plan, const AVCodec* codec, int width, int height,
                          AVRational sampleAspect, AVRational frameRate, AVPixelFormat format,
                          AVFieldOrder fieldOrder, bool globalHeader) {
    CodecPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder)
        return nullptr;
    encoder->width = width;
    encoder->height = height;
    encoder->sample_aspect_ratio = sampleAspect;
    encoder->pix_fmt = format;
    encoder->framerate = frameRate;
    encoder->time_base = av_inv_q(frameRate);
    encoder->bit_rate = static_cast<int64_t>(plan.videoKbps) * 1000;
    encoder->thread_count = plan.global.threads;
    if (globalHeader)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    AVDictionary* options = nullptr;
    const VideoCodecSpec* spec = plan.videoCodec;
    const std::string_view container = plan.container->name;
    if (codec->id == AV_CODEC_ID_H264) {
        av_dict_set(&options, "preset", plan.highQuality ? "slow" : "medium", 0);
        if (container == "ipod" || container == "psp" || container == "3gp" || container == "3g2")
            av_dict_set(&options, "profile", "main", 0);
        else
            av_dict_set(&options, "profile", "high", 0);
    } else {
        encoder->gop_size = 12;
        if (plan.highQuality) {
            encoder->mb_decision = FF_MB_DECISION_RD;
            av_dict_set(&options, "trellis", "1", 0);
        }
    }
    if (mpegVideo(codec)) {
        encoder->max_b_frames = 2;
        encoder->field_order = fieldOrder;
    }
    if (isCodec(spec, "dvd")) {
        const bool pal = plan.dvdStandard == 2;
        encoder->gop_size = pal ? 15 : 18;
        encoder->rc_max_rate = 9000000;
        encoder->rc_min_rate = 0;
        encoder->rc_buffer_size = 224 * 1024 * 8;
        if (encoder->bit_rate > encoder->rc_max_rate)
            encoder->bit_rate = encoder->rc_max_rate;
    }
    if (isCodec(spec, "xvid") && container == "avi")
        encoder->codec_tag = MKTAG('X', 'V', 'I', 'D');

    const int error = avcodec_open2(encoder.get(), codec, &options);
    av_dict_free(&options);
    if (error < 0) {
        failLine("cannot open the %s encoder for %dx%d at %d/%d fps, %d kbit/s: %s", codec->name, width,
                 height, frameRate.num, frameRate.den, plan.videoKbps, errorText(error).c_str());
        return nullptr;
    }
    return encoder;
}

bool chooseAudioFormat(const ConversionPlan& plan, const AVCodec* codec, int sourceRate,
                       const AVChannelLayout& sourceLayout, int& rate, AVChannelLayout& layout,
                       AVSampleFormat& format) {
    // Sample rate: what was asked, else the source's; limited to what the
    // encoder and the container can store.
    std::vector<int> allowed;
    if (codec->supported_samplerates)
        for (const int* r = codec->supported_samplerates; *r; ++r)
            allowed.push_back(*r);
    const std::string_view container = plan.container->name;
    auto restrict = [&allowed](std::vector<int> only) {
        if (allowed.empty()) {
            allowed = only;
            return;
        }
        std::vector<int> both;
        for (int r : allowed)
            for (int o : only)
                if (r == o)
                    both.push_back(r);
        allowed = both;
    };
    if (container == "flv")
        restrict({44100, 22050, 11025});
    if (container == "dvd")
        restrict({48000});
    if (codec->id == AV_CODEC_ID_WMAV2 && allowed.empty())
        allowed = {48000, 44100, 32000, 22050, 16000, 11025, 8000};

    const int wanted = plan.sampleRate > 0 ? plan.sampleRate : sourceRate;
    rate = wanted;
    if (!allowed.empty()) {
        bool found = false;
        for (int r : allowed)
            found = found || r == wanted;
        if (!found) {
            if (plan.sampleRate > 0) {
                failLine("the %s encoder in %s cannot store %d Hz", codec->name, plan.container->name,
                         wanted);
                return false;
            }
            rate = nearestOf(allowed, wanted);
        }
    }

    // Channels: what was asked, else the source's layout as far as the encoder goes.
    int channels = plan.global.audioChannels > 0 ? plan.global.audioChannels : sourceLayout.nb_channels;
    int maxChannels = 8;
    if (codec->id == AV_CODEC_ID_MP3 || codec->id == AV_CODEC_ID_MP2 || codec->id == AV_CODEC_ID_WMAV2)
        maxChannels = 2;
    if (codec->id == AV_CODEC_ID_AC3)
        maxChannels = 6;
    if (container == "flv" || container == "3gp" || container == "3g2" || container == "psp" ||
        container == "ipod" || container == "m4a")
        maxChannels = 2; // what the players of these files decode
    channels = std::clamp(channels, 1, maxChannels);
    av_channel_layout_uninit(&layout);
    if (channels == sourceLayout.nb_channels && sourceLayout.order == AV_CHANNEL_ORDER_NATIVE)
        av_channel_layout_copy(&layout, &sourceLayout);
    else
        av_channel_layout_default(&layout, channels);
    if (codec->ch_layouts) {
        bool supported = false;
        for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l)
            supported = supported || av_channel_layout_compare(l, &layout) == 0;
        if (!supported) {
            // The encoder's layout with the most channels not above the wanted count.
            const AVChannelLayout* best = nullptr;
            for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l)
                if (l->nb_channels <= channels && (!best || l->nb_channels > best->nb_channels))
                    best = l;
            av_channel_layout_uninit(&layout);
            if (best)
                av_channel_layout_copy(&layout, best);
            else
                av_channel_layout_copy(&layout, &codec->ch_layouts[0]);
        }
    }

    format = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    return true;
}

CodecPtr openAudioEncoder(const ConversionPlan& plan, const AVCodec* codec, int rate,
                          const AVChannelLayout& layout, AVSampleFormat format, bool globalHeader) {
    CodecPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder)
        return nullptr;
    encoder->sample_rate = rate;
    encoder->sample_fmt = format;
    av_channel_layout_copy(&encoder->ch_layout, &layout);
    encoder->time_base = {1, rate};
    encoder->thread_count = plan.global.threads;
    int kbps = plan.audioKbps;
    // AC-3 and MP2 only know fixed rates: take the nearest one.
    if (codec->id == AV_CODEC_ID_AC3 || codec->id == AV_CODEC_ID_MP2) {
        const std::vector<int> ac3{32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                                   192, 224, 256, 320, 384, 448, 512, 576, 640};
        const std::vector<int> mp2{32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
        const int nearest = nearestOf(codec->id == AV_CODEC_ID_AC3 ? ac3 : mp2, kbps);
        if (nearest != kbps)
            logLine("the %s encoder stores %d kbit/s instead of %d", codec->name, nearest, kbps);
        kbps = nearest;
    }
    if (codec->id != AV_CODEC_ID_PCM_S16LE)
        encoder->bit_rate = static_cast<int64_t>(kbps) * 1000;
    if (globalHeader)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int error = avcodec_open2(encoder.get(), codec, nullptr);
    if (error < 0) {
        char layoutName[64] = {};
        av_channel_layout_describe(&layout, layoutName, sizeof layoutName);
        failLine("cannot open the %s encoder at %d Hz, %s, %d kbit/s: %s", codec->name, rate, layoutName,
                 kbps, errorText(error).c_str());
        return nullptr;
    }
    return encoder;
}

} // namespace tz
