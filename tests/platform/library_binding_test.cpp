// The one way a run-time library is bound: its version asked first, every name
// looked up, and one wording for each refusal, which names the file.
#include "platform/library_binding.h"
#include "quilo_test/support.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

// The test plugin exports plugin_answer(), which answers 42: here it stands in
// for a library's version function and for one of its names.
struct PluginApi {
    int (*plugin_answer)() = nullptr;
    int (*X_One)() = nullptr;
    int (*X_Two)() = nullptr;
    int (*X_Optional)() = nullptr;

    static inline int wantedVersion = 42;
    static inline bool lackingNames = false;

    static std::vector<LibraryName> Names(PluginApi& api) {
        std::vector<LibraryName> names = {BindName("plugin_answer", api.plugin_answer),
                                          BindName("X_Optional", api.X_Optional, true)};
        if (lackingNames) {
            names.push_back(BindName("X_One", api.X_One));
            names.push_back(BindName("X_Two", api.X_Two));
        }
        return names;
    }
    static LibraryVersion Version() { return NumberedVersion("plugin_answer", wantedVersion); }
};

std::string pluginPath() {
    return test::programDir() + "../tests/libplatform_test_plugin.so";
}

class LibraryBinding : public ::testing::Test {
protected:
    void SetUp() override {
        PluginApi::wantedVersion = 42;
        PluginApi::lackingNames = false;
    }
    RuntimeLibrary<PluginApi> library;
};

TEST_F(LibraryBinding, BindsEveryNameOfALibraryOfTheWantedVersion) {
    ASSERT_TRUE(library.Load(pluginPath())) << library.error();
    EXPECT_TRUE(library.loaded());
    EXPECT_TRUE(library.error().empty());
    ASSERT_NE(library.api().plugin_answer, nullptr);
    EXPECT_EQ(library.api().plugin_answer(), 42);
    EXPECT_EQ(library.api().X_Optional, nullptr); // optional, and not there

    library.Unload();
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(library.api().plugin_answer, nullptr);
}

TEST_F(LibraryBinding, ALibraryOfAnotherVersionIsRefusedNamingTheFileAndBothVersions) {
    ASSERT_TRUE(library.Load(pluginPath()));
    PluginApi::wantedVersion = 7;
    // Another version is the reason given even when names are missing too.
    PluginApi::lackingNames = true;
    EXPECT_FALSE(library.Load(pluginPath()));
    EXPECT_EQ(library.error(), pluginPath() + " is version 42; this program needs version 7");
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(library.api().plugin_answer, nullptr);
}

TEST_F(LibraryBinding, EveryMissingNameIsListedInOneLine) {
    PluginApi::lackingNames = true;
    EXPECT_FALSE(library.Load(pluginPath()));
    EXPECT_EQ(library.error(), pluginPath() + " lacks X_One, X_Two");
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(library.api().plugin_answer, nullptr);

    // A library without its version function lacks that name first.
    struct Unversioned : PluginApi {
        static LibraryVersion Version() { return NumberedVersion("X_Version", 1); }
    };
    RuntimeLibrary<Unversioned> unversioned;
    EXPECT_FALSE(unversioned.Load(pluginPath()));
    EXPECT_EQ(unversioned.error(), pluginPath() + " lacks X_Version, X_One, X_Two");
}

TEST_F(LibraryBinding, AFileThatIsNoLibraryOrIsNotThereIsNamed) {
    EXPECT_FALSE(library.Load("/nowhere/libTranzel.so"));
    EXPECT_EQ(
        library.error(),
        "/nowhere/libTranzel.so cannot be loaded: cannot open shared object file: No such file or directory");

    test::TempDir folder;
    test::writeFile(folder.file("libbroken.so"), "not a library");
    EXPECT_FALSE(library.Load(folder.file("libbroken.so")));
    EXPECT_EQ(library.error().rfind(folder.file("libbroken.so") + " cannot be loaded: ", 0), 0u)
        << library.error();
}

} // namespace
} // namespace quilo
