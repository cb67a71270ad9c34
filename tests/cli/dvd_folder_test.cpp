// A DVD folder from clips of different sizes, rates and lengths, read back by lsdvd.
#include "cli_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

using namespace quilo::test;

namespace {

std::string clipOf(const std::string& size, int rate, int seconds) {
    return fixture("dvd-" + size + "-" + std::to_string(rate) + "-" + std::to_string(seconds) + ".mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=" + size + ":rate=" + std::to_string(rate), "-f",
                    "lavfi", "-i", "sine=frequency=440", "-t", std::to_string(seconds), "-c:v", "libx264",
                    "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
}

struct DvdTitle {
    double length = 0;
    std::string format, aspect;
};

// lsdvd's Python-style listing, read title by title.
std::vector<DvdTitle> titlesOf(const std::string& folder) {
    const ProcessResult listed = runProcess("lsdvd", {"-v", "-Oy", folder}, 60000);
    std::vector<DvdTitle> titles;
    const std::regex field(R"('(length|format|aspect)' : '?([^',]+)'?,)");
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (line.find("'ix' :") != std::string::npos && line.find("'track'") == std::string::npos &&
            line.find("          ") == std::string::npos)
            titles.emplace_back();
        if (!titles.empty() && std::regex_search(line, match, field) && line.rfind("      '", 0) == 0 &&
            line.rfind("       ", 0) != 0) {
            if (match[1] == "length")
                titles.back().length = std::stod(match[2]);
            else if (match[1] == "format")
                titles.back().format = match[2];
            else
                titles.back().aspect = match[2];
        }
    }
    return titles;
}

} // namespace

TEST(DvdFolderTarget, ThreeClipsBecomeThreeTitles) {
    ConverterHome home;
    TempDir out;
    // PAL 4:3, as the panel left it last time.
    std::filesystem::create_directories(home.dataFolder());
    writeFile(home.dataFolder() + "Option.ini",
              "[version]\nver=99991231\n[ConvertParam]\nType=7\nFormat=DVD_Folder\n"
              "profile=-1\nDVD_NTSC=0\nDVD_169=0\nBox_VOB=1\n");
    const ProcessResult run = home.convert({"--output", out.path(), "/DVD_Folder", clipOf("320x240", 25, 3),
                                            clipOf("640x360", 30, 4), clipOf("176x144", 15, 5)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string folder = out.file("DVD_DISC/");
    EXPECT_EQ(run.out, folder + "\n");
    EXPECT_TRUE(fileExists(folder + "VIDEO_TS/VIDEO_TS.IFO"));

    const std::vector<DvdTitle> titles = titlesOf(folder);
    ASSERT_EQ(titles.size(), 3u) << runProcess("lsdvd", {"-v", "-Oy", folder}).out;
    const double lengths[] = {3, 4, 5};
    for (size_t i = 0; i < titles.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(titles[i].length, lengths[i], 0.3);
        EXPECT_EQ(titles[i].format, "PAL");
        EXPECT_EQ(titles[i].aspect, "4/3");
    }
    // Only the DVD folder is left: the converted files and the control file are gone.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(out.path()))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"DVD_DISC"});
    EXPECT_FALSE(fileExists(home.dataFolder() + "author.xml"));

    // A second job writes beside the first.
    const ProcessResult again =
        home.convert({"--output", out.path(), "/DVD_Folder", clipOf("320x240", 25, 3)});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, out.file("DVD_DISC_1/") + "\n");
}

TEST(DvdFolderTarget, TheDiscTargetStopsAfterAuthoringAndSaysWhy) {
    ConverterHome home;
    TempDir out;
    const ProcessResult run = home.convert({"--output", out.path(), "/DVD_Disc", clipOf("320x240", 25, 3)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("writing to a disc is not available"), std::string::npos) << run.err;
}
