#include "filters.h"

#include "log.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <cstdio>
#include <string>

namespace tz {
namespace {

struct InOutList {
    AVFilterInOut* list = nullptr;
    ~InOutList() { avfilter_inout_free(&list); }
    void add(const char* name, AVFilterContext* filter) {
        AVFilterInOut* entry = avfilter_inout_alloc();
        entry->name = av_strdup(name);
        entry->filter_ctx = filter;
        entry->pad_idx = 0;
        entry->next = list;
        list = entry;
    }
};

std::string format(const char* pattern, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

// Cut both streams at the same points of the one timeline, then start it at 0.
std::string trimFilters(const ConversionPlan& plan, bool audio) {
    std::string chain;
    const char* prefix = audio ? "a" : "";
    if (plan.startSeconds > 0 || plan.durationSeconds > 0) {
        chain += format("%strim=start=%.6f", prefix, plan.startSeconds);
        if (plan.durationSeconds > 0)
            chain += format(":end=%.6f", plan.startSeconds + plan.durationSeconds);
        chain += ",";
    }
    chain += format("%ssetpts=PTS-%.6f/TB,", prefix, plan.startSeconds);
    return chain;
}

bool finish(FilterGraph& out, const std::string& description, InOutList& outputs, InOutList& inputs,
            const char* kind) {
    int error =
        avfilter_graph_parse_ptr(out.graph.get(), description.c_str(), &inputs.list, &outputs.list, nullptr);
    if (error >= 0)
        error = avfilter_graph_config(out.graph.get(), nullptr);
    if (error < 0) {
        failLine("cannot set up the %s filters \"%s\": %s", kind, description.c_str(),
                 errorText(error).c_str());
        return false;
    }
    return true;
}

} // namespace

bool buildVideoGraph(const ConversionPlan& plan, const VideoSource& source, AVRational frameRate,
                     AVPixelFormat outputFormat, int threads, FilterGraph& out) {
    out.graph.reset(avfilter_graph_alloc());
    if (!out.graph)
        return false;
    out.graph->nb_threads = threads;
    const AVRational sar = source.sampleAspect.num > 0 ? source.sampleAspect : AVRational{1, 1};
    const std::string sourceArgs =
        format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", source.width, source.height,
               static_cast<int>(source.format), source.timeBase.num, source.timeBase.den, sar.num, sar.den);
    if (avfilter_graph_create_filter(&out.source, avfilter_get_by_name("buffer"), "in", sourceArgs.c_str(),
                                     nullptr, out.graph.get()) < 0 ||
        avfilter_graph_create_filter(&out.sink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                     out.graph.get()) < 0) {
        failLine("cannot create the video filter ends");
        return false;
    }

    std::string chain = trimFilters(plan, false);
    if (plan.global.deinterlace)
        chain += "yadif,";
    const CropRect& crop = plan.global.crop;
    if (crop.enabled) {
        // Keep the rectangle inside the picture: a crop past the edge would fail the clip.
        const int x = std::clamp(crop.x, 0, source.width - 2), y = std::clamp(crop.y, 0, source.height - 2);
        const int w = std::clamp(crop.width, 2, source.width - x),
                  h = std::clamp(crop.height, 2, source.height - y);
        if (x != crop.x || y != crop.y || w != crop.width || h != crop.height)
            logLine("crop %d:%d at %d,%d reaches outside the %dx%d picture, using %d:%d at %d,%d", crop.width,
                    crop.height, crop.x, crop.y, source.width, source.height, w, h, x, y);
        if (w != source.width || h != source.height)
            chain += format("crop=%d:%d:%d:%d:exact=1,", w, h, x, y);
    }
    chain += format("scale=%d:%d:flags=bicubic,", plan.pictureWidth, plan.pictureHeight);
    if (plan.pictureWidth != plan.frameWidth || plan.pictureHeight != plan.frameHeight)
        chain += format("pad=%d:%d:%d:%d:black,", plan.frameWidth, plan.frameHeight,
                        (plan.frameWidth - plan.pictureWidth) / 2 & ~1,
                        (plan.frameHeight - plan.pictureHeight) / 2 & ~1);
    if (plan.keepPictureAspect)
        chain += "setsar=1,";
    else
        chain += format("setdar=%d/%d,", plan.displayAspect.num, plan.displayAspect.den);
    chain += format("fps=fps=%d/%d:start_time=0", frameRate.num, frameRate.den);

    InOutList outputs, inputs;
    outputs.add("in", out.source);
    inputs.add("out", out.sink);
    std::string description = "[in]" + chain;
    if (!plan.global.watermarkPath.empty()) {
        AVFilterContext* movie =
            avfilter_graph_alloc_filter(out.graph.get(), avfilter_get_by_name("movie"), "wm");
        if (!movie ||
            av_opt_set(movie, "filename", localFileUrl(plan.global.watermarkPath).c_str(),
                       AV_OPT_SEARCH_CHILDREN) < 0 ||
            avfilter_init_str(movie, nullptr) < 0) {
            failLine("cannot read the watermark picture \"%s\"", plan.global.watermarkPath.c_str());
            return false;
        }
        outputs.add("wm", movie);
        description +=
            format("[main];[main][wm]overlay=%d:%d,", plan.global.watermarkX, plan.global.watermarkY);
    } else {
        description += ",";
    }
    description += format("format=pix_fmts=%s[out]", av_get_pix_fmt_name(outputFormat));
    return finish(out, description, outputs, inputs, "video");
}

bool buildAudioGraph(const ConversionPlan& plan, const AudioSource& source, int sampleRate,
                     AVSampleFormat outputFormat, const AVChannelLayout& layout, int frameSize,
                     FilterGraph& out) {
    out.graph.reset(avfilter_graph_alloc());
    if (!out.graph)
        return false;
    char sourceLayout[128] = {}, outputLayout[128] = {};
    av_channel_layout_describe(&source.layout, sourceLayout, sizeof sourceLayout);
    av_channel_layout_describe(&layout, outputLayout, sizeof outputLayout);
    const std::string sourceArgs =
        format("time_base=%d/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s", source.timeBase.num,
               source.timeBase.den, source.sampleRate, av_get_sample_fmt_name(source.format), sourceLayout);
    if (avfilter_graph_create_filter(&out.source, avfilter_get_by_name("abuffer"), "in", sourceArgs.c_str(),
                                     nullptr, out.graph.get()) < 0 ||
        avfilter_graph_create_filter(&out.sink, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                     out.graph.get()) < 0) {
        failLine("cannot create the audio filter ends (%s)", sourceArgs.c_str());
        return false;
    }
    std::string chain = "[in]" + trimFilters(plan, true);
    // Damaged timestamps: stretch, pad or cut the audio to the timeline.
    if (plan.global.forceSync)
        chain += "aresample=async=1:min_hard_comp=0.100000:first_pts=0,";
    if (plan.volumeDb > 0)
        chain += format("volume=%.2fdB,", plan.volumeDb);
    chain += format("aformat=sample_fmts=%s:sample_rates=%d:channel_layouts=%s[out]",
                    av_get_sample_fmt_name(outputFormat), sampleRate, outputLayout);
    InOutList outputs, inputs;
    outputs.add("in", out.source);
    inputs.add("out", out.sink);
    if (!finish(out, chain, outputs, inputs, "audio"))
        return false;
    if (frameSize > 0)
        av_buffersink_set_frame_size(out.sink, static_cast<unsigned>(frameSize));
    return true;
}

} // namespace tz
