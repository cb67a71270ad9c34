// Where the program's own read-only files are. A program folder (the build's
// bin/, or a copy of it) keeps the executables, the run-time libraries and the
// installation files side by side. An installed copy is spread the usual Linux
// way: the executables in <prefix>/bin, the libraries in
// <prefix>/lib/.../quilo-converter and the installation files in
// <prefix>/share/quilo-converter.
#pragma once

#include <string>
#include <utility>

namespace quilo {

struct ProgramFolders {
    std::string files;     // identity file, profile definitions, shipped settings, help pages
    std::string libraries; // the run-time libraries the program loads

    ProgramFolders() = default;
    ProgramFolders(std::string filesFolder, std::string librariesFolder)
        : files(std::move(filesFolder)), libraries(std::move(librariesFolder)) {}
    // A program folder holds both.
    ProgramFolders(const std::string& programFolder) : files(programFolder), libraries(programFolder) {}
    ProgramFolders(const char* programFolder) : ProgramFolders(std::string(programFolder)) {}
};

// The identity file lies in every program folder and in every installed files folder.
inline constexpr const char* ProgramFolderMarker = "WinVersion.bin";

// The folders of the program whose executable lies in `executableFolder`
// (ending with '/'): that folder itself when it holds the marker file, else the
// installed layout around it. Both results end with '/'.
ProgramFolders LocateProgramFolders(const std::string& executableFolder);

// The folders of the running program.
const ProgramFolders& ThisProgramFolders();

} // namespace quilo
