// Web links among quilo-convert's files, downloaded by the real downloader over
// yt-dlp from pages served on 127.0.0.1 and converted like local files.
#include "cli_support.h"
#include "quilo_test/page_server.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

using namespace quilo::test;
using ::testing::HasSubstr;

namespace {

std::string clip() {
    return fixture("download-clip.mp4",
                   {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10", "-f", "lavfi", "-i",
                    "sine=frequency=440", "-t", "2", "-c:v", "libx264", "-c:a", "aac", "-shortest"});
}

struct ServedSite {
    TempDir folder;
    std::unique_ptr<PageServer> server;
    ServedSite() {
        std::filesystem::copy_file(clip(), folder.file("clip.mp4"));
        writeFile(folder.file("page.html"), pageWith("Harbour", "<video src=\"clip.mp4\"></video>"));
        writeFile(folder.file("plain.html"), pageWith("Plain", "<p>only words</p>"));
        server = std::make_unique<PageServer>(folder.path());
    }
    std::string url(const std::string& path) const { return server->url(path); }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

} // namespace

TEST(ConverterLinks, APageLinkIsDownloadedAndConvertedAndItsFileNamed) {
    ServedSite site;
    ASSERT_TRUE(site.server->running());
    ConverterHome home;
    TempDir out;
    const ProcessResult run = home.convert({"--output", out.path(), "/MP4", site.url("page.html")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> printed = lines(run.out);
    ASSERT_EQ(printed.size(), 1u) << run.out;
    EXPECT_EQ(printed[0].rfind(out.path(), 0), 0u) << printed[0];
    EXPECT_EQ(std::filesystem::path(printed[0]).extension(), ".mp4");
    const QJsonObject probe = ffprobe(printed[0]);
    EXPECT_EQ(streamCount(probe, "video"), 1);
    EXPECT_EQ(streamCount(probe, "audio"), 1);
    EXPECT_NEAR(durationSeconds(probe), 2.0, 0.3);
    // A line for each stage.
    EXPECT_THAT(run.err, HasSubstr("analysing " + site.url("page.html")));
    EXPECT_THAT(run.err, HasSubstr("downloading " + site.url("page.html")));
    EXPECT_THAT(run.err, HasSubstr("100%"));
    EXPECT_THAT(run.err, HasSubstr("[1/1]"));
}

TEST(ConverterLinks, FailedLinksAreToldAndTheJobGoesOnWithTheOthers) {
    ServedSite site;
    ASSERT_TRUE(site.server->running());
    ConverterHome home;
    TempDir out;
    const ProcessResult run = home.convert({"--output", out.path(), "/MP4", site.url("plain.html"),
                                            site.url("missing.html"), site.url("clip.mp4"), sixSecondClip()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("The video link is not supported."));
    EXPECT_THAT(run.err, HasSubstr("Unable to obtain the video URL."));
    const std::vector<std::string> printed = lines(run.out);
    ASSERT_EQ(printed.size(), 2u) << run.out << run.err;
    EXPECT_NEAR(durationSeconds(ffprobe(printed[0])), 6.0, 0.3); // local files convert before links
    EXPECT_NEAR(durationSeconds(ffprobe(printed[1])), 2.0, 0.3);
}

TEST(ConverterLinks, ADvdFolderFromALinkIsReadByLsdvd) {
    ServedSite site;
    ASSERT_TRUE(site.server->running());
    ConverterHome home;
    TempDir out;
    const ProcessResult run = home.convert({"--output", out.path(), "/DVD_Folder", site.url("page.html")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string folder = lines(run.out).at(0);
    EXPECT_TRUE(fileExists(folder + "VIDEO_TS/VIDEO_TS.IFO"));
    const ProcessResult listed = runProcess("lsdvd", {folder}, 60000);
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("Title: 01"));
}
