#include "shell/command_line.h"

#include <filesystem>
#include <system_error>

namespace quilo {

bool IsTargetSwitch(const std::string& line) {
    if (line.size() < 2 || line.front() != '/' || line.find('/', 1) != std::string::npos)
        return false;
    std::error_code error;
    return !std::filesystem::exists(line, error);
}

CommandLine ParseCommandLine(const std::vector<std::string>& lines) {
    CommandLine command;
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        if (IsTargetSwitch(line))
            command.targetSwitch = line.substr(1);
        else
            command.files.push_back(line);
    }
    return command;
}

bool HandleCommandLine(const std::vector<std::string>& lines, CommandLineHost& host) {
    const CommandLine command = ParseCommandLine(lines);
    if (!command.targetSwitch && command.files.empty())
        return false;
    if (command.targetSwitch)
        if (const auto target = targetByIdentifier(*command.targetSwitch))
            host.selectTargetAsClicked(*target);
    host.restorePanel();
    if (!command.files.empty())
        host.addFilesLater(command.files);
    return true;
}

bool HandleCommandHandoff(const std::vector<std::string>& lines, bool conversionRunning,
                          CommandLineHost& host) {
    if (conversionRunning)
        return false;
    return HandleCommandLine(lines, host);
}

} // namespace quilo
