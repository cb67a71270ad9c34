// What the library reads from yt-dlp: its progress lines, its -J info and the
// arguments of Run.
#include "page_info.h"
#include "progress_line.h"
#include "run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace videodl;

TEST(VideodlProgress, LinesOfTheTemplateAreReadAndOthersIgnored) {
    const auto first = parseProgressLine("QUILO-PROGRESS downloading 1024 26234 NA NA NA");
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->finished);
    EXPECT_EQ(first->downloaded, 1024);
    EXPECT_EQ(first->total, 26234);
    EXPECT_EQ(first->bytesPerSecond, 0);
    EXPECT_EQ(first->remainingSeconds, -1);
    EXPECT_EQ(percentOf(*first), 3);

    const auto estimated = parseProgressLine("QUILO-PROGRESS downloading 500 NA 1000 2048.5 7");
    ASSERT_TRUE(estimated);
    EXPECT_EQ(estimated->total, 1000);
    EXPECT_EQ(estimated->remainingSeconds, 7);

    for (const char* other : {"[download] Destination: x.mp4", "QUILO-PROGRESS downloading 1", "",
                              "QUILO-PROGRESSX downloading 1 2 3 4 5"})
        EXPECT_FALSE(parseProgressLine(other)) << other;
}

TEST(VideodlProgress, OnlyAFinishedFileIsAtHundredPercent) {
    auto whole = parseProgressLine("QUILO-PROGRESS downloading 26234 26234 NA 100 0");
    ASSERT_TRUE(whole);
    EXPECT_EQ(percentOf(*whole), 99);
    EXPECT_EQ(whole->remainingSeconds, 0);
    auto done = parseProgressLine("QUILO-PROGRESS finished 26234 NA NA NA NA");
    ASSERT_TRUE(done);
    EXPECT_EQ(percentOf(*done), 100);
    EXPECT_EQ(done->total, 26234); // a finished file's size is what arrived
    auto unknownSize = parseProgressLine("QUILO-PROGRESS downloading 5000 NA NA NA NA");
    EXPECT_EQ(percentOf(*unknownSize), 0);
    auto garbage = parseProgressLine("QUILO-PROGRESS downloading -5 nan inf 1e400 -3");
    ASSERT_TRUE(garbage);
    EXPECT_EQ(percentOf(*garbage), 0);
    EXPECT_EQ(garbage->remainingSeconds, -1);
}

TEST(VideodlProgress, RatesAndTimesAreShownInReadableUnits) {
    double rate = 0;
    std::string unit;
    scaleRate(512, rate, unit);
    EXPECT_EQ(unit, "B/s");
    scaleRate(2048, rate, unit);
    EXPECT_EQ(rate, 2);
    EXPECT_EQ(unit, "KB/s");
    scaleRate(3.5 * 1024 * 1024, rate, unit);
    EXPECT_EQ(rate, 3.5);
    EXPECT_EQ(unit, "MB/s");
    EXPECT_EQ(remainingTimeText(3725), "01:02:05");
    EXPECT_EQ(remainingTimeText(0), "00:00:00");
    EXPECT_EQ(remainingTimeText(-1), "");
}

TEST(VideodlPageInfo, OneVideoAPlaylistAndBrokenOutput) {
    std::vector<PageVideo> videos;
    ASSERT_TRUE(parsePageInfo(R"({"id":"index-1","title":"T","ext":"mp4",
        "requested_downloads":[{"url":"http://127.0.0.1/c.mp4","filesize":1234,"http_headers":{"A":"b"}}]})",
                              videos));
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_EQ(videos[0].mediaUrl, "http://127.0.0.1/c.mp4");
    EXPECT_EQ(videos[0].size, 1234);
    EXPECT_EQ(videos[0].headersJson, R"({"A":"b"})");

    ASSERT_TRUE(parsePageInfo(R"({"_type":"playlist","entries":[{"id":"a","url":"u1","filesize_approx":5},
        null,{"id":"b","url":"u2","protocol":"m3u8_native"}]})",
                              videos));
    ASSERT_EQ(videos.size(), 2u);
    EXPECT_EQ(videos[0].size, 5);
    EXPECT_EQ(videos[1].id, "b");
    EXPECT_EQ(videos[1].size, 0);
    EXPECT_EQ(videos[1].protocol, "m3u8_native");

    ASSERT_TRUE(parsePageInfo(R"({"_type":"playlist","entries":[]})", videos));
    EXPECT_TRUE(videos.empty());
    EXPECT_FALSE(parsePageInfo("ERROR: something", videos));
    EXPECT_FALSE(parsePageInfo("[1,2]", videos));
}

TEST(VideodlArguments, OptionsBeforeThePageAddressAndNothingAfterIt) {
    const RunArguments analysis =
        parseRunArguments({"a.exe", "--filename-format=%t.%s", "--emit-csv", "http://h/p", "--no-continue"});
    EXPECT_EQ(analysis.fileNameFormat, "%t.%s");
    EXPECT_TRUE(analysis.analyseOnly);
    EXPECT_TRUE(analysis.resume);
    EXPECT_EQ(analysis.pageUrl, "http://h/p");

    const RunArguments download = parseRunArguments({"http://ignored", "--no-continue", "", "http://h/q"});
    EXPECT_FALSE(download.analyseOnly);
    EXPECT_FALSE(download.resume);
    EXPECT_EQ(download.fileNameFormat, "%i.%s");
    EXPECT_EQ(download.pageUrl, "http://h/q");

    EXPECT_TRUE(parseRunArguments({"a.exe", "--emit-csv"}).pageUrl.empty());
}
