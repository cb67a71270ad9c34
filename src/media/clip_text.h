// The texts of the clip list's rows and of a clip's description.
#pragma once

#include <string>
#include <vector>

namespace quilo {

// Fixed-point text with `decimals` places, in the C locale.
std::string FormatFixed(double value, int decimals);

// Rates above 150 or below 0.001 are shown as "Auto".
bool IsAutoFrameRate(double rate);
// "%0.2f" of the rate minus 0.005: a rate is shown cut, not rounded, to two
// places (23.976 reads 23.97, 25 reads 25.00).
std::string FrameRateText(double rate);

std::string ClipFrameRateLabel(double rate);                                     // "FPS:25.00", "FPS:Auto"
std::string ClipSizeLabel(int width, int height, const std::string& aspectText); // "(WxH)720x480(16:9)"
std::string AudioNameLabel(const std::string& language, int id);     // "Audio:English", "Audio ID:2"
std::string AudioCodecLabel(const std::string& codec, int channels); // "Codec:AAC 2CH"
std::string AudioSampleRateLabel(int samplingRate);                  // "48.0KHz"
std::string AudioBitRateLabel(int bitRate);                          // "Bitrate:192.0Kb"
// A track or subtitle name from a list: cut at the first "#"; "Unkonwn" for a
// negative index or no list, "Disable" for an index past the end.
std::string TrackLabel(const std::vector<std::string>* names, int index);

} // namespace quilo
