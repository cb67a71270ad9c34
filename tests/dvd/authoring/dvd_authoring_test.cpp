// The authoring step's outcomes besides success (which the converter's DVD
// folder test shows end to end).
#include "dvd/authoring/dvd_authoring.h"
#include "quilo_test/support.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(DvdAuthoringStep, AFailedAuthoringKeepsTheConvertedFilesAndSaysSoInTheLog) {
    TempDir data, out;
    writeFile(out.file("VOB_1.vob"), std::string(2 * 1024 * 1024, 'x')); // no MPEG program stream
    DvdAuthoring authoring(programDir(), data.path());
    EXPECT_EQ(authoring.AuthorDvd(out.path(), {out.file("VOB_1.vob")}, 1, {}), AuthorFailed);
    EXPECT_TRUE(fileExists(out.file("VOB_1.vob")));
    EXPECT_FALSE(fileExists(data.file("author.xml")));
    EXPECT_FALSE(readFile(data.file("tamberlog.log")).empty());
    EXPECT_FALSE(authoring.running());
    EXPECT_EQ(authoring.ProgressPercent(), 0);
}

TEST(DvdAuthoringStep, MissingFilesTooManyClipsAndNoLibrary) {
    TempDir data, out, empty;
    writeFile(out.file("VOB_1.vob"), "x");
    DvdAuthoring authoring(programDir(), data.path());
    EXPECT_EQ(authoring.AuthorDvd(out.path(), {out.file("VOB_1.vob"), out.file("gone.vob")}, 2, {}),
              AuthorMissingFile);
    EXPECT_EQ(authoring.AuthorDvd(out.path(), {out.file("VOB_1.vob")}, 100, {}), AuthorTooManyClips);
    EXPECT_TRUE(fileExists(out.file("VOB_1.vob"))); // not authored: kept

    DvdAuthoring withoutLibrary(empty.path(), data.path());
    EXPECT_EQ(withoutLibrary.AuthorDvd(out.path(), {out.file("VOB_1.vob")}, 1, {}), AuthorLibraryUnusable);
    EXPECT_FALSE(fileExists(data.file("author.xml")));
    EXPECT_TRUE(fileExists(out.file("VOB_1.vob")));
}
