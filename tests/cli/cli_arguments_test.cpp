// The command line of the converter without windows.
#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

using namespace quilo;

TEST(CliArguments, SwitchesOptionsAndFiles) {
    std::string error;
    auto parsed = ParseCliArguments(
        {"--output", "/tmp/out", "/MP4", "a.avi", "--profile", "Small", "/abs/b.mkv"}, error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->target, "MP4");
    EXPECT_EQ(parsed->outputFolder, "/tmp/out");
    EXPECT_EQ(parsed->profile, "Small");
    EXPECT_EQ(parsed->files, (std::vector<std::string>{"a.avi", "/abs/b.mkv"}));

    parsed = ParseCliArguments({"/WAV", "--", "--odd-name.mp4"}, error);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->files, std::vector<std::string>{"--odd-name.mp4"});
    EXPECT_EQ(ParseCliArguments({"--list-targets"}, error)->action, CliArguments::Action::ListTargets);
    parsed =
        ParseCliArguments({"--drive", "stdio:/tmp/disc.iso", "/DVD_Disc", "a.mp4", "--", "--drive"}, error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->drive, "stdio:/tmp/disc.iso");
    EXPECT_EQ(parsed->files, (std::vector<std::string>{"a.mp4", "--drive"}));
}

TEST(CliArguments, MistakesAreNamed) {
    std::string error;
    EXPECT_FALSE(ParseCliArguments({"/mp4", "a.avi"}, error));
    EXPECT_NE(error.find("unknown target /mp4"), std::string::npos);
    EXPECT_FALSE(ParseCliArguments({"/MP4", "/no-such-folder-here.mp4"}, error));
    EXPECT_EQ(error, "no such file /no-such-folder-here.mp4");
    EXPECT_FALSE(ParseCliArguments({"/MP4"}, error));
    EXPECT_EQ(error, "no files to convert");
    EXPECT_FALSE(ParseCliArguments({"--output"}, error));
    EXPECT_EQ(error, "--output needs a value");
    EXPECT_FALSE(ParseCliArguments({"/DVD_Disc", "a.mp4", "--drive"}, error));
    EXPECT_FALSE(ParseCliArguments({"--fast", "a.avi"}, error));
    EXPECT_FALSE(ParseCliArguments({"--list-profiles"}, error));
    EXPECT_FALSE(ParseCliArguments({"a.avi", ""}, error));
}
