#include "platform/library_loader.h"
#include "quilo_test/support.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

TEST(PlatformLibraryLoader, LoadsFindsNamesAndKnowsItsFile) {
    SharedLibrary library;
    ASSERT_TRUE(library.load(test::programDir() + "../tests/libplatform_test_plugin.so")) << library.error();
    auto answer = reinterpret_cast<int (*)()>(library.symbol("plugin_answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(library.symbol("X_Absent"), nullptr);
    EXPECT_NE(library.filePath().find("libplatform_test_plugin.so"), std::string::npos) << library.filePath();

    SharedLibrary moved = std::move(library);
    EXPECT_TRUE(moved.isLoaded());
    EXPECT_FALSE(library.isLoaded());
    moved.unload();
    EXPECT_EQ(moved.symbol("plugin_answer"), nullptr);
}

TEST(PlatformLibraryLoader, ExplainsWhyALibraryDidNotLoad) {
    SharedLibrary library;
    EXPECT_FALSE(library.load("/nowhere/libTranzel.so"));
    EXPECT_NE(library.error().find("libTranzel.so"), std::string::npos);
    EXPECT_EQ(library.symbol("a"), nullptr);

    test::TempDir folder;
    test::writeFile(folder.file("libbroken.so"), "not a library");
    EXPECT_FALSE(library.load(folder.file("libbroken.so")));
    EXPECT_FALSE(library.error().empty());
}

TEST(PlatformLibraryLoader, ProgramFolderIsTheExecutablesFolder) {
    const std::string folder = SharedLibrary::programFolder();
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(test::fileExists(folder + "platform_tests"));
}

} // namespace
} // namespace quilo
