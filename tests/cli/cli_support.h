// Running quilo-convert as a user would, with its own home and settings.
#pragma once

#include "quilo_test/support.h"

#include <map>
#include <string>

namespace quilo::test {

struct ConverterHome {
    TempDir home;
    std::map<std::string, std::string> environment() const {
        return {
            {"HOME", home.path()}, {"XDG_DATA_HOME", home.file("data")}, {"XDG_RUNTIME_DIR", home.path()}};
    }
    std::string dataFolder() const { return home.file("data/Quilo/Quilo Video Converter/"); }
    ProcessResult convert(const std::vector<std::string>& arguments, int timeoutMs = 300000) const {
        return runProcess(programDir() + "quilo-convert", arguments, timeoutMs, environment());
    }
};

inline std::string sixSecondClip() {
    return fixture("cli-six-seconds.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi", "-i",
                    "sine=frequency=500:sample_rate=44100", "-t", "6", "-ac", "2", "-c:v", "libx264",
                    "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
}

} // namespace quilo::test
