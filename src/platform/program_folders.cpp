#include "platform/program_folders.h"

#include "platform/library_loader.h"

#include <filesystem>
#include <system_error>

namespace quilo {
namespace {

namespace fs = std::filesystem;

std::string folderText(const fs::path& folder) {
    std::string text = folder.lexically_normal().string();
    return text.empty() || text.back() == '/' ? text : text + "/";
}

} // namespace

ProgramFolders LocateProgramFolders(const std::string& executableFolder) {
    std::error_code error;
    if (fs::is_regular_file(fs::path(executableFolder) / ProgramFolderMarker, error))
        return ProgramFolders(folderText(executableFolder));
    // The build writes where the installation puts them, relative to the executables.
    const fs::path executables(executableFolder);
    return {folderText(executables / QUILO_INSTALLED_FILES_FROM_BIN),
            folderText(executables / QUILO_INSTALLED_LIBRARIES_FROM_BIN)};
}

const ProgramFolders& ThisProgramFolders() {
    static const ProgramFolders folders = LocateProgramFolders(SharedLibrary::programFolder());
    return folders;
}

} // namespace quilo
