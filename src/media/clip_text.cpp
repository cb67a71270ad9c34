#include "media/clip_text.h"

#include <charconv>
#include <cmath>

namespace quilo {

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        value = 0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    std::string text(buffer, result.ptr);
    if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1); // no "-0.00"
    return text;
}

bool IsAutoFrameRate(double rate) {
    return rate > 150 || rate < 0.001;
}

std::string FrameRateText(double rate) {
    // In binary 25 - 0.005 lies just below 24.995 and would print as 24.99; the
    // nudge lets exact hundredths print as themselves.
    return FormatFixed(rate - 0.005 + 1e-9, 2);
}

std::string ClipFrameRateLabel(double rate) {
    return IsAutoFrameRate(rate) ? "FPS:Auto" : "FPS:" + FrameRateText(rate);
}

std::string ClipSizeLabel(int width, int height, const std::string& aspectText) {
    std::string text = "(WxH)" + std::to_string(width) + "x" + std::to_string(height) + "(" + aspectText;
    if (aspectText.find(':') == std::string::npos)
        text += ":1";
    return text + ")";
}

std::string AudioNameLabel(const std::string& language, int id) {
    return language.empty() ? "Audio ID:" + std::to_string(id) : "Audio:" + language;
}

std::string AudioCodecLabel(const std::string& codec, int channels) {
    return "Codec:" + codec + " " + std::to_string(channels) + "CH";
}

std::string AudioSampleRateLabel(int samplingRate) {
    return FormatFixed(samplingRate / 1000.0, 1) + "KHz";
}

std::string AudioBitRateLabel(int bitRate) {
    return "Bitrate:" + FormatFixed(bitRate / 1000.0, 1) + "Kb";
}

std::string TrackLabel(const std::vector<std::string>* names, int index) {
    if (!names || index < 0)
        return "Unkonwn";
    if (index >= static_cast<int>(names->size()))
        return "Disable";
    const std::string& name = (*names)[static_cast<size_t>(index)];
    return name.substr(0, name.find('#'));
}

} // namespace quilo
