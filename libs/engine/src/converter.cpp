// The conversion: every input part read in order as one timeline. Reading and
// decoding, the filters, the video encoder and the audio encoder each run on a
// thread of their own, joined by small bounded queues; every stage flushes into
// the next at the end. The calling thread sets up, waits and closes the file.
#include "converter.h"

#include "bounded_queue.h"
#include "encoders.h"
#include "filter_stage.h"
#include "filters.h"
#include "log.h"
#include "media.h"
#include "muxer.h"
#include "output.h"
#include "pipeline_control.h"
#include "progress.h"
#include "request.h"
#include "stream_encoder.h"
#include "thread_name.h"
#include "timestamp_guard.h"
#include "tranzel.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

namespace tz {
namespace {

std::mutex conversionLock; // one conversion at a time
std::atomic<bool> stopRequested{false};
// The running conversion's control, halted by X_StopConvert from any thread.
std::mutex runningLock;
PipelineControl* runningControl = nullptr;

constexpr int kTimelineHz = AV_TIME_BASE; // the joined timeline counts microseconds

// Queue sizes: enough to keep every thread busy, few enough that frames do not
// pile up between stages (a 1080p picture is 3 MB).
constexpr std::size_t kDecodedFrames = 8;
constexpr std::size_t kFilteredPictures = 4;
constexpr std::size_t kFilteredSounds = 32;

struct Part {
    std::string path;
    InputPtr input;
    int video = -1, audio = -1;
    int64_t startUs = 0;
    int64_t durationUs = 0; // 0 when the container does not say
};

struct OutStream {
    CodecPtr encoder;
    AVStream* stream = nullptr;
    FilterGraph graph;
    bool pastEnd = false;
    int64_t lastTimelineUs = AV_NOPTS_VALUE;
    int64_t fedEndUs = AV_NOPTS_VALUE; // end of the last frame given to the filters
    TimestampGuard timestamps;
};

class Converter {
public:
    explicit Converter(const ConversionPlan& plan) : plan_(plan) {
        for (Haltable* queue : std::initializer_list<Haltable*>{&decoded_, &pictures_, &sounds_})
            control_.watch(*queue);
    }
    ~Converter() { av_channel_layout_uninit(&audioSource_.layout); }
    int run(const QuiloWindowPort* window);
    PipelineControl& control() { return control_; }

private:
    bool openParts();
    bool openDecoders(Part& part);
    bool setUpVideo(const Part* part); // null: a black picture for a source without one
    bool feedBlankPicture(int64_t timelineUs, int64_t endUs);
    bool makeBlankPicture();
    bool setUpAudio(const Part& part);
    bool readPart(Part& part, int64_t seekToUs);
    bool decode(AVCodecContext* decoder, const AVPacket* packet, Part& part, bool video);
    bool takeFrame(AVFrame* frame, Part& part, bool video);
    bool normaliseVideo(AVFrame*& frame);
    bool normaliseAudio(AVFrame*& frame);
    // Hands a frame to the filter thread; waits while its queue is full.
    void pass(bool video, FramePtr frame);
    bool readAll(std::size_t firstPart, int64_t startUs, int64_t before);
    bool halted() const { return control_.halted(); }

    const ConversionPlan& plan_;
    PipelineControl control_;
    // Members, so that a late X_StopConvert never meets a queue that is gone.
    BoundedQueue<DecodedFrame> decoded_{kDecodedFrames};
    BoundedQueue<FramePtr> pictures_{kFilteredPictures}, sounds_{kFilteredSounds};
    std::vector<Part> parts_;
    OutputPtr output_;
    OutStream video_, audio_;
    bool hasVideo_ = false, hasAudio_ = false;
    FramePtr blank_; // the black picture of a source without pictures
    VideoSource videoSource_;
    AudioSource audioSource_;
    CodecPtr videoDecoder_, audioDecoder_;
    SwsPtr videoFix_;
    SwrPtr audioFix_;
    FramePtr frame_ = makeFrame(), fixed_ = makeFrame();
    PacketPtr packet_ = makePacket();
    int64_t offsetUs_ = 0;       // timeline position of the current part's start
    int64_t partEndUs_ = 0;      // furthest frame end of the current part, from its start
    int64_t partVideoEndUs_ = 0; // the same for video alone: video sets the pace of the timeline
    int64_t endUs_ = 0;          // timeline end of the range, 0 = none
    double segmentSeconds_ = 0;
    int damagedPackets_ = 0;
};

bool Converter::openParts() {
    for (const auto& path : plan_.files) {
        Part part;
        part.path = path;
        part.input = openMedia(path);
        if (!part.input)
            return false;
        part.startUs = startMicros(part.input.get());
        part.durationUs = part.input->duration > 0 ? part.input->duration : 0;
        if (plan_.videoCodec)
            part.video = chooseVideoStream(part.input.get(), plan_.global.videoStreamId);
        part.audio = chooseAudioStream(part.input.get(), plan_.audioDefault ? -1 : plan_.audioId, part.video);
        if (!plan_.audioDefault && part.audio < 0) {
            // Without any sound the pictures are the clip; with sound, the wrong one is not.
            if (chooseAudioStream(part.input.get(), -1, part.video) >= 0) {
                failLine("\"%s\" has no audio stream with the id %d", path.c_str(), plan_.audioId);
                return false;
            }
            logLine("\"%s\" has no audio: converting its pictures alone", path.c_str());
        }
        parts_.push_back(std::move(part));
    }
    return true;
}

bool Converter::openDecoders(Part& part) {
    videoDecoder_.reset();
    audioDecoder_.reset();
    if (hasVideo_ && part.video >= 0)
        videoDecoder_ = openDecoder(part.input->streams[part.video], plan_.global.threads);
    if (hasAudio_ && part.audio >= 0)
        audioDecoder_ = openDecoder(part.input->streams[part.audio], plan_.global.threads);
    return true;
}

bool Converter::setUpVideo(const Part* part) {
    AVStream* stream = part ? part->input->streams[part->video] : nullptr;
    const AVCodec* codec = avcodec_find_encoder_by_name(plan_.videoCodec->encoder);
    if (!codec) {
        failLine("the %s encoder is not available", plan_.videoCodec->encoder);
        return false;
    }
    if (!containerHolds(output_.get(), codec, plan_.videoCodec->name))
        return false;
    AVRational rate;
    const AVRational sourceRate =
        stream ? av_guess_frame_rate(part->input.get(), stream, nullptr) : AVRational{0, 1};
    if (!chooseFrameRate(plan_, codec, sourceRate, rate))
        return false;
    const AVPixelFormat format = choosePixelFormat(plan_, codec);

    if (stream) {
        videoSource_.width = stream->codecpar->width;
        videoSource_.height = stream->codecpar->height;
        videoSource_.format = videoDecoder_ && videoDecoder_->pix_fmt != AV_PIX_FMT_NONE
                                  ? videoDecoder_->pix_fmt
                                  : static_cast<AVPixelFormat>(stream->codecpar->format);
        videoSource_.sampleAspect = av_guess_sample_aspect_ratio(part->input.get(), stream, nullptr);
    } else {
        videoSource_.width = plan_.pictureWidth;
        videoSource_.height = plan_.pictureHeight;
        videoSource_.format = AV_PIX_FMT_YUV420P;
        videoSource_.sampleAspect = {1, 1};
    }
    if (videoSource_.format == AV_PIX_FMT_NONE)
        videoSource_.format = AV_PIX_FMT_YUV420P; // frames are converted to it if they differ
    videoSource_.timeBase = {1, kTimelineHz};
    if (!buildVideoGraph(plan_, videoSource_, rate, format, plan_.global.threads, video_.graph))
        return false;

    const bool globalHeader = output_->oformat->flags & AVFMT_GLOBALHEADER;
    const AVFieldOrder fieldOrder =
        plan_.global.deinterlace || !stream ? AV_FIELD_PROGRESSIVE : stream->codecpar->field_order;
    video_.encoder = openVideoEncoder(
        plan_, codec, av_buffersink_get_w(video_.graph.sink), av_buffersink_get_h(video_.graph.sink),
        av_buffersink_get_sample_aspect_ratio(video_.graph.sink), rate, format, fieldOrder, globalHeader);
    if (!video_.encoder)
        return false;
    video_.stream = avformat_new_stream(output_.get(), nullptr);
    if (!video_.stream || avcodec_parameters_from_context(video_.stream->codecpar, video_.encoder.get()) < 0)
        return false;
    video_.stream->time_base = video_.encoder->time_base;
    video_.stream->avg_frame_rate = rate;
    video_.stream->sample_aspect_ratio = video_.encoder->sample_aspect_ratio;
    if (video_.encoder->codec_tag == 0)
        video_.stream->codecpar->codec_tag = 0;
    return true;
}

bool Converter::setUpAudio(const Part& part) {
    AVStream* stream = part.input->streams[part.audio];
    const AVCodec* codec = avcodec_find_encoder_by_name(plan_.audioCodec->encoder);
    if (!codec) {
        failLine("the %s encoder is not available", plan_.audioCodec->encoder);
        return false;
    }
    if (!containerHolds(output_.get(), codec, plan_.audioCodec->name))
        return false;
    AVCodecContext* decoder = audioDecoder_.get();
    audioSource_.sampleRate = decoder ? decoder->sample_rate : stream->codecpar->sample_rate;
    audioSource_.format = decoder && decoder->sample_fmt != AV_SAMPLE_FMT_NONE
                              ? decoder->sample_fmt
                              : static_cast<AVSampleFormat>(stream->codecpar->format);
    if (audioSource_.format == AV_SAMPLE_FMT_NONE)
        audioSource_.format = AV_SAMPLE_FMT_FLTP;
    const AVChannelLayout& sourceLayout = decoder ? decoder->ch_layout : stream->codecpar->ch_layout;
    if (sourceLayout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&audioSource_.layout, sourceLayout.nb_channels);
    else
        av_channel_layout_copy(&audioSource_.layout, &sourceLayout);
    audioSource_.timeBase = {1, audioSource_.sampleRate};

    int rate = 0;
    AVChannelLayout layout{};
    AVSampleFormat format = AV_SAMPLE_FMT_NONE;
    const bool chosen =
        chooseAudioFormat(plan_, codec, audioSource_.sampleRate, audioSource_.layout, rate, layout, format);
    if (chosen)
        audio_.encoder = openAudioEncoder(plan_, codec, rate, layout, format,
                                          output_->oformat->flags & AVFMT_GLOBALHEADER);
    const int frameSize = audio_.encoder && !(codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)
                              ? audio_.encoder->frame_size
                              : 0;
    const bool built =
        audio_.encoder && buildAudioGraph(plan_, audioSource_, rate, format, layout, frameSize, audio_.graph);
    av_channel_layout_uninit(&layout);
    if (!built)
        return false;
    audio_.stream = avformat_new_stream(output_.get(), nullptr);
    if (!audio_.stream || avcodec_parameters_from_context(audio_.stream->codecpar, audio_.encoder.get()) < 0)
        return false;
    audio_.stream->time_base = audio_.encoder->time_base;
    return true;
}

void Converter::pass(bool video, FramePtr frame) {
    // A halt drops the frame: the loops around notice it and end.
    decoded_.push({video, std::move(frame), 0});
}

bool Converter::normaliseVideo(AVFrame*& frame) {
    if (frame->width == videoSource_.width && frame->height == videoSource_.height &&
        frame->format == videoSource_.format)
        return true;
    // A later part with another picture format: bring it to the first part's.
    videoFix_.reset(sws_getCachedContext(videoFix_.release(), frame->width, frame->height,
                                         static_cast<AVPixelFormat>(frame->format), videoSource_.width,
                                         videoSource_.height, videoSource_.format, SWS_BICUBIC, nullptr,
                                         nullptr, nullptr));
    av_frame_unref(fixed_.get());
    fixed_->width = videoSource_.width;
    fixed_->height = videoSource_.height;
    fixed_->format = videoSource_.format;
    if (!videoFix_ || av_frame_get_buffer(fixed_.get(), 0) < 0)
        return false;
    av_frame_copy_props(fixed_.get(), frame);
    sws_scale(videoFix_.get(), frame->data, frame->linesize, 0, frame->height, fixed_->data,
              fixed_->linesize);
    frame = fixed_.get();
    return true;
}

bool Converter::normaliseAudio(AVFrame*& frame) {
    if (frame->sample_rate == audioSource_.sampleRate && frame->format == audioSource_.format &&
        av_channel_layout_compare(&frame->ch_layout, &audioSource_.layout) == 0)
        return true;
    if (frame->sample_rate == audioSource_.sampleRate && frame->format == audioSource_.format &&
        frame->ch_layout.nb_channels == audioSource_.layout.nb_channels) {
        // Same channels, only described differently.
        av_channel_layout_uninit(&frame->ch_layout);
        av_channel_layout_copy(&frame->ch_layout, &audioSource_.layout);
        return true;
    }
    av_frame_unref(fixed_.get());
    fixed_->sample_rate = audioSource_.sampleRate;
    fixed_->format = audioSource_.format;
    av_channel_layout_copy(&fixed_->ch_layout, &audioSource_.layout);
    AVChannelLayout inLayout{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&inLayout, frame->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&inLayout, &frame->ch_layout);
    SwrContext* raw = nullptr;
    const int error = swr_alloc_set_opts2(
        &raw, &audioSource_.layout, audioSource_.format, audioSource_.sampleRate, &inLayout,
        static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    audioFix_.reset(raw);
    if (error < 0 || swr_init(audioFix_.get()) < 0)
        return false;
    if (swr_convert_frame(audioFix_.get(), fixed_.get(), frame) < 0)
        return false;
    fixed_->pts = av_rescale_q(frame->pts, {1, frame->sample_rate}, {1, audioSource_.sampleRate});
    frame = fixed_.get();
    return true;
}

bool Converter::takeFrame(AVFrame* frame, Part& part, bool video) {
    AVStream* stream = part.input->streams[video ? part.video : part.audio];
    OutStream& out = video ? video_ : audio_;
    int64_t pts = frame->best_effort_timestamp;
    int64_t timelineUs;
    if (pts == AV_NOPTS_VALUE) {
        if (out.lastTimelineUs == AV_NOPTS_VALUE)
            return true; // nothing to place it by
        timelineUs = out.lastTimelineUs + 1;
    } else {
        const int jumps = out.timestamps.discontinuities();
        timelineUs = out.timestamps.place(offsetUs_ - part.startUs,
                                          av_rescale_q(pts, stream->time_base, AV_TIME_BASE_Q));
        if (out.timestamps.discontinuities() != jumps && jumps < 5)
            logLine("the %s timestamps of \"%s\" jump by %.1f s: taken for a discontinuity",
                    video ? "video" : "audio", part.path.c_str(),
                    static_cast<double>(out.timestamps.lastJumpUs()) / AV_TIME_BASE);
    }
    int64_t durationUs = 0;
    if (video)
        durationUs = frame->pkt_duration > 0
                         ? av_rescale_q(frame->pkt_duration, stream->time_base, AV_TIME_BASE_Q)
                         : 0;
    else if (frame->sample_rate > 0)
        durationUs = av_rescale(frame->nb_samples, AV_TIME_BASE, frame->sample_rate);
    partEndUs_ = std::max(partEndUs_, timelineUs - offsetUs_ + durationUs);
    if (video)
        partVideoEndUs_ = std::max(partVideoEndUs_, timelineUs - offsetUs_ + durationUs);
    out.lastTimelineUs = timelineUs;
    out.timestamps.frameEnds(timelineUs + durationUs);
    if (endUs_ > 0 && timelineUs >= endUs_) {
        out.pastEnd = true;
        if (blank_)
            video_.pastEnd = true;
        return true;
    }

    AVFrame* input = frame;
    if (!(video ? normaliseVideo(input) : normaliseAudio(input))) {
        failLine("cannot convert a %s frame of \"%s\"", video ? "video" : "audio", part.path.c_str());
        return false;
    }
    input->pts = video ? timelineUs : av_rescale(timelineUs, audioSource_.sampleRate, AV_TIME_BASE);
    out.fedEndUs = timelineUs + durationUs;
    // The decoded picture moves on as it is: no copy between the stages.
    FramePtr moved = makeFrame();
    av_frame_move_ref(moved.get(), input);
    pass(video, std::move(moved));
    return !blank_ || feedBlankPicture(timelineUs, timelineUs + durationUs);
}

bool Converter::makeBlankPicture() {
    blank_ = makeFrame();
    blank_->width = plan_.pictureWidth;
    blank_->height = plan_.pictureHeight;
    blank_->format = AV_PIX_FMT_YUV420P;
    if (av_frame_get_buffer(blank_.get(), 0) < 0) {
        failLine("no memory for a %dx%d picture", plan_.pictureWidth, plan_.pictureHeight);
        return false;
    }
    const ptrdiff_t linesizes[4] = {blank_->linesize[0], blank_->linesize[1], blank_->linesize[2], 0};
    av_image_fill_black(blank_->data, linesizes, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG, blank_->width,
                        blank_->height);
    return setUpVideo(nullptr);
}

bool Converter::feedBlankPicture(int64_t timelineUs, int64_t endUs) {
    // One picture per piece of sound, at its time: the frame-rate filter
    // repeats it up to the next, so the pictures keep pace with the sound.
    if (video_.lastTimelineUs != AV_NOPTS_VALUE && timelineUs <= video_.lastTimelineUs)
        return true;
    video_.lastTimelineUs = timelineUs;
    video_.fedEndUs = endUs;
    FramePtr picture(av_frame_clone(blank_.get())); // shares the black picture's pixels
    if (!picture) {
        failLine("no memory for a %dx%d picture", plan_.pictureWidth, plan_.pictureHeight);
        return false;
    }
    picture->pts = timelineUs;
    pass(true, std::move(picture));
    return true;
}

bool Converter::decode(AVCodecContext* decoder, const AVPacket* packet, Part& part, bool video) {
    int error = avcodec_send_packet(decoder, packet);
    if (error < 0 && error != AVERROR_EOF) {
        // A damaged packet: skip it and go on with the next ones.
        if (damagedPackets_++ < 5)
            logLine("skipping a damaged packet of \"%s\": %s", part.path.c_str(), errorText(error).c_str());
        return true;
    }
    while (!halted()) {
        error = avcodec_receive_frame(decoder, frame_.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return true;
        if (error < 0) {
            if (damagedPackets_++ < 5)
                logLine("decoding error in \"%s\": %s", part.path.c_str(), errorText(error).c_str());
            return true;
        }
        const bool taken = takeFrame(frame_.get(), part, video);
        av_frame_unref(frame_.get());
        if (!taken)
            return false;
    }
    return true;
}

bool Converter::readPart(Part& part, int64_t seekToUs) {
    openDecoders(part);
    partEndUs_ = partVideoEndUs_ = 0;
    // A seek lands on a keyframe before the start, possibly long before it.
    const int64_t slackUs = seekToUs > 0 ? 60 * int64_t{AV_TIME_BASE} : TimestampGuard::JumpLimitUs;
    for (OutStream* out : {&video_, &audio_})
        out->timestamps.startPart(offsetUs_ + seekToUs, slackUs);
    if (seekToUs > 0) {
        // Back to a keyframe a little before the start; the trim filters drop
        // what comes before it, from both streams at the same point.
        const int64_t target = part.startUs + std::max<int64_t>(0, seekToUs - AV_TIME_BASE);
        if (avformat_seek_file(part.input.get(), -1, INT64_MIN, target, target, 0) < 0)
            logLine("cannot seek in \"%s\", reading from its start", part.path.c_str());
    }
    while (!halted()) {
        const int error = av_read_frame(part.input.get(), packet_.get());
        if (error == AVERROR(EAGAIN))
            continue;
        if (error < 0) {
            if (error != AVERROR_EOF)
                logLine("reading \"%s\" stopped: %s", part.path.c_str(), errorText(error).c_str());
            break;
        }
        bool ok = true;
        if (videoDecoder_ && packet_->stream_index == part.video)
            ok = decode(videoDecoder_.get(), packet_.get(), part, true);
        else if (audioDecoder_ && packet_->stream_index == part.audio)
            ok = decode(audioDecoder_.get(), packet_.get(), part, false);
        av_packet_unref(packet_.get());
        if (!ok)
            return false;
        if ((!hasVideo_ || video_.pastEnd) && (!hasAudio_ || audio_.pastEnd))
            break;
    }
    if (halted())
        return true;
    if (videoDecoder_ && !decode(videoDecoder_.get(), nullptr, part, true))
        return false;
    if (audioDecoder_ && !decode(audioDecoder_.get(), nullptr, part, false))
        return false;
    // The next part continues where this one's last frame ended.
    offsetUs_ += partVideoEndUs_ > 0 ? partVideoEndUs_ : partEndUs_ > 0 ? partEndUs_ : part.durationUs;
    return true;
}

bool Converter::readAll(std::size_t firstPart, int64_t startUs, int64_t before) {
    for (std::size_t i = firstPart; i < parts_.size() && !halted(); ++i) {
        if (!readPart(parts_[i], i == firstPart ? startUs - before : 0))
            return false;
        if ((!hasVideo_ || video_.pastEnd) && (!hasAudio_ || audio_.pastEnd))
            break;
    }
    if (halted())
        return true;
    // Each stream ends where its last frame does.
    for (bool video : {true, false}) {
        const OutStream& out = video ? video_ : audio_;
        if (!out.encoder)
            continue;
        int64_t end = out.fedEndUs == AV_NOPTS_VALUE ? 0 : out.fedEndUs;
        if (!video)
            end = av_rescale(end, audioSource_.sampleRate, AV_TIME_BASE);
        decoded_.push({video, nullptr, end});
    }
    return true;
}

int Converter::run(const QuiloWindowPort* window) {
    if (!openParts())
        return -1;
    const Part& first = parts_.front();
    hasAudio_ = first.audio >= 0;
    // Sound alone on a video target: devices and DVD players want a picture.
    const bool blankVideo = plan_.videoCodec && first.video < 0 && hasAudio_;
    hasVideo_ = plan_.videoCodec && (first.video >= 0 || blankVideo);
    if (blankVideo)
        logLine("\"%s\" has no pictures: a black picture goes with its sound", first.path.c_str());
    if (!hasVideo_ && !hasAudio_) {
        failLine(plan_.videoCodec ? "\"%s\" has neither pictures nor sound to convert"
                                  : "\"%s\" has no sound to convert",
                 first.path.c_str());
        return -1;
    }

    // The part holding the start, and the timeline position of that part.
    const int64_t startUs = static_cast<int64_t>(plan_.startSeconds * AV_TIME_BASE);
    std::size_t firstPart = 0;
    int64_t before = 0;
    while (firstPart + 1 < parts_.size() && parts_[firstPart].durationUs > 0 &&
           before + parts_[firstPart].durationUs <= startUs)
        before += parts_[firstPart++].durationUs;
    offsetUs_ = before;
    endUs_ =
        plan_.durationSeconds > 0 ? startUs + static_cast<int64_t>(plan_.durationSeconds * AV_TIME_BASE) : 0;
    int64_t totalUs = 0;
    for (const auto& part : parts_)
        totalUs += part.durationUs;
    segmentSeconds_ = plan_.durationSeconds > 0 ? plan_.durationSeconds
                                                : static_cast<double>(totalUs - startUs) / AV_TIME_BASE;
    progress::start(segmentSeconds_);

    output_ = createOutput(plan_);
    if (!output_)
        return -1;
    Part& setupPart = parts_[firstPart];
    openDecoders(setupPart);
    if (hasVideo_ && !blankVideo && (setupPart.video < 0 || !setUpVideo(&setupPart)))
        return -1;
    if (blankVideo && !makeBlankPicture())
        return -1;
    if (hasAudio_ && (setupPart.audio < 0 || !setUpAudio(setupPart)))
        return -1;
    if (!startOutput(plan_, output_.get()))
        return -1;

    progress::setEncoding(true);
    quilo_window_port_post(window, TZ_MSG_GRABBER_READY, 0, 0); // the conversion can be stopped from now on

    Muxer muxer(output_.get(), plan_.outputName);
    FilterStage filters(hasVideo_ ? &video_.graph : nullptr, hasAudio_ ? &audio_.graph : nullptr, decoded_,
                        pictures_, sounds_, control_);
    std::optional<StreamEncoder> videoEncoder, audioEncoder;
    if (hasVideo_)
        videoEncoder.emplace(video_.encoder.get(), video_.stream,
                             av_buffersink_get_time_base(video_.graph.sink), false, pictures_, muxer,
                             control_);
    if (hasAudio_)
        audioEncoder.emplace(audio_.encoder.get(), audio_.stream,
                             av_buffersink_get_time_base(audio_.graph.sink), true, sounds_, muxer, control_);
    {
        std::jthread filtering([&] {
            nameThread("tz-filter");
            filters.run();
        });
        std::jthread encodingVideo, encodingAudio;
        if (videoEncoder)
            encodingVideo = std::jthread([&] {
                nameThread("tz-video-enc");
                videoEncoder->run();
            });
        if (audioEncoder)
            encodingAudio = std::jthread([&] {
                nameThread("tz-audio-enc");
                audioEncoder->run();
            });
        std::jthread reading([&] {
            nameThread("tz-read");
            // The failure reasons of this thread reach the caller's through control_.
            if (!readAll(firstPart, startUs, before))
                control_.fail();
            decoded_.close();
        });
    } // every stage has ended and flushed
    // The first reason counts, whichever thread gave it.
    if (control_.failed())
        keepFailure(control_.failure());
    const bool stopped = stopRequested.load();
    if (stopped)
        logLine("stopped at %d seconds", progress::secondsDone());
    const bool finished = muxer.finish();
    if (control_.failed() || !finished)
        return -1;
    if (muxer.packetsWritten() == 0 && !stopped) {
        failLine("nothing was converted: the range starts at %.3f s, after the end of the input",
                 plan_.startSeconds);
        return -1;
    }
    if (!stopped)
        progress::complete();
    return 0;
}

} // namespace

void requestStop() {
    stopRequested.store(true);
    std::lock_guard hold(runningLock);
    if (runningControl)
        runningControl->halt();
}

void readProgress(int info[4]) {
    progress::read(info);
}

int runConversion(const ConversionRequest& request) {
    std::unique_lock guard(conversionLock, std::try_to_lock);
    if (!guard.owns_lock()) {
        logLine("%s: failed: another conversion is running", request.entryPoint);
        return -1;
    }
    clearFailure();
    const GlobalSettings global = currentSettings();
    resetOneShotSettings();
    ConversionPlan plan;
    if (!makePlan(request, global, plan)) {
        logLine("%s: failed: %s", request.entryPoint, firstFailure().c_str());
        return -1;
    }
    logLine("%s: \"%s\" -> \"%s\" (%s, %s, %s)", request.entryPoint, plan.files.front().c_str(),
            plan.outputName.c_str(), plan.container->name,
            plan.videoCodec ? plan.videoCodec->name : "no video", plan.audioCodec->name);
    std::error_code ignored;
    const bool existed = std::filesystem::exists(plan.outputName, ignored);
    int result;
    {
        // On the heap: what the threads share is never stack memory of an
        // earlier call (a thread checker cannot tell such reuse apart).
        const auto converter = std::make_unique<Converter>(plan);
        {
            std::lock_guard hold(runningLock);
            stopRequested.store(false);
            runningControl = &converter->control();
            progress::start(0);
        }
        result = converter->run(request.window);
        std::lock_guard hold(runningLock);
        runningControl = nullptr;
    }
    // A failed conversion leaves no half-written file behind.
    if (result != 0 && !existed)
        std::filesystem::remove(plan.outputName, ignored);
    progress::setEncoding(false);
    if (result == 0)
        logLine("%s: done", request.entryPoint);
    else
        logLine("%s: failed: %s", request.entryPoint,
                firstFailure().empty() ? "the engine gave no reason" : firstFailure().c_str());
    return result;
}

} // namespace tz
