#include "shell/text_format.h"

namespace quilo {

std::string TwoDigits(int n) {
    return n <= 9 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string SecondsToText(int seconds) {
    return TwoDigits(seconds / 3600) + ":" + TwoDigits((seconds % 3600) / 60) + ":" + TwoDigits(seconds % 60);
}

std::string PadOrCut(const std::string& text, int width) {
    if (width <= 0)
        return {};
    const auto size = static_cast<size_t>(width);
    if (text.size() >= size)
        return text.substr(0, size);
    return text + std::string(size - text.size(), ' ');
}

std::string FormatCounter4(int n) {
    if (n > 9999)
        n %= 10000;
    if (n <= 0)
        return "8888";
    std::string digits = std::to_string(n);
    return std::string(4 - digits.size(), '0') + digits;
}

} // namespace quilo
