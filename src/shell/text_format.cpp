#include "shell/text_format.h"

namespace quilo {

std::string TwoDigits(int n) {
    return n <= 9 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string SecondsToText(int seconds) {
    return TwoDigits(seconds / 3600) + ":" + TwoDigits((seconds % 3600) / 60) + ":" + TwoDigits(seconds % 60);
}

// Counts characters, not bytes: a UTF-8 name is never cut inside a character.
std::string PadOrCut(const std::string& text, int width) {
    if (width <= 0)
        return {};
    int characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == width)
            return text.substr(0, i);
    }
    return text + std::string(static_cast<size_t>(width - characters), ' ');
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
