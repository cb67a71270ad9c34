// The engine as the program binds it: libTranzel.so loaded from the program
// folder and every entry point looked up by name, then called with its own
// argument list.
#pragma once

#include "quilo_test/support.h"
#include "tranzel.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
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

// 4 s of moving test picture (320x240, 25 fps, a keyframe every second) with a
// 440 Hz stereo tone, in MP4.
std::string sourceClip();

// The engine loaded and set up as the job runner does before a conversion:
// log collected, two threads, no crop, working file in a fresh folder.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(engine.handle, nullptr) << dlerror();
        engine.TZ_BIND(X_ZLog_SetCallBackFun)(collectLog);
        engine.TZ_BIND(X_SetPar_Global)(2, 0, 0, 0, 0, -1);
        engine.TZ_BIND(X_Global_Set_Crop)(0, "320", "240", "0", "0");
        engine.TZ_BIND(X_Global_CMD)((out.path() + "kavotempfile.tmp").c_str(), "-1", 1);
        clearLog();
    }
    EngineLibrary engine;
    TempDir out;
};

} // namespace quilo::test
