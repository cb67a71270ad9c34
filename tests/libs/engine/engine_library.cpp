#include "engine_library.h"

#include <cstring>

namespace quilo::test {

namespace {
std::mutex logLock;
std::string logText;
} // namespace

void collectLog(const char* line) {
    std::lock_guard guard(logLock);
    logText += line;
    logText += '\n';
}

std::string engineLog() {
    std::lock_guard guard(logLock);
    return logText;
}

void clearLog() {
    std::lock_guard guard(logLock);
    logText.clear();
}

int callEngine(const EngineLibrary& engine, const std::string& entry, const Job& job) {
    std::vector<const char*> files;
    for (const auto& f : job.files)
        files.push_back(f.c_str());
    const char* const* list = files.data();
    const int count = static_cast<int>(files.size());
    const auto* w = job.window;
    const char* const title = "-1";
    void* fn = engine.find(entry);
    if (!fn)
        return -100;

        // The standard list L.
#define TZ_L                                                                                                 \
    w, 2, list, count, title, job.start.c_str(), job.sampleRate.c_str(), job.aspect.c_str(),                 \
        job.videoFormat.c_str(), job.container.c_str(), job.videoBitRate.c_str(), job.audioBitrate.c_str(),  \
        job.picture.c_str(), job.frame.c_str(), job.album.c_str(), job.artist.c_str(), job.genre.c_str(),    \
        job.frameRate.c_str(), job.audioLanguage.c_str(), job.subtitleLanguage.c_str(), job.output.c_str(),  \
        job.volume.c_str(), job.duration.c_str()

    if (entry == "X_SetPar_D2AVI" || entry == "X_TO_HD_AVI")
        return reinterpret_cast<decltype(&::X_SetPar_D2AVI)>(fn)(
            w, 2, list, count, title, job.start.c_str(), job.audioCodec.c_str(), job.sampleRate.c_str(),
            job.aspect.c_str(), job.videoFormat.c_str(), job.container.c_str(), job.videoBitRate.c_str(),
            job.audioBitrate.c_str(), job.picture.c_str(), job.frame.c_str(), job.album.c_str(),
            job.artist.c_str(), job.genre.c_str(), job.frameRate.c_str(), job.audioLanguage.c_str(),
            job.subtitleLanguage.c_str(), job.output.c_str(), job.volume.c_str(), job.duration.c_str(),
            job.highQuality, 20051124);
    for (const char* name : {"X_SetPar_D2IMP4", "X_SetPar_D2QTMOV", "X_SetPar_D2FLV"})
        if (entry == name)
            return reinterpret_cast<decltype(&::X_SetPar_D2IMP4)>(fn)(TZ_L, job.highQuality, 20051124);
    for (const char* name :
         {"X_SetPar_D2WMV", "X_TO_HD_AVC", "X_TO_HD_MP4", "X_TO_HD_H264", "X_TO_HD_MOV", "X_TO_HD_WMV",
          "X_TO_HD_Mobile", "X_TO_HD_PS3", "X_TO_HD_XBOX", "X_TO_HD_ZUNE", "X_SetPar_D23GP"})
        if (entry == name)
            return reinterpret_cast<decltype(&::X_SetPar_D2WMV)>(fn)(TZ_L, job.highQuality,
                                                                     job.audioCodec.c_str(), 20051124);
    for (const char* name : {"X_SetPar_D2MPEG", "X_TO_HD_MPEG", "X_TO_HD_MPEG2TS"})
        if (entry == name)
            return reinterpret_cast<decltype(&::X_SetPar_D2MPEG)>(fn)(TZ_L, job.highQuality, job.dvdStandard,
                                                                      job.audioCodec.c_str(), 20051124);
    if (entry == "X_TO_HD_APPLETV")
        return reinterpret_cast<decltype(&::X_TO_HD_APPLETV)>(fn)(TZ_L, job.audioCodec.c_str(), 20051124);
    for (const char* name : {"X_SetPar_D2IPOD_VIDEO", "X_SetPar_D2IPHONE_VIDEO", "X_SetPar_D2APPLETV_VIDEO",
                             "X_SetPar_D2ZUNE_VIDEO", "X_SetPar_D2PDA_VIDEO"})
        if (entry == name)
            return reinterpret_cast<decltype(&::X_SetPar_D2IPOD_VIDEO)>(fn)(TZ_L, 20051124);
    if (entry == "X_SetPar_D2PSP")
        return reinterpret_cast<decltype(&::X_SetPar_D2PSP)>(fn)(
            w, 2, list, count, title, job.start.c_str(), job.sampleRate.c_str(), job.aspect.c_str(),
            job.videoFormat.c_str(), job.videoBitRate.c_str(), job.audioBitrate.c_str(), job.picture.c_str(),
            job.frame.c_str(), job.album.c_str(), job.frameRate.c_str(), job.audioLanguage.c_str(),
            job.subtitleLanguage.c_str(), job.output.c_str(), job.volume.c_str(), job.duration.c_str(),
            20051124);
    if (entry == "X_SetPar_D2IPOD_MP3")
        return reinterpret_cast<decltype(&::X_SetPar_D2IPOD_MP3)>(fn)(
            w, 2, list, count, title, job.start.c_str(), job.sampleRate.c_str(), job.audioBitrate.c_str(),
            job.album.c_str(), job.artist.c_str(), job.genre.c_str(), job.audioLanguage.c_str(),
            job.output.c_str(), job.volume.c_str(), job.duration.c_str(), job.audioCodec.c_str(), 20051124);
#undef TZ_L
    return -100;
}

std::string sourceClip() {
    return fixture("engine-source.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=4", "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=44100:duration=4", "-ac", "2", "-c:v", "libx264",
                    "-preset", "ultrafast", "-g", "25", "-c:a", "aac", "-shortest"});
}

std::string rgbFrame(const std::string& path, double seconds, int width, int height) {
    const auto decoded =
        runProcess("ffmpeg", {"-hide_banner", "-loglevel", "error", "-ss", std::to_string(seconds), "-i",
                              path, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    if (decoded.exitCode != 0 || decoded.out.size() != static_cast<std::size_t>(width) * height * 3)
        return {};
    return decoded.out;
}

Rgb meanColour(const std::string& rgb, int width, int x, int y, int w, int h) {
    Rgb mean;
    const int count = w * h;
    if (count <= 0 || rgb.empty())
        return mean;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) {
            const auto* p = reinterpret_cast<const unsigned char*>(rgb.data()) +
                            (static_cast<std::size_t>(row) * width + col) * 3;
            mean.r += p[0];
            mean.g += p[1];
            mean.b += p[2];
        }
    mean.r /= count;
    mean.g /= count;
    mean.b /= count;
    return mean;
}

} // namespace quilo::test
