#include "conversion/output_path.h"
#include "quilo_test/support.h"

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

} // namespace
} // namespace quilo
