#include "cli/cli_arguments.h"

#include "shell/command_line.h"
#include "shell/target_catalogue.h"

namespace quilo {

std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& arguments, std::string& error) {
    CliArguments parsed;
    bool filesOnly = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&](const char* option) -> std::optional<std::string> {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                error = std::string(option) + " needs a value";
                return std::nullopt;
            }
            return arguments[++i];
        };
        if (filesOnly) {
            parsed.files.push_back(argument);
        } else if (argument == "--") {
            filesOnly = true;
        } else if (argument == "--output" || argument == "-o") {
            const auto folder = value("--output");
            if (!folder)
                return std::nullopt;
            parsed.outputFolder = *folder;
        } else if (argument == "--profile") {
            const auto name = value("--profile");
            if (!name)
                return std::nullopt;
            parsed.profile = *name;
        } else if (argument == "--drive") {
            const auto address = value("--drive");
            if (!address)
                return std::nullopt;
            parsed.drive = *address;
        } else if (argument == "--list-targets") {
            parsed.action = CliArguments::Action::ListTargets;
        } else if (argument == "--list-profiles") {
            parsed.action = CliArguments::Action::ListProfiles;
        } else if (argument == "--help" || argument == "-h") {
            parsed.action = CliArguments::Action::Help;
            return parsed;
        } else if (argument.rfind("--", 0) == 0) {
            error = "unknown option " + argument;
            return std::nullopt;
        } else if (argument.empty()) {
            error = "an empty file name";
            return std::nullopt;
        } else if (IsTargetSwitch(argument)) {
            if (!targetByIdentifier(argument.substr(1))) {
                // "/name.mp4" of a file that is not there is a missing file, not a target.
                error = argument.find('.') != std::string::npos
                            ? "no such file " + argument
                            : "unknown target " + argument + " (see --list-targets; the spelling is exact)";
                return std::nullopt;
            }
            parsed.target = argument.substr(1);
        } else {
            parsed.files.push_back(argument);
        }
    }
    if (parsed.action == CliArguments::Action::ListProfiles && !parsed.target) {
        error = "--list-profiles needs a /TARGET";
        return std::nullopt;
    }
    if (parsed.action == CliArguments::Action::Convert && parsed.files.empty()) {
        error = "no files to convert";
        return std::nullopt;
    }
    return parsed;
}

} // namespace quilo
