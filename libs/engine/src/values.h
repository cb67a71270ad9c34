// The engine-value vocabulary and the parsing of the texts of a conversion call.
#pragma once

#include <string>
#include <string_view>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/rational.h>
}

namespace tz {

struct ContainerSpec {
    const char* name;         // engine value
    const char* muxer;        // libavformat short name
    const char* defaultAudio; // engine audio codec used when the call names none
    bool audioOnly;
};

struct VideoCodecSpec {
    const char* name;
    const char* encoder;
    const char* tag; // forced FourCC in AVI and Matroska, or nullptr
};

struct AudioCodecSpec {
    const char* name;
    const char* encoder;
};

const ContainerSpec* findContainer(std::string_view name);
const VideoCodecSpec* findVideoCodec(std::string_view name);
const AudioCodecSpec* findAudioCodec(std::string_view name);
// The audio container of an output file name (".mp3" -> mp3), or nullptr.
const ContainerSpec* audioContainerForPath(std::string_view path);
// The audio container that naturally holds an audio codec (mp3 -> mp3, pcm -> wav).
const ContainerSpec* audioContainerForCodec(std::string_view codec);

std::string_view trim(std::string_view text);
// Whole decimal number (optional sign); false for anything else.
bool parseInt(std::string_view text, int& value);
// Decimal number with an optional fraction.
bool parseDecimal(std::string_view text, double& value);
// "W:H" with positive integers.
bool parseSize(std::string_view text, int& width, int& height);
// The widest and tallest picture FFmpeg's encoders are asked to make.
inline constexpr int kLargestSide = 16384;
// "N/D", "N:D", or a decimal ("12.500"); false when not positive.
bool parseRational(std::string_view text, AVRational& value);

} // namespace tz
