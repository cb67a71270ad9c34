// Shared by the tests that drive the real engine's frame grabber: the
// application object that carries the engine's posts, and the fixtures.
#pragma once

#include "media/clip_record.h"
#include "quilo_test/support.h"

#include <QCoreApplication>
#include <string>

namespace quilo::test {

inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "grabber_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

inline std::string engineLibrary() {
    return programDir() + "libTranzel.so";
}

// One colour per second for five seconds: red, lime, blue, yellow, white.
inline std::string colourPerSecondClip() {
    return fixture("trim-colour-per-second.mp4",
                   {"-filter_complex",
                    "color=c=red:s=160x120:r=25:d=1[a];color=c=lime:s=160x120:r=25:d=1[b];"
                    "color=c=blue:s=160x120:r=25:d=1[c];color=c=yellow:s=160x120:r=25:d=1[d];"
                    "color=c=white:s=160x120:r=25:d=1[e];[a][b][c][d][e]concat=n=5",
                    "-c:v", "libx264", "-preset", "ultrafast", "-g", "250", "-pix_fmt", "yuv420p"});
}

struct Colour {
    double r = 0, g = 0, b = 0;
};

inline Colour meanOf(const unsigned char* rgb, int width, int height) {
    Colour sum;
    const long pixels = static_cast<long>(width) * height;
    for (long i = 0; i < pixels; ++i) {
        sum.r += rgb[i * 3];
        sum.g += rgb[i * 3 + 1];
        sum.b += rgb[i * 3 + 2];
    }
    return {sum.r / pixels, sum.g / pixels, sum.b / pixels};
}

} // namespace quilo::test
