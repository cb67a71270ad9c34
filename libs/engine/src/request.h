// One conversion call: the texts as the caller gave them, and the checked plan.
#pragma once

#include "quilo/window_port.h"
#include "settings.h"
#include "values.h"

#include <string>
#include <vector>

namespace tz {

// The arguments of a conversion entry point, before any checking. Entry points
// that lack an argument leave it empty (AudioCodec: the container's usual codec).
struct ConversionRequest {
    const char* entryPoint = "";
    const QuiloWindowPort* window = nullptr;
    std::vector<std::string> files;
    std::string startTime, audioSampleRate, videoAspect, videoFormat, outFileFormat, videoBitRate,
        audioBitrate, sizeBeforePad, videoResolution, albumName, artistName, genreName, videoFrameRate,
        audioLanguage, subtitleLanguage, outputName, audioVolume, duration, audioCodec;
    bool audioOnly = false;
    bool highQuality = false;
    int dvdStandard = 0; // 0 none, 1 NTSC, 2 PAL
};

// The request with every value checked and turned into numbers.
struct ConversionPlan {
    std::vector<std::string> files;
    std::string outputName;
    double startSeconds = 0;
    double durationSeconds = 0; // 0 = to the end
    const ContainerSpec* container = nullptr;
    const VideoCodecSpec* videoCodec = nullptr; // nullptr for audio-only calls
    const AudioCodecSpec* audioCodec = nullptr;
    int videoKbps = 0;
    int audioKbps = 0;
    int sampleRate = 0; // 0 = the source rate
    int pictureWidth = 0, pictureHeight = 0;
    int frameWidth = 0, frameHeight = 0;
    bool keepPictureAspect = true;  // "1:1": square output pixels
    AVRational displayAspect{0, 1}; // otherwise the frame's display aspect
    bool frameRateAuto = true;
    AVRational frameRate{0, 1};
    bool audioDefault = true;
    int audioId = -1;
    double volumeDb = 0;
    std::string album, artist, genre;
    bool highQuality = false;
    int dvdStandard = 0;
    GlobalSettings global;
};

// Checks every value; logs the first bad one (naming the argument) and returns false.
bool makePlan(const ConversionRequest& request, const GlobalSettings& global, ConversionPlan& plan);

// The conversion itself: 0 done or stopped, -1 failure.
int runConversion(const ConversionRequest& request);

} // namespace tz
