// The command syntax of the program's arguments and of a hand-off from a second
// start: "/" and a target identifier switches the target (the last one wins),
// every other line is a file to add.
#pragma once

#include "shell/target_catalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace quilo {

// What the command line asks of the main window.
class CommandLineHost {
public:
    virtual ~CommandLineHost() = default;
    // Select the target's category, then the target, as if the user clicked them.
    virtual void selectTargetAsClicked(TargetTypeId target) = 0;
    // Restore the last used output settings from the settings file.
    virtual void restorePanel() = 0;
    // Add the files through the clip-adding pipeline, started by the load timer.
    virtual void addFilesLater(const std::vector<std::string>& paths) = 0;
};

struct CommandLine {
    std::optional<std::string> targetSwitch; // the last switch, without its "/"
    std::vector<std::string> files;
};

// A switch is "/" and one name. Absolute paths start with "/" as well: a line
// with a second "/", or one that names an existing file, is a file.
bool IsTargetSwitch(const std::string& line);

// Empty lines are skipped: a trailing line break of a hand-off must not stop it.
CommandLine ParseCommandLine(const std::vector<std::string>& lines);

// Applies the switch (a known identifier, compared case-sensitively), restores
// the panel and queues the files. False when the lines hold nothing to do.
bool HandleCommandLine(const std::vector<std::string>& lines, CommandLineHost& host);

// The main window's answer to a hand-off: ignored while a conversion runs
// (the block has been emptied already), handled like a command line otherwise.
bool HandleCommandHandoff(const std::vector<std::string>& lines, bool conversionRunning,
                          CommandLineHost& host);

} // namespace quilo
