// Small media files made by the ffmpeg CLI, shared by the media tests.
#pragma once

#include "quilo_test/support.h"

#include <string>

namespace quilo::test::media {

inline const std::vector<std::string> tinyPicture = {"-f", "lavfi", "-i",
                                                     "testsrc=size=160x120:rate=25:duration=1"};

// A transport stream whose audio PIDs come in the order 0x103, 0x101, 0x102.
inline std::string unorderedTransportStream() {
    return fixture("media_pids_312.ts",
                   {"-f",        "lavfi",      "-i",        "testsrc=size=160x120:rate=25:duration=1",
                    "-f",        "lavfi",      "-i",        "sine=frequency=440:duration=1",
                    "-f",        "lavfi",      "-i",        "sine=frequency=550:duration=1",
                    "-f",        "lavfi",      "-i",        "sine=frequency=660:duration=1",
                    "-map",      "0:v",        "-map",      "1:a",
                    "-map",      "2:a",        "-map",      "3:a",
                    "-c:v",      "mpeg2video", "-c:a",      "mp2",
                    "-streamid", "0:0x100",    "-streamid", "1:0x103",
                    "-streamid", "2:0x101",    "-streamid", "3:0x102"});
}

// Matroska with English, German and French audio tracks, in that order.
inline std::string threeLanguageMatroska() {
    return fixture("media_languages.mkv", {"-f",
                                           "lavfi",
                                           "-i",
                                           "testsrc=size=160x120:rate=25:duration=1",
                                           "-f",
                                           "lavfi",
                                           "-i",
                                           "sine=frequency=440:duration=1",
                                           "-f",
                                           "lavfi",
                                           "-i",
                                           "sine=frequency=550:duration=1",
                                           "-f",
                                           "lavfi",
                                           "-i",
                                           "sine=frequency=660:duration=1",
                                           "-map",
                                           "0:v",
                                           "-map",
                                           "1:a",
                                           "-map",
                                           "2:a",
                                           "-map",
                                           "3:a",
                                           "-c:v",
                                           "mpeg4",
                                           "-c:a",
                                           "mp2",
                                           "-metadata:s:a:0",
                                           "language=eng",
                                           "-metadata:s:a:1",
                                           "language=ger",
                                           "-metadata:s:a:2",
                                           "language=fre"});
}

inline std::string audioOnly() {
    return fixture("media_audio_only.mp3", {"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:a",
                                            "libmp3lame", "-b:a", "64k"});
}

// 720 x 576 MPEG-2 program stream shown as 16:9.
inline std::string anamorphicMpeg2() {
    return fixture("media_anamorphic.mpg", {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25:duration=1",
                                            "-c:v", "mpeg2video", "-aspect", "16:9", "-b:v", "1M"});
}

inline std::string vga() {
    return fixture("media_vga.mp4", {"-f", "lavfi", "-i", "testsrc=size=640x480:rate=30:duration=1", "-c:v",
                                     "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"});
}

} // namespace quilo::test::media
