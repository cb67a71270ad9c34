// The exported entry points: each turns its argument list into one request for
// the shared conversion core, or hands over to the loading and grabbing parts.
#include "converter.h"
#include "frames.h"
#include "log.h"
#include "request.h"
#include "settings.h"
#include "tranzel.h"
#include "values.h"

#include <cstring>
#include <mutex>
#include <thread>

#define TZ_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string text(const char* value) {
    return value ? value : "";
}

// The standard list L; the caller adds the tail.
tz::ConversionRequest listL(const char* entryPoint, const QuiloWindowPort* window, const char* const* files,
                            int count, const char* StartTime, const char* AudioSampleRate,
                            const char* VideoAspect, const char* VideoFormat, const char* OutFileFormat,
                            const char* VideoBitRate, const char* AudioBitrate, const char* sizeBeforePad,
                            const char* VideoResolution, const char* AlbumName, const char* ArtistName,
                            const char* GenreName, const char* VideoFrameRate, const char* AudioLanguage,
                            const char* SubtitleLanguage, const char* OutputName, const char* AudioVolume,
                            const char* Duration) {
    tz::ConversionRequest request;
    request.entryPoint = entryPoint;
    request.window = window;
    for (int i = 0; files && i < count; ++i)
        request.files.push_back(text(files[i]));
    request.startTime = text(StartTime);
    request.audioSampleRate = text(AudioSampleRate);
    request.videoAspect = text(VideoAspect);
    request.videoFormat = text(VideoFormat);
    request.outFileFormat = text(OutFileFormat);
    request.videoBitRate = text(VideoBitRate);
    request.audioBitrate = text(AudioBitrate);
    request.sizeBeforePad = text(sizeBeforePad);
    request.videoResolution = text(VideoResolution);
    request.albumName = text(AlbumName);
    request.artistName = text(ArtistName);
    request.genreName = text(GenreName);
    request.videoFrameRate = text(VideoFrameRate);
    request.audioLanguage = text(AudioLanguage);
    request.subtitleLanguage = text(SubtitleLanguage);
    request.outputName = text(OutputName);
    request.audioVolume = text(AudioVolume);
    request.duration = text(Duration);
    return request;
}

} // namespace

#define TZ_LIST_L(name)                                                                                      \
    (static_cast<void>(mode), static_cast<void>(DVDTitle),                                                   \
     listL(name, window, files, count, StartTime, AudioSampleRate, VideoAspect, VideoFormat, OutFileFormat,  \
           VideoBitRate, AudioBitrate, Out_Size_X_Y_BeforPad, VideoResolution, AlbumName, ArtistName,        \
           GenreName, VideoFrameRate, AudioLanguage, SubtitleLanguage, OutputName, AudioVolume, Duration))

// Entry points of L with the tail HighQuality.
#define TZ_ENTRY_HQ(name)                                                                                    \
    TZ_EXPORT int name(TZ_ARGS_L, int HighQuality, int) {                                                    \
        tz::ConversionRequest request = TZ_LIST_L(#name);                                                    \
        request.highQuality = HighQuality != 0;                                                              \
        return tz::runConversion(request);                                                                   \
    }
// L with the tail HighQuality, AudioCodec.
#define TZ_ENTRY_HQ_AUDIO(name)                                                                              \
    TZ_EXPORT int name(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int) {                            \
        tz::ConversionRequest request = TZ_LIST_L(#name);                                                    \
        request.highQuality = HighQuality != 0;                                                              \
        request.audioCodec = text(AudioCodec);                                                               \
        return tz::runConversion(request);                                                                   \
    }
// L with the tail HighQuality, DvdStandard, AudioCodec.
#define TZ_ENTRY_MPEG(name)                                                                                  \
    TZ_EXPORT int name(TZ_ARGS_L, int HighQuality, int DvdStandard, const char* AudioCodec, int) {           \
        tz::ConversionRequest request = TZ_LIST_L(#name);                                                    \
        request.highQuality = HighQuality != 0;                                                              \
        request.dvdStandard = DvdStandard;                                                                   \
        request.audioCodec = text(AudioCodec);                                                               \
        return tz::runConversion(request);                                                                   \
    }
// L with no tail.
#define TZ_ENTRY_PLAIN(name)                                                                                 \
    TZ_EXPORT int name(TZ_ARGS_L, int) {                                                                     \
        return tz::runConversion(TZ_LIST_L(#name));                                                          \
    }

TZ_ENTRY_HQ(X_SetPar_D2IMP4)
TZ_ENTRY_HQ(X_SetPar_D2QTMOV)
TZ_ENTRY_HQ(X_SetPar_D2FLV)

TZ_ENTRY_HQ_AUDIO(X_SetPar_D2WMV)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_AVC)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_MP4)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_H264)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_MOV)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_WMV)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_Mobile)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_PS3)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_XBOX)
TZ_ENTRY_HQ_AUDIO(X_TO_HD_ZUNE)
TZ_ENTRY_HQ_AUDIO(X_SetPar_D23GP)

TZ_ENTRY_MPEG(X_SetPar_D2MPEG)
TZ_ENTRY_MPEG(X_TO_HD_MPEG)
TZ_ENTRY_MPEG(X_TO_HD_MPEG2TS)

TZ_ENTRY_PLAIN(X_SetPar_D2IPOD_VIDEO)
TZ_ENTRY_PLAIN(X_SetPar_D2IPHONE_VIDEO)
TZ_ENTRY_PLAIN(X_SetPar_D2APPLETV_VIDEO)
TZ_ENTRY_PLAIN(X_SetPar_D2ZUNE_VIDEO)
TZ_ENTRY_PLAIN(X_SetPar_D2PDA_VIDEO)

namespace {
int aviEntry(const char* name, tz::ConversionRequest request, const char* AudioCodec, int HighQuality) {
    request.entryPoint = name;
    request.audioCodec = text(AudioCodec);
    request.highQuality = HighQuality != 0;
    return tz::runConversion(request);
}
} // namespace

TZ_EXPORT int X_SetPar_D2AVI(TZ_ARGS_HEAD, const char* AudioCodec, TZ_ARGS_PICTURE, TZ_ARGS_TAIL,
                             int HighQuality, int) {
    return aviEntry("X_SetPar_D2AVI", TZ_LIST_L(""), AudioCodec, HighQuality);
}

TZ_EXPORT int X_TO_HD_AVI(TZ_ARGS_HEAD, const char* AudioCodec, TZ_ARGS_PICTURE, TZ_ARGS_TAIL,
                          int HighQuality, int) {
    return aviEntry("X_TO_HD_AVI", TZ_LIST_L(""), AudioCodec, HighQuality);
}

TZ_EXPORT int X_TO_HD_APPLETV(TZ_ARGS_L, const char* AudioCodec, int) {
    tz::ConversionRequest request = TZ_LIST_L("X_TO_HD_APPLETV");
    request.audioCodec = text(AudioCodec);
    return tz::runConversion(request);
}

TZ_EXPORT int X_SetPar_D2PSP(TZ_ARGS_HEAD, const char* AudioSampleRate, const char* VideoAspect,
                             const char* VideoFormat, const char* VideoBitRate, const char* AudioBitrate,
                             const char* Out_Size_X_Y_BeforPad, const char* VideoResolution,
                             const char* AlbumName, TZ_ARGS_TAIL, int) {
    const char* OutFileFormat = "psp";
    const char* ArtistName = "";
    const char* GenreName = "";
    return tz::runConversion(TZ_LIST_L("X_SetPar_D2PSP"));
}

TZ_EXPORT int X_SetPar_D2IPOD_MP3(TZ_ARGS_HEAD, const char* AudioSampleRate, const char* AudioBitrate,
                                  const char* AlbumName, const char* ArtistName, const char* GenreName,
                                  const char* AudioLanguage, const char* OutputName, const char* AudioVolume,
                                  const char* Duration, const char* AudioCodec, int) {
    static_cast<void>(mode);
    static_cast<void>(DVDTitle);
    tz::ConversionRequest request = listL(
        "X_SetPar_D2IPOD_MP3", window, files, count, StartTime, AudioSampleRate, "", "", "", "", AudioBitrate,
        "", "", AlbumName, ArtistName, GenreName, "", AudioLanguage, "-1", OutputName, AudioVolume, Duration);
    request.audioOnly = true;
    request.audioCodec = text(AudioCodec);
    return tz::runConversion(request);
}

// ---- global settings, progress, log ----

TZ_EXPORT int X_Get_Version(void) {
    return TRANZEL_ABI_VERSION;
}

TZ_EXPORT int X_Get_CPU_Core_Number(void) {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

TZ_EXPORT int X_Global_CMD(const char* tempFilePath, const char* frameRateHint, int) {
    tz::updateSettings([&](tz::GlobalSettings& s) {
        s.tempFilePath = text(tempFilePath);
        s.frameRateHint = text(frameRateHint);
    });
    return 0;
}

TZ_EXPORT int X_SetPar_Global(int threads, int deinterlace, int, int forceSync, int isTransportStream,
                              int videoStreamArg) {
    tz::updateSettings([&](tz::GlobalSettings& s) {
        s.threads = std::clamp(threads, 0, 64);
        s.deinterlace = deinterlace != 0;
        s.forceSync = forceSync != 0;
        s.transportStream = isTransportStream != 0;
        s.videoStreamId = videoStreamArg;
    });
    return 0;
}

TZ_EXPORT int X_Global_Set_Crop(int cropChanged, const char* width, const char* height, const char* x,
                                const char* y) {
    tz::CropRect crop;
    if (cropChanged) {
        const bool valid = tz::parseInt(text(width), crop.width) && tz::parseInt(text(height), crop.height) &&
                           tz::parseInt(text(x), crop.x) && tz::parseInt(text(y), crop.y) && crop.width > 0 &&
                           crop.height > 0 && crop.x >= 0 && crop.y >= 0;
        if (!valid) {
            tz::logLine("X_Global_Set_Crop: crop \"%s\" \"%s\" \"%s\" \"%s\" is not a rectangle, no crop",
                        text(width).c_str(), text(height).c_str(), text(x).c_str(), text(y).c_str());
            tz::updateSettings([](tz::GlobalSettings& s) { s.crop = {}; });
            return -1;
        }
        crop.enabled = true;
    }
    tz::updateSettings([&](tz::GlobalSettings& s) { s.crop = crop; });
    return 0;
}

TZ_EXPORT int X_SetPar_AudioChannels(int channels) {
    if (channels < 0 || channels > 2) {
        tz::logLine("X_SetPar_AudioChannels: %d is not 0, 1 or 2", channels);
        return -1;
    }
    tz::updateSettings([&](tz::GlobalSettings& s) { s.audioChannels = channels; });
    return 0;
}

TZ_EXPORT int X_Global_Set_WaterMark(const char* imagePath, int x, int y) {
    const std::string path = text(imagePath);
    if (!path.empty()) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            tz::logLine("X_Global_Set_WaterMark: cannot read \"%s\"", path.c_str());
            return -1;
        }
        std::fclose(file);
    }
    tz::updateSettings([&](tz::GlobalSettings& s) {
        s.watermarkPath = path;
        s.watermarkX = std::max(0, x);
        s.watermarkY = std::max(0, y);
    });
    return 0;
}

TZ_EXPORT int X_Get_Info(int info[4]) {
    if (info)
        tz::readProgress(info);
    return 0;
}

TZ_EXPORT int X_StopConvert(void) {
    tz::requestStop();
    return 0;
}

TZ_EXPORT int X_ZLog_SetCallBackFun(void (*callback)(const char* line)) {
    tz::setLogCallback(callback);
    return 0;
}

// ---- file information, thumbnail, grabber ----

namespace {
std::mutex frameBufferLock;
std::vector<uint8_t> thumbnailPixels, grabberPixels;
bool thumbnailWaiting = false; // X_GetFileinfo_GetPic made one for the next X_Get_Frame
} // namespace

TZ_EXPORT int X_GetFileinfo_GetPic(char* path, int, TzFileInfo* info, int) {
    if (!path || !info)
        return -1;
    TzFileInfo record;
    if (!tz::readFileInfo(path, record))
        return -1;
    *info = record;
    std::lock_guard guard(frameBufferLock);
    thumbnailWaiting = record.hasVideo != 0;
    return 0;
}

TZ_EXPORT int X_Get_Frame(int width, int height, const char*, unsigned char** pixels, int info[10]) {
    if (pixels)
        *pixels = nullptr;
    if (info)
        std::memset(info, 0, sizeof(int) * 10);
    if (!pixels || width <= 0 || height <= 0 || width > 8192 || height > 8192)
        return -1;
    std::lock_guard guard(frameBufferLock);
    int second = 0;
    bool found = false;
    std::vector<uint8_t>* buffer = &grabberPixels;
    if (thumbnailWaiting) {
        thumbnailWaiting = false;
        buffer = &thumbnailPixels;
        found = tz::takeThumbnail(width, height, thumbnailPixels);
    } else {
        found = tz::grabberFrame(width, height, grabberPixels, second);
    }
    if (!found)
        return -1;
    *pixels = buffer->data();
    if (info) {
        info[0] = second;
        info[1] = width;
        info[2] = height;
    }
    return 0;
}

TZ_EXPORT int X_Get_Frame_JPEG(int width, int height, const char* jpegPath) {
    return tz::writeJpeg(width, height, text(jpegPath)) ? 0 : -1;
}

TZ_EXPORT int X_GetFrame_Init(const QuiloWindowPort* window, int, const char* path, const char*,
                              const char* startSecond) {
    double second = 0;
    if (!tz::parseDecimal(text(startSecond), second) || second < 0)
        second = 0;
    // Far past any file's end, but still an int.
    second = std::min(second, 1e9);
    return tz::grabberOpen(window, text(path), static_cast<int>(second));
}

TZ_EXPORT int X_Set_NextFrame_Time(int second) {
    return tz::grabberRequest(second);
}

TZ_EXPORT int X_GetFrame_UnInit(void) {
    return tz::grabberClose();
}
