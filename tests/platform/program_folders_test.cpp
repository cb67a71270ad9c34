// Where the program finds its own files: beside the executable in a program
// folder, or spread over the installed tree.
#include "platform/program_folders.h"
#include "quilo_test/support.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(ProgramFolders, AFolderWithTheIdentityFileHoldsEverything) {
    TempDir folder;
    writeFile(folder.file(ProgramFolderMarker), "identity");
    const ProgramFolders found = LocateProgramFolders(folder.path());
    EXPECT_EQ(found.files, folder.path());
    EXPECT_EQ(found.libraries, folder.path());
}

TEST(ProgramFolders, AnInstalledCopyLooksBesideItsBinFolder) {
    TempDir prefix;
    std::filesystem::create_directory(prefix.file("bin"));
    const ProgramFolders found = LocateProgramFolders(prefix.file("bin/"));
    EXPECT_EQ(found.files, prefix.file("share/quilo-converter/"));
    // lib/ or the multiarch lib/<triplet>/, whichever the build was set up with.
    EXPECT_EQ(found.libraries.rfind(prefix.file("lib/"), 0), 0u) << found.libraries;
    EXPECT_TRUE(found.libraries.ends_with("/quilo-converter/")) << found.libraries;
}

TEST(ProgramFolders, TheBuildsProgramFolderIsOne) {
    const ProgramFolders found = LocateProgramFolders(programDir());
    EXPECT_EQ(found.files, programDir());
    EXPECT_EQ(found.libraries, programDir());
}
