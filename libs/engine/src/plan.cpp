// Turns the texts of a conversion call into a checked plan.
#include "log.h"
#include "request.h"

namespace tz {
namespace {

bool bad(const ConversionRequest& request, const char* argument, const std::string& value, const char* why) {
    failLine("%s: %s \"%s\" %s", request.entryPoint, argument, value.c_str(), why);
    return false;
}

bool dvdFrameSize(int width, int height, bool pal) {
    const int full = pal ? 576 : 480, half = pal ? 288 : 240;
    return (height == full && (width == 720 || width == 704 || width == 352)) ||
           (height == half && width == 352);
}

} // namespace

bool makePlan(const ConversionRequest& request, const GlobalSettings& global, ConversionPlan& plan) {
    plan = {};
    plan.global = global;
    plan.highQuality = request.highQuality;
    plan.dvdStandard = request.dvdStandard;
    plan.album = request.albumName;
    plan.artist = request.artistName;
    plan.genre = request.genreName;

    if (request.files.empty())
        return bad(request, "input files", "", "missing");
    for (const auto& file : request.files)
        if (file.empty())
            return bad(request, "input files", file, "contain an empty path");
    plan.files = request.files;
    if (trim(request.outputName).empty())
        return bad(request, "OutputName", request.outputName, "is empty");
    plan.outputName = request.outputName;

    // Times are counted in microseconds later on: keep them well inside that range.
    constexpr double kLongestSeconds = 1e9;
    if (!parseDecimal(request.startTime, plan.startSeconds) || plan.startSeconds < 0 ||
        plan.startSeconds > kLongestSeconds)
        return bad(request, "StartTime", request.startTime, "is not a number of seconds");
    if (!parseDecimal(request.duration, plan.durationSeconds) || plan.durationSeconds < 0 ||
        plan.durationSeconds > kLongestSeconds)
        return bad(request, "Duration", request.duration, "is not a number of seconds");

    // Container and audio codec.
    if (request.audioOnly) {
        plan.container = audioContainerForPath(request.outputName);
        if (!plan.container && !request.audioCodec.empty())
            plan.container = audioContainerForCodec(request.audioCodec);
        if (!plan.container)
            return bad(request, "AudioCodec", request.audioCodec, "is not an audio codec the engine writes");
    } else {
        plan.container = findContainer(request.outFileFormat);
        if (!plan.container)
            return bad(request, "OutFileFormat", request.outFileFormat,
                       "is not a container the engine writes");
    }
    const std::string audioCodec =
        request.audioCodec.empty() ? plan.container->defaultAudio : request.audioCodec;
    plan.audioCodec = findAudioCodec(audioCodec);
    if (!plan.audioCodec)
        return bad(request, "AudioCodec", audioCodec, "is not an audio codec the engine knows");

    if (!parseInt(request.audioSampleRate, plan.sampleRate) || plan.sampleRate < 0 ||
        plan.sampleRate > 384000)
        return bad(request, "AudioSampleRate", request.audioSampleRate, "is not a sample rate in Hz");
    if (!parseInt(request.audioBitrate, plan.audioKbps) || plan.audioKbps <= 0 || plan.audioKbps > 3000)
        return bad(request, "AudioBitrate", request.audioBitrate, "is not a bit rate in kbit/s");
    if (!parseDecimal(request.audioVolume, plan.volumeDb) || plan.volumeDb < 0 || plan.volumeDb > 10)
        return bad(request, "AudioVolume", request.audioVolume, "is not a volume step from 0 to 10");
    if (!parseInt(request.audioLanguage, plan.audioId))
        return bad(request, "AudioLanguage", request.audioLanguage, "is not a stream id");
    plan.audioDefault = plan.audioId < 0;

    if (request.audioOnly || plan.container->audioOnly)
        return true;

    plan.videoCodec = findVideoCodec(request.videoFormat);
    if (!plan.videoCodec)
        return bad(request, "VideoFormat", request.videoFormat, "is not a video codec the engine knows");
    if (!parseInt(request.videoBitRate, plan.videoKbps) || plan.videoKbps <= 0 || plan.videoKbps > 200000)
        return bad(request, "VideoBitRate", request.videoBitRate, "is not a bit rate in kbit/s");
    if (!parseSize(request.sizeBeforePad, plan.pictureWidth, plan.pictureHeight))
        return bad(request, "Out_Size_X_Y_BeforPad", request.sizeBeforePad, "is not a size W:H");
    if (!parseSize(request.videoResolution, plan.frameWidth, plan.frameHeight))
        return bad(request, "VideoResolution", request.videoResolution, "is not a size W:H");
    if (plan.frameWidth > kLargestSide || plan.frameHeight > kLargestSide)
        return bad(request, "VideoResolution", request.videoResolution,
                   "is larger than 16384 x 16384 pixels, the largest picture the engine makes");
    if (plan.pictureWidth > plan.frameWidth || plan.pictureHeight > plan.frameHeight)
        return bad(request, "Out_Size_X_Y_BeforPad", request.sizeBeforePad, "is larger than VideoResolution");

    if (trim(request.videoAspect) == "1:1") {
        plan.keepPictureAspect = true;
    } else {
        plan.keepPictureAspect = false;
        if (!parseRational(request.videoAspect, plan.displayAspect))
            return bad(request, "VideoAspect", request.videoAspect, "is not a display aspect");
    }

    if (trim(request.videoFrameRate) == "Auto") {
        plan.frameRateAuto = true;
    } else {
        plan.frameRateAuto = false;
        if (!parseRational(request.videoFrameRate, plan.frameRate) || av_q2d(plan.frameRate) > 300)
            return bad(request, "VideoFrameRate", request.videoFrameRate, "is not a frame rate");
    }

    if (std::string_view(plan.videoCodec->name) == "h263") {
        const int w = plan.frameWidth, h = plan.frameHeight;
        const bool standard = (w == 128 && h == 96) || (w == 176 && h == 144) || (w == 352 && h == 288) ||
                              (w == 704 && h == 576) || (w == 1408 && h == 1152);
        if (!standard)
            return bad(request, "VideoResolution", request.videoResolution,
                       "is not an H.263 size (128:96, 176:144, 352:288, 704:576, 1408:1152)");
    }

    if (std::string_view(plan.videoCodec->name) == "dvd") {
        // The standard decides; without one the frame height does.
        const bool pal = plan.dvdStandard == 2 || (plan.dvdStandard != 1 && (plan.frameHeight % 288) == 0);
        plan.dvdStandard = pal ? 2 : 1;
        if (!dvdFrameSize(plan.frameWidth, plan.frameHeight, pal))
            return bad(request, "VideoResolution", request.videoResolution,
                       pal ? "is not a PAL DVD frame size" : "is not an NTSC DVD frame size");
        const AVRational dvdRate = pal ? AVRational{25, 1} : AVRational{30000, 1001};
        if (plan.frameRateAuto || av_cmp_q(plan.frameRate, dvdRate) != 0) {
            if (!plan.frameRateAuto)
                logLine("%s: VideoFrameRate \"%s\" becomes %d/%d for a %s DVD", request.entryPoint,
                        request.videoFrameRate.c_str(), dvdRate.num, dvdRate.den, pal ? "PAL" : "NTSC");
            plan.frameRateAuto = false;
            plan.frameRate = dvdRate;
        }
        if (plan.videoKbps > 9800) {
            logLine("%s: VideoBitRate %d kbit/s is above the DVD limit, using 9800", request.entryPoint,
                    plan.videoKbps);
            plan.videoKbps = 9800;
        }
        const bool dvdAspect = !plan.keepPictureAspect && (av_cmp_q(plan.displayAspect, {4, 3}) == 0 ||
                                                           av_cmp_q(plan.displayAspect, {16, 9}) == 0);
        if (!dvdAspect)
            return bad(request, "VideoAspect", request.videoAspect,
                       "is not a DVD display aspect (4:3 or 16:9)");
    }
    return true;
}

} // namespace tz
