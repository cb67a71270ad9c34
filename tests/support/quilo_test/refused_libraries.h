// The run-time libraries a program must refuse (tests/support/libraries), and
// a program folder of its own that holds one of them in place of the real one.
#pragma once

#include "quilo_test/support.h"

#include <filesystem>
#include <string>

namespace quilo::test {

// "engine-lacking-a-name", "engine-of-another-version", "authoring-of-another-version",
// "discwriter-of-another-version", "videodl-of-another-version",
// "mediainfo-of-another-version": each holds one library under its real file
// name. Ends with '/'.
inline std::string refusedLibraryFolder(const std::string& name) {
    return std::filesystem::weakly_canonical(programDir() + "../tests/libraries/" + name).string() + "/";
}

// `folder` becomes a program folder: a copy of `program` (a program finds its
// folder from its own file, so it cannot be a link) and links to everything
// else of the built one, but with `library` (a file of refusedLibraryFolder) in
// place of the real library of that name.
inline void makeProgramFolderWith(const TempDir& folder, const std::string& program,
                                  const std::string& library) {
    namespace fs = std::filesystem;
    const std::string replaced = fs::path(library).filename().string();
    for (const auto& entry : fs::directory_iterator(programDir())) {
        const std::string name = entry.path().filename().string();
        if (name == program)
            fs::copy_file(entry.path(), folder.file(name));
        else if (name != replaced)
            fs::create_symlink(entry.path(), folder.file(name));
    }
    fs::create_symlink(library, folder.file(replaced));
}

} // namespace quilo::test
