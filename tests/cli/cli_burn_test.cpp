// quilo-convert burning a DVD disc job to a file drive, as a user runs it.
#include "cli_support.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo::test;

namespace {

void lastUsedDvdDisc(const ConverterHome& home) {
    std::filesystem::create_directories(home.dataFolder());
    writeFile(home.dataFolder() + "Option.ini",
              "[version]\nver=99991231\n[ConvertParam]\nType=7\nFormat=DVD_Disc\n"
              "profile=-1\nDVD_NTSC=0\nDVD_169=0\nBox_VOB=1\n");
}

} // namespace

TEST(CliBurn, DvdDiscJobBurnsToTheNamedDrive) {
    ConverterHome home;
    TempDir out;
    lastUsedDvdDisc(home);
    const std::string image = out.file("disc.iso");
    const ProcessResult run = home.convert({"--output", out.file("job"), "--drive", "stdio:" + image,
                                            "/DVD_Disc", sixSecondClip(), sixSecondClip()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("burning 100%"), std::string::npos) << run.err;

    const ProcessResult lsdvd = runProcess("lsdvd", {"-v", "-Oy", image}, 60000);
    ASSERT_EQ(lsdvd.exitCode, 0) << lsdvd.err;
    EXPECT_NE(lsdvd.out.find("'ix' : 2"), std::string::npos) << lsdvd.out;
    EXPECT_EQ(lsdvd.out.find("'ix' : 3"), std::string::npos) << lsdvd.out;
}

TEST(CliBurn, RefusalsSayWhyAndWithoutADriveNothingIsBurned) {
    ConverterHome home;
    TempDir out;
    lastUsedDvdDisc(home);

    // A drive that is not there: refused before anything is converted.
    const ProcessResult missing =
        home.convert({"--output", out.file("job"), "--drive", "stdio:/no/such/folder/disc.iso", "/DVD_Disc",
                      sixSecondClip()});
    EXPECT_EQ(missing.exitCode, 1) << missing.err;
    EXPECT_NE(missing.err.find("Cannot find your burner, cannot create DVD disc."), std::string::npos)
        << missing.err;
    EXPECT_FALSE(std::filesystem::exists(out.file("job")));

    const ProcessResult misplaced =
        home.convert({"--drive", "stdio:" + out.file("x.iso"), "/MP4", sixSecondClip()});
    EXPECT_EQ(misplaced.exitCode, 64) << misplaced.err;
    EXPECT_EQ(home.convert({"/DVD_Disc", "--drive"}).exitCode, 64);

    // Without --drive the DVD folder is made and the job says no disc was written.
    const ProcessResult folderOnly =
        home.convert({"--output", out.file("job"), "/DVD_Disc", sixSecondClip()});
    EXPECT_EQ(folderOnly.exitCode, 1);
    EXPECT_NE(folderOnly.err.find("writing to a disc is not available"), std::string::npos) << folderOnly.err;
}
