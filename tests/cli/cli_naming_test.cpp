// The user's naming template in Option.ini names the files quilo-convert writes.
#include "cli_support.h"
#include "platform/ini_file.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(ConverterNaming, TheUsersTemplateAndSerialSettingsNameTheOutput) {
    ConverterHome home;
    // The user's own settings: the shipped file with a template of their own.
    std::filesystem::create_directories(home.dataFolder());
    std::filesystem::copy_file(programDir() + "Option.ini", home.dataFolder() + "Option.ini");
    {
        IniFile options(home.dataFolder() + "Option.ini");
        options.writeString("Option", "Template", "#ClipID-#SN-#Name");
        options.writeInteger("Option", "OutputPSPSerialNumber", 7);
        options.writeInteger("Option", "FitDigi", 2);
    }
    TempDir sources, out;
    std::filesystem::copy_file(sixSecondClip(), sources.file("myclip.mp4"));
    std::filesystem::copy_file(sixSecondClip(), sources.file("other.mp4"));

    const ProcessResult run =
        home.convert({"--output", out.path(), "/MP4", sources.file("myclip.mp4"), sources.file("other.mp4")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, out.file("Clip0-07-myclip.mp4") + "\n" + out.file("Clip1-08-other.mp4") + "\n");
    const QJsonObject probe = ffprobe(out.file("Clip0-07-myclip.mp4"));
    EXPECT_TRUE(probe["format"].toObject()["format_name"].toString().contains("mp4"));
    EXPECT_EQ(streamCount(probe, "video"), 1);
    EXPECT_FALSE(fileExists(out.file("myclip.mp4")));
    // The settings are the user's still.
    EXPECT_EQ(IniFile(home.dataFolder() + "Option.ini").readString("Option", "Template", ""),
              "#ClipID-#SN-#Name");
}

// The serial number goes on where the last run stopped, as it does in the
// window from one job to the next; names without it leave the count alone.
TEST(ConverterNaming, TheSerialNumberCountsOnFromRunToRun) {
    ConverterHome home;
    std::filesystem::create_directories(home.dataFolder());
    std::filesystem::copy_file(programDir() + "Option.ini", home.dataFolder() + "Option.ini");
    IniFile options(home.dataFolder() + "Option.ini");
    options.writeString("Option", "Template", "#SN-#Name");
    options.writeInteger("Option", "OutputPSPSerialNumber", 7);
    TempDir sources, out;
    std::filesystem::copy_file(sixSecondClip(), sources.file("myclip.mp4"));
    std::filesystem::copy_file(sixSecondClip(), sources.file("other.mp4"));
    writeFile(sources.file("broken.mp4"), "not a video at all");

    ProcessResult run =
        home.convert({"--output", out.path(), "/MP4", sources.file("myclip.mp4"), sources.file("other.mp4")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, out.file("007-myclip.mp4") + "\n" + out.file("008-other.mp4") + "\n");
    EXPECT_EQ(options.readString("Option", "OutputPSPSerialNumber", ""), "9");

    // A file that cannot be loaded takes no number.
    run =
        home.convert({"--output", out.path(), "/MP4", sources.file("broken.mp4"), sources.file("other.mp4")});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, out.file("009-other.mp4") + "\n");
    EXPECT_EQ(streamCount(ffprobe(out.file("009-other.mp4")), "video"), 1);
    EXPECT_EQ(options.readString("Option", "OutputPSPSerialNumber", ""), "10");

    options.writeString("Option", "Template", "#Name");
    run = home.convert({"--output", out.path(), "/MP4", sources.file("myclip.mp4")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, out.file("myclip.mp4") + "\n");
    EXPECT_EQ(options.readString("Option", "OutputPSPSerialNumber", ""), "10");
}
