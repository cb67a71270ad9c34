#include "conversion/output_path.h"
#include "conversion/partial_outputs.h"
#include "quilo_test/support.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace quilo {
namespace {

TEST(ConversionOutputPath, ForbiddenCharactersBecomeUnderscores) {
    EXPECT_EQ(SanitizeOutputName("a:b?.avi"), "a_b_.avi");
    EXPECT_EQ(SanitizeOutputName("..\\..\\x/y*z\"<>|.mp4"), ".._.._x_y_z____.mp4");
    EXPECT_EQ(SanitizeOutputName("tab\there.mp4"), "tab_here.mp4");
    EXPECT_EQ(SanitizeOutputName(".."), "_..");
    EXPECT_EQ(SanitizeOutputName(""), "_");
}

TEST(ConversionOutputPath, NumbersTheNameUntilItIsFree) {
    test::TempDir folder;
    const std::string name = SanitizeOutputName("a:b?.avi");
    EXPECT_EQ(UniqueOutputPath(folder.path(), name), folder.file("a_b_.avi"));
    test::writeFile(folder.file("a_b_.avi"), "x");
    EXPECT_EQ(UniqueOutputPath(folder.path(), name), folder.file("1-a_b_.avi"));
    test::writeFile(folder.file("1-a_b_.avi"), "x");
    EXPECT_EQ(UniqueOutputPath(folder.path(), name), folder.file("2-a_b_.avi"));
}

TEST(ConversionOutputPath, ANameAtTheFileSystemsLimitIsShortenedNotRefused) {
    // Two outputs of a clip whose name takes all 255 bytes: the second must
    // still fit, so its stem gives way to the number.
    test::TempDir folder;
    const std::string longest = std::string(251, 'n') + ".mp4";
    const std::string first = UniqueOutputPath(folder.path(), longest);
    EXPECT_EQ(first, folder.file(longest));
    test::writeFile(first, "x");
    const std::string second = UniqueOutputPath(folder.path(), longest);
    EXPECT_EQ(second, folder.file("1-" + std::string(249, 'n') + ".mp4"));
    test::writeFile(second, "x");
    EXPECT_TRUE(test::fileExists(second));
    // Tenfold: the number grows, the name stays within the limit.
    for (int n = 2; n <= 10; ++n)
        test::writeFile(UniqueOutputPath(folder.path(), longest), "x");
    EXPECT_EQ(UniqueOutputPath(folder.path(), longest), folder.file("11-" + std::string(248, 'n') + ".mp4"));
}

TEST(ConversionOutputPath, ShortenedNamesKeepWholeCharactersAndTheExtension) {
    const std::string e = "\xc3\xa9"; // two bytes
    std::string accents;
    for (int i = 0; i < 10; ++i)
        accents += e;
    EXPECT_EQ(FitFileName(accents + ".mp4", 13), e + e + e + e + ".mp4"); // 8 + 4, not 9 + 4
    EXPECT_EQ(FitFileName("short.mp4", 13), "short.mp4");
    EXPECT_EQ(FitFileName("no-extension-at-all", 5), "no-ex");
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ConversionOutputPath, PartialOutputsOfALiveRunStayAndThoseOfAKilledRunGo) {
    test::TempDir folder;
    // A killed run: its half file and its lock, which nobody holds; a DVD
    // folder whose lock is gone already.
    test::writeFile(folder.file(".quilo-partial-dead0001-1.mp4"), "half");
    test::writeFile(folder.file(".quilo-partial-dead0001.lock"), "");
    std::filesystem::create_directory(folder.file(".quilo-partial-dead0002-1"));
    test::writeFile(folder.file("finished.mp4"), "x");
    {
        PartialOutputs live(folder.path());
        std::string error;
        const std::string temporary = live.TemporaryPath(folder.file("clip.mp4"), error);
        ASSERT_EQ(temporary.rfind(folder.file(".quilo-partial-"), 0), 0u) << error;
        EXPECT_TRUE(temporary.ends_with(".mp4")); // some containers are chosen by it
        test::writeFile(temporary, "converting");
        std::vector<std::string> removed = PartialOutputs::RemoveLeftovers(folder.path());
        std::sort(removed.begin(), removed.end());
        EXPECT_EQ(removed,
                  (std::vector<std::string>{".quilo-partial-dead0001-1.mp4", ".quilo-partial-dead0001.lock",
                                            ".quilo-partial-dead0002-1"}));
        EXPECT_TRUE(test::fileExists(temporary)); // the live run's file stays
        test::writeFile(live.TemporaryPath(folder.file("other.mp4"), error), "failed half");
        EXPECT_TRUE(live.Keep(temporary, folder.file("clip.mp4"), error)) << error;
    }
    // Gone with its run: what it did not keep, and its lock.
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"clip.mp4", "finished.mp4"}));
}

} // namespace
} // namespace quilo
