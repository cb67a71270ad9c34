// File names of downloaded videos come from the network and must stay one
// harmless name inside the download folder.
#include "file_names.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace videodl;

TEST(VideodlFileNames, FormatFieldsExpandAndOtherTextStays) {
    const VideoNaming video{"index-1", "Harbour at dawn", "mp4"};
    EXPECT_EQ(expandFileNameFormat("%i.%s", video), "index-1.mp4");
    EXPECT_EQ(expandFileNameFormat("%t (%i).%s", video), "Harbour at dawn (index-1).mp4");
    EXPECT_EQ(expandFileNameFormat("100%%_%q_%", video), "100%_%q_%");
}

TEST(VideodlFileNames, NetworkNamesBecomeOneComponentInsideTheFolder) {
    EXPECT_EQ(safeFileName("../../x.mp4"), "_.._x.mp4");
    EXPECT_EQ(safeFileName("/etc/passwd"), "_etc_passwd");
    EXPECT_EQ(safeFileName("a\\b\nc\x7f"), "a_b_c_");
    for (const char* nothing : {"", ".", "..", " . ", "...."})
        EXPECT_EQ(safeFileName(nothing), "video") << nothing;
    EXPECT_EQ(safeFileName(".hidden.mp4"), "hidden.mp4");
    EXPECT_EQ(safeFileName("Ünïcode title.mp4"), "Ünïcode title.mp4");
}

TEST(VideodlFileNames, LongNamesAreCutBetweenCharacters) {
    std::string longName;
    for (int i = 0; i < 150; ++i)
        longName += "é"; // two bytes each
    const std::string cut = safeFileName("x" + longName);
    EXPECT_LE(cut.size(), 200u);
    EXPECT_EQ(cut.size(), 199u); // "x" and 99 whole characters
    EXPECT_EQ(static_cast<unsigned char>(cut.back()), 0xA9u);
}

TEST(VideodlFileNames, RepeatedNamesOfOneRunGetNumbers) {
    std::set<std::string> taken;
    EXPECT_EQ(uniqueFileName("clip.mp4", taken), "clip.mp4");
    EXPECT_EQ(uniqueFileName("clip.mp4", taken), "clip (2).mp4");
    EXPECT_EQ(uniqueFileName("clip.mp4", taken), "clip (3).mp4");
    EXPECT_EQ(uniqueFileName("noext", taken), "noext");
    EXPECT_EQ(uniqueFileName("noext", taken), "noext (2)");
}
