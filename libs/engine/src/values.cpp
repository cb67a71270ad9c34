#include "values.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tz {
namespace {

constexpr std::array containers{
    ContainerSpec{"avi", "avi", "mp3", false},    ContainerSpec{"mp4", "mp4", "aac", false},
    ContainerSpec{"ipod", "ipod", "aac", false},  ContainerSpec{"psp", "psp", "aac", false},
    ContainerSpec{"mov", "mov", "aac", false},    ContainerSpec{"asf", "asf", "wma", false},
    ContainerSpec{"flv", "flv", "mp3", false},    ContainerSpec{"3gp", "3gp", "aac", false},
    ContainerSpec{"3g2", "3g2", "aac", false},    ContainerSpec{"mkv", "matroska", "vorbis", false},
    ContainerSpec{"mpeg1", "mpeg", "mp2", false}, ContainerSpec{"mpeg2", "vob", "mp2", false},
    ContainerSpec{"dvd", "dvd", "ac3", false},    ContainerSpec{"mpeg2ts", "mpegts", "ac3", false},
    ContainerSpec{"mp3", "mp3", "mp3", true},     ContainerSpec{"aac", "adts", "aac", true},
    ContainerSpec{"m4a", "ipod", "aac", true},    ContainerSpec{"ac3", "ac3", "ac3", true},
    ContainerSpec{"ogg", "ogg", "vorbis", true},  ContainerSpec{"wav", "wav", "pcm", true},
    ContainerSpec{"wma", "asf", "wma", true},
};

constexpr std::array videoCodecs{
    VideoCodecSpec{"mpeg4", "mpeg4", nullptr},      VideoCodecSpec{"xvid", "mpeg4", "XVID"},
    VideoCodecSpec{"h264", "libx264", nullptr},     VideoCodecSpec{"mpeg1", "mpeg1video", nullptr},
    VideoCodecSpec{"mpeg2", "mpeg2video", nullptr}, VideoCodecSpec{"dvd", "mpeg2video", nullptr},
    VideoCodecSpec{"wmv1", "wmv1", nullptr},        VideoCodecSpec{"wmv2", "wmv2", nullptr},
    VideoCodecSpec{"flv", "flv", nullptr},          VideoCodecSpec{"h263", "h263", nullptr},
};

constexpr std::array audioCodecs{
    AudioCodecSpec{"mp3", "libmp3lame"}, AudioCodecSpec{"aac", "aac"},
    AudioCodecSpec{"ac3", "ac3"},        AudioCodecSpec{"mp2", "mp2"},
    AudioCodecSpec{"wma", "wmav2"},      AudioCodecSpec{"vorbis", "libvorbis"},
    AudioCodecSpec{"pcm", "pcm_s16le"},
};

template <typename Table> auto findByName(const Table& table, std::string_view name) {
    for (const auto& entry : table)
        if (name == entry.name)
            return &entry;
    return static_cast<decltype(&table[0])>(nullptr);
}

} // namespace

const ContainerSpec* findContainer(std::string_view name) {
    return findByName(containers, name);
}
const VideoCodecSpec* findVideoCodec(std::string_view name) {
    return findByName(videoCodecs, name);
}
const AudioCodecSpec* findAudioCodec(std::string_view name) {
    return findByName(audioCodecs, name);
}

const ContainerSpec* audioContainerForPath(std::string_view path) {
    const auto dot = path.rfind('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return nullptr;
    std::string extension;
    for (char c : path.substr(dot + 1))
        extension += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const ContainerSpec* spec = findContainer(extension);
    return spec && spec->audioOnly ? spec : nullptr;
}

const ContainerSpec* audioContainerForCodec(std::string_view codec) {
    if (codec == "mp3" || codec == "aac" || codec == "ac3" || codec == "wma")
        return findContainer(codec);
    if (codec == "mp2")
        return findContainer("mp3"); // the mp3 muxer writes any MPEG audio layer
    if (codec == "vorbis")
        return findContainer("ogg");
    if (codec == "pcm")
        return findContainer("wav");
    return nullptr;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

bool parseInt(std::string_view text, int& value) {
    text = trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseDecimal(std::string_view text, double& value) {
    text = trim(text);
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool parseSize(std::string_view text, int& width, int& height) {
    text = trim(text);
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    return parseInt(text.substr(0, colon), width) && parseInt(text.substr(colon + 1), height) && width > 0 &&
           height > 0;
}

bool parseRational(std::string_view text, AVRational& value) {
    text = trim(text);
    const auto separator = text.find_first_of("/:");
    if (separator != std::string_view::npos) {
        double num = 0, den = 0;
        if (!parseDecimal(text.substr(0, separator), num) || !parseDecimal(text.substr(separator + 1), den) ||
            num <= 0 || den <= 0)
            return false;
        value = av_d2q(num / den, 1 << 20);
        if (std::floor(num) == num && std::floor(den) == den && num < 1e9 && den < 1e9)
            av_reduce(&value.num, &value.den, static_cast<int64_t>(num), static_cast<int64_t>(den),
                      INT32_MAX);
        return value.num > 0 && value.den > 0;
    }
    double decimal = 0;
    if (!parseDecimal(text, decimal) || decimal <= 0 || decimal > 1e6)
        return false;
    value = av_d2q(decimal, 100000);
    return value.num > 0 && value.den > 0;
}

} // namespace tz
