// The rows of the link list: a link row with its file rows, their cells and
// connectors, one selected link at a time, and removal of the selected link.
#include "downloader/download_manager.h"
#include "downloader/web_list.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// Tasks whose videos are set by hand: the rows only read what a task holds.
struct Rows : ::testing::Test {
    TempDir output;
    CallerThreadCarrier carrier;
    ScriptedPrompter prompter;
    DownloadContext context;
    std::vector<std::unique_ptr<TDownloadTask>> tasks;
    WebVideoRows rows;

    Rows() {
        context.downloadFolder = output.path();
        context.carrier = &carrier;
        context.prompter = &prompter;
    }
    TDownloadTask& task(int files, double size = 1572864) {
        tasks.push_back(std::make_unique<TDownloadTask>(context, static_cast<long>(tasks.size()) + 1));
        for (int i = 0; i < files; ++i) {
            TVideoMessage video;
            video.name = std::to_string(i + 1) + ".mp4";
            video.totalSize = size;
            video.mediaUrl = "http://127.0.0.1/" + video.name;
            tasks.back()->AddVideo(video);
        }
        rows.AddLink(*tasks.back());
        return *tasks.back();
    }
};

} // namespace

TEST_F(Rows, ALinkWithThreeFilesGivesALinkRowAndThreeFileRowsEndingInTheEndConnector) {
    task(3);
    const auto& all = rows.Rows();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_TRUE(all[0].isLink);
    EXPECT_EQ(all[0].leadLeft, 3);
    EXPECT_EQ(all[0].cells.at(0).left, 20);
    EXPECT_EQ(all[0].cells.at(0).right, 540);
    EXPECT_EQ(all[2].cell("FileName"), "2.mp4");
    EXPECT_EQ(all[2].cell("FileUrl"), "http://127.0.0.1/2.mp4");
    EXPECT_EQ(all[2].cell("FileTotal"), "1.50M");
    EXPECT_EQ(all[1].connector, WebConnector::Middle);
    EXPECT_EQ(all[2].connector, WebConnector::Middle);
    EXPECT_EQ(all[3].connector, WebConnector::End);
    EXPECT_EQ(all[3].iconLeft, 20);
    EXPECT_EQ(rows.Top(3), 54);
    EXPECT_EQ(rows.Height(), 72);
    EXPECT_EQ(MegabytesText(0), "0.00M");
}

TEST_F(Rows, PressingAFileSelectsItsLinkAndAnotherLinkTakesTheSelectionOver) {
    const TDownloadTask& first = task(2);
    const TDownloadTask& second = task(1);
    EXPECT_EQ(rows.SelectedTask(), 0);
    EXPECT_FALSE(rows.Press(5));

    EXPECT_TRUE(rows.Press(2)); // a file of the first link
    EXPECT_EQ(rows.SelectedTask(), first.id());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(rows.Rows()[static_cast<size_t>(i)].selected) << i;
    EXPECT_FALSE(rows.Rows()[3].selected);

    EXPECT_TRUE(rows.Press(3));
    EXPECT_EQ(rows.SelectedTask(), second.id());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(rows.Rows()[static_cast<size_t>(i)].selected) << i;
    EXPECT_TRUE(rows.Rows()[4].selected);
}

TEST_F(Rows, RemovingTheSelectedLinkTakesItsFilesAndKeepsTheOthersInOrder) {
    task(1);
    const TDownloadTask& middle = task(2);
    const TDownloadTask& last = task(1);
    EXPECT_FALSE(rows.RemoveSelected());
    rows.Press(3);
    ASSERT_EQ(rows.SelectedTask(), middle.id());
    EXPECT_TRUE(rows.RemoveSelected());
    ASSERT_EQ(rows.Rows().size(), 4u);
    EXPECT_EQ(rows.Rows()[2].taskId, last.id());
    EXPECT_EQ(rows.SelectedTask(), 0);
}
