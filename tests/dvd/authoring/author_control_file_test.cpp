#include "dvd/authoring/author_control_file.h"
#include "quilo_test/support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quilo {
namespace {

std::vector<std::string> makeClips(const test::TempDir& folder, int count, size_t bytes = 16) {
    std::vector<std::string> clips;
    for (int i = 0; i < count; ++i) {
        clips.push_back(folder.file("clip" + std::to_string(i) + ".vob"));
        test::writeFile(clips.back(), std::string(bytes, 'v'));
    }
    return clips;
}

std::vector<std::string> linesContaining(const std::vector<std::string>& lines, const std::string& part) {
    std::vector<std::string> found;
    for (const auto& line : lines)
        if (line.find(part) != std::string::npos)
            found.push_back(line);
    return found;
}

TEST(DvdControlFile, ThreeClipsPlayIntoEachOtherAndBackToTheFirst) {
    test::TempDir data, out;
    const auto clips = makeClips(out, 3);
    const auto control = WriteAuthorControlFile(data.path(), out.path(), clips, 3, {});
    EXPECT_EQ(control.result, AuthorDone);
    EXPECT_EQ(control.dvdFolder, out.file("DVD_DISC"));

    const std::string text = test::readFile(data.file("author.xml"));
    const std::string expected = "<dvdauthor dest=\"" + out.file("DVD_DISC") +
                                 "\">\r\n"
                                 "  <vmgm>\r\n"
                                 "  </vmgm>\r\n"
                                 "  <titleset>\r\n"
                                 "      <titles>\r\n"
                                 "         <video format=\"ntsc\" aspect=\"16:9\"\r\n"
                                 "                resolution=\"720x480\"\r\n"
                                 "                widescreen=\"nopanscan\" />\r\n"
                                 "         <audio format=\"ac3\"\r\n"
                                 "                quant=\"16bps\" dolby=\"surround\"\r\n"
                                 "                samplerate=\"48khz\"/>\r\n"
                                 "        <pgc>\r\n"
                                 "          <vob file=\"" +
                                 clips[0] +
                                 "\" />\r\n"
                                 "          <post>jump title 2 ;</post>\r\n"
                                 "        </pgc>\r\n"
                                 "        <pgc>\r\n"
                                 "          <vob file=\"" +
                                 clips[1] +
                                 "\" />\r\n"
                                 "          <post>jump title 3 ;</post>\r\n"
                                 "        </pgc>\r\n"
                                 "        <pgc>\r\n"
                                 "          <vob file=\"" +
                                 clips[2] +
                                 "\" />\r\n"
                                 "          <post>jump title 1;</post>\r\n"
                                 "        </pgc>\r\n"
                                 "      </titles>\r\n"
                                 "  </titleset>\r\n"
                                 "</dvdauthor>\r\n";
    EXPECT_EQ(text, expected);
}

TEST(DvdControlFile, OneClipReturnsToItselfAndPalFourThreeHasNoWidescreenFlag) {
    test::TempDir out;
    long total = 0;
    bool missing = false;
    const auto lines = BuildAuthorLines("/d", {true, true, false}, makeClips(out, 1), total, missing);
    EXPECT_FALSE(missing);
    EXPECT_EQ(linesContaining(lines, "<post>"),
              std::vector<std::string>{"          <post>jump title 1;</post>"});
    EXPECT_EQ(lines[5], "         <video format=\"pal\" aspect=\"4:3\"");
    EXPECT_EQ(lines[6], "                resolution=\"720x576\"");
    EXPECT_EQ(lines[7], "                />");
}

TEST(DvdControlFile, TooManyClipsStopAfterTheHundredAndFirstAndFail) {
    test::TempDir data, out;
    const auto clips = makeClips(out, 101);
    const auto control = WriteAuthorControlFile(data.path(), out.path(), clips, 101, {});
    EXPECT_EQ(control.result, AuthorTooManyClips);
    const std::string text = test::readFile(data.file("author.xml"));
    EXPECT_NE(text.find("jump title 101 ;"), std::string::npos);
    EXPECT_EQ(text.find("jump title 102 ;"), std::string::npos);
    EXPECT_NE(text.find(clips[100]), std::string::npos);

    // 99 clips are fine.
    const auto fewer = WriteAuthorControlFile(data.path(), out.path(), makeClips(out, 99), 99, {});
    EXPECT_EQ(fewer.result, AuthorDone);
}

TEST(DvdControlFile, MissingFileAndSizes) {
    test::TempDir data, out;
    auto clips = makeClips(out, 2, 1024 * 1024 + 5);
    auto control = WriteAuthorControlFile(data.path(), out.path(), clips, 2, {});
    EXPECT_EQ(control.totalMegabytes, 2);

    EXPECT_EQ(WriteAuthorControlFile(data.path(), out.path(), makeClips(out, 3, 100), 3, {}).totalMegabytes,
              0);

    clips.insert(clips.begin() + 1, out.file("gone.vob"));
    control = WriteAuthorControlFile(data.path(), out.path(), clips, 3, {});
    EXPECT_EQ(control.result, AuthorMissingFile);
}

TEST(DvdControlFile, FolderNameSkipsExistingOnesAndPathsAreEscaped) {
    test::TempDir data, out;
    std::filesystem::create_directory(out.file("DVD_DISC"));
    std::filesystem::create_directory(out.file("DVD_DISC_1"));
    EXPECT_EQ(ChooseDvdFolder(out.path()), out.file("DVD_DISC_2"));

    const std::string odd = out.file("a&b \"<c>\".vob");
    test::writeFile(odd, "v");
    WriteAuthorControlFile(data.path(), out.path(), {odd}, 1, {});
    const std::string text = test::readFile(data.file("author.xml"));
    EXPECT_NE(text.find("a&amp;b &quot;&lt;c&gt;&quot;.vob"), std::string::npos);
}

} // namespace
} // namespace quilo
