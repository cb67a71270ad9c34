#include "output.h"

#include "log.h"

#include <string_view>

namespace tz {

OutputPtr createOutput(const ConversionPlan& plan) {
    AVFormatContext* raw = nullptr;
    const int error =
        avformat_alloc_output_context2(&raw, nullptr, plan.container->muxer, plan.outputName.c_str());
    if (error < 0 || !raw) {
        failLine("cannot make a %s file: %s", plan.container->name, errorText(error).c_str());
        return nullptr;
    }
    OutputPtr output(raw);
    if (!plan.album.empty())
        av_dict_set(&output->metadata, "album", plan.album.c_str(), 0);
    if (!plan.artist.empty())
        av_dict_set(&output->metadata, "artist", plan.artist.c_str(), 0);
    if (!plan.genre.empty())
        av_dict_set(&output->metadata, "genre", plan.genre.c_str(), 0);
    return output;
}

bool containerHolds(const AVFormatContext* output, const AVCodec* codec, const char* engineName) {
    // Muxers that cannot answer (a negative result) are left to avformat_write_header.
    if (avformat_query_codec(output->oformat, codec->id, FF_COMPLIANCE_NORMAL) != 0)
        return true;
    failLine("the %s container cannot hold %s (%s)", output->oformat->name, engineName, codec->name);
    return false;
}

bool startOutput(const ConversionPlan& plan, AVFormatContext* output) {
    if (!(output->oformat->flags & AVFMT_NOFILE)) {
        AVDictionary* fileOptions = localFileOptions();
        const int error = avio_open2(&output->pb, localFileUrl(plan.outputName).c_str(), AVIO_FLAG_WRITE,
                                     nullptr, &fileOptions);
        av_dict_free(&fileOptions);
        if (error < 0) {
            failLine("cannot write \"%s\": %s", plan.outputName.c_str(), errorText(error).c_str());
            return false;
        }
    }
    AVDictionary* options = nullptr;
    const std::string_view container = plan.container->name;
    if (container == "dvd") {
        output->packet_size = 2048;
        av_dict_set(&options, "muxrate", "10080000", 0);
    }
    if (container == "mpeg2ts")
        av_dict_set(&options, "mpegts_m2ts_mode", "1", 0);
    const int error = avformat_write_header(output, &options);
    av_dict_free(&options);
    if (error < 0) {
        failLine("cannot start the %s file \"%s\": %s", plan.container->name, plan.outputName.c_str(),
                 errorText(error).c_str());
        return false;
    }
    return true;
}

} // namespace tz
