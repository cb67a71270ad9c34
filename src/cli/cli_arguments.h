// The command line of quilo-convert.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quilo {

struct CliArguments {
    enum class Action { Convert, ListTargets, ListProfiles, Help };
    Action action = Action::Convert;
    std::optional<std::string> target; // identifier, without the "/"
    std::string outputFolder;          // empty: the settings' output folder
    std::string profile;               // a saved profile's name
    std::string drive;                 // where a /DVD_Disc job burns: /dev/srN or stdio:FILE
    std::vector<std::string> files;
};

inline constexpr const char* CliUsage =
    "usage: quilo-convert [--output DIR] [--profile NAME] [/TARGET] FILE...\n"
    "       quilo-convert [--output DIR] --drive ADDRESS /DVD_Disc FILE...\n"
    "       quilo-convert --list-targets\n"
    "       quilo-convert --list-profiles /TARGET\n"
    "Converts the files with the settings of the target (last used target without /TARGET).\n"
    "--drive burns the DVD to the drive at ADDRESS (a /dev/sr device, or stdio:FILE for an image).\n"
    "A FILE beginning with http:// or https:// is a web page: its video is downloaded and converted.\n"
    "Exit status: 0 every clip converted, 1 some failed or stopped, 2 the converter cannot work,\n"
    "64 wrong usage.\n";

// Parses the arguments (without the program name). On a mistake, `error` says
// what is wrong and the result is empty.
std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& arguments, std::string& error);

} // namespace quilo
