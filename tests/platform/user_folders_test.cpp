#include "quilo_test/support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace quilo {
namespace {

// The folders come from the environment of a child, so this process keeps its own.
std::vector<std::string> foldersWith(const std::map<std::string, std::string>& environment) {
    const auto result = test::runProcess(test::programDir() + "../tests/platform_test_child", {"folders"},
                                         30000, environment);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::vector<std::string> lines;
    std::istringstream text(result.out);
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

TEST(PlatformSpecialFolders, FollowTheUsersXdgFolders) {
    test::TempDir home;
    std::filesystem::create_directories(home.path() + "config");
    EXPECT_EQ(
        foldersWith(
            {{"HOME", home.path()}, {"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", home.path() + "config"}}),
        (std::vector<std::string>{home.path() + ".local/share/", home.path() + "Documents/",
                                  home.path() + "Videos/", home.path() + "Pictures/"}));

    // The user's own names for the folders, as a desktop in another language keeps them.
    test::writeFile(home.path() + "config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                                                           "XDG_VIDEOS_DIR=\"$HOME/Filme\"\n"
                                                           "XDG_PICTURES_DIR=\"$HOME/Bilder/\"\n");
    EXPECT_EQ(foldersWith({{"HOME", home.path()},
                           {"XDG_DATA_HOME", home.path() + "data"},
                           {"XDG_CONFIG_HOME", home.path() + "config"}}),
              (std::vector<std::string>{home.path() + "data/", home.path() + "Dokumente/",
                                        home.path() + "Filme/", home.path() + "Bilder/"}));
}

} // namespace
} // namespace quilo
