// The engine as the program binds it: libTranzel.so loaded from the program
// folder and every entry point looked up by name, then called with its own
// argument list.
#pragma once

#include "quilo_test/support.h"
#include "tranzel.h"

#include <dlfcn.h>
#include <mutex>
#include <string>
#include <vector>

namespace quilo::test {

struct EngineLibrary {
    void* handle = dlopen((programDir() + "libTranzel.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ~EngineLibrary() {
        if (handle)
            dlclose(handle);
    }
    EngineLibrary() = default;
    EngineLibrary(const EngineLibrary&) = delete;
    EngineLibrary& operator=(const EngineLibrary&) = delete;

    void* find(const std::string& name) const { return handle ? dlsym(handle, name.c_str()) : nullptr; }
    template <typename F> F bind(const char* name) const { return reinterpret_cast<F>(find(name)); }
#define TZ_BIND(name) bind<decltype(&::name)>(#name)
};

// The texts and numbers of one conversion call, with small defaults.
struct Job {
    std::vector<std::string> files;
    std::string start = "0", sampleRate = "44100", aspect = "1:1", videoFormat, container,
                videoBitRate = "300", audioBitrate = "96", picture = "160:120", frame = "160:120",
                album = "Album name", artist = "Artist name", genre = "MyVideo", frameRate = "25",
                audioLanguage = "-1", subtitleLanguage = "-1", output, volume = "0", duration = "0",
                audioCodec;
    int highQuality = 0;
    int dvdStandard = 0;
    const QuiloWindowPort* window = nullptr;
};

// Calls the named entry point with the job's values in that entry point's order.
// -100 when the name is not one of the conversion entry points.
int callEngine(const EngineLibrary& engine, const std::string& entry, const Job& job);

// Log lines the engine sent since the last clearLog().
std::string engineLog();
void clearLog();
void collectLog(const char* line);

// The first video frame at `seconds` of a file, decoded by the ffmpeg program
// to rgb24; empty on failure.
std::string rgbFrame(const std::string& path, double seconds, int width, int height);
// Mean colour of a rectangle of an rgb24 picture.
struct Rgb {
    double r = 0, g = 0, b = 0;
};
Rgb meanColour(const std::string& rgb, int width, int x, int y, int w, int h);

} // namespace quilo::test
