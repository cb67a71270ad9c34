// Number and time texts shown in lists and used in file names.
#pragma once

#include <string>

namespace quilo {

// "0n" for 0..9, otherwise the number ("100" stays "100").
std::string TwoDigits(int n);
// HH:MM:SS with integer division; hours may exceed two digits.
std::string SecondsToText(int seconds);
// Cut to `width` characters (UTF-8) or pad on the right with spaces.
std::string PadOrCut(const std::string& text, int width);
// Four-digit counter for file names: 1 -> "0001", 12345 -> "2345"; 0, negatives and
// multiples of 10000 give "8888".
std::string FormatCounter4(int n);

} // namespace quilo
