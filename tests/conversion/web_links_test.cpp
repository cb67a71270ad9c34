// Links in the clip area and their download stage, with the real downloader
// over yt-dlp against pages served on 127.0.0.1: one page with a video, the
// video file itself, a page without video and a page that is not there.
#include "conversion/job_runner.h"
#include "conversion/link_downloads.h"
#include "conversion/link_feed.h"
#include "conversion/web_links.h"
#include "job_fixture.h"
#include "quilo_test/page_server.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using namespace quilo;
using namespace quilo::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::string clip() {
    return fixture("download-clip.mp4",
                   {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10", "-f", "lavfi", "-i",
                    "sine=frequency=440", "-t", "2", "-c:v", "libx264", "-c:a", "aac", "-shortest"});
}

// Both windows' notices in the order they were posted.
struct Notices {
    struct Notice {
        unsigned int message;
        long wParam, task;
    };
    QuiloWindowPort port{&Notices::post, this};
    std::mutex lock;
    std::deque<Notice> queue;

    static void post(void* context, unsigned int message, long wParam, long lParam) {
        auto* self = static_cast<Notices*>(context);
        std::lock_guard guard(self->lock);
        self->queue.push_back({message, wParam, lParam});
    }
    bool empty() {
        std::lock_guard guard(lock);
        return queue.empty();
    }
    Notice take() {
        std::lock_guard guard(lock);
        const Notice notice = queue.front();
        queue.pop_front();
        return notice;
    }
};

struct LinkTest : ::testing::Test {
    TempDir site;
    TempDir output;
    CallerThreadCarrier carrier;
    ScriptedPrompter prompter;
    Notices notices;
    std::unique_ptr<PageServer> server;
    std::unique_ptr<TDownloadManager> manager;
    ClipList clips{prompter};
    std::unique_ptr<WebLinks> links;
    AddLinkForm form;

    void SetUp() override {
        std::filesystem::copy_file(clip(), site.file("clip.mp4"));
        writeFile(site.file("page.html"), pageWith("Harbour", "<video src=\"clip.mp4\"></video>"));
        writeFile(site.file("plain.html"), pageWith("Plain", "<p>only words</p>"));
        writeFile(site.file("slow.html"), pageWith("Slow", "<video src=\"/slow/clip.mp4\"></video>"));
        server = std::make_unique<PageServer>(site.path());
        ASSERT_TRUE(server->running());
        manager = std::make_unique<TDownloadManager>(programDir(), carrier, prompter, &notices.port);
        manager->SetProgressWindow(&notices.port);
        manager->SetDownloadFolder(output.path());
        manager->SetDownloadEndPause(std::chrono::milliseconds(0));
        links = std::make_unique<WebLinks>(*manager, clips, prompter);
    }
    void TearDown() override {
        links.reset();
        manager.reset();
    }

    // The add-link button with `url` typed into the dialog and OK pressed.
    bool addLink(const std::string& url) {
        return links->AddLinkClicked(form, [&] {
            form.Url = url;
            return form.Accept(links->PageUrls(), prompter);
        });
    }
    // Hands the main window its notices until an analysis has ended.
    AnalysisOutcome analysisEnd() {
        for (;;) {
            carrier.waitUntil([&] { return !notices.empty(); });
            const Notices::Notice notice = notices.take();
            const AnalysisOutcome outcome = links->AnalysisNotice(notice.wParam, notice.task);
            if (notice.wParam == 0)
                return outcome;
        }
    }
};

} // namespace

TEST_F(LinkTest, AnAnalysedPageShowsItsLinkRowAndFileRowWithTheSize) {
    ASSERT_TRUE(addLink(server->url("page.html")));
    EXPECT_EQ(clips.Mode, ListMode::Web);
    EXPECT_TRUE(links->Analysing());
    EXPECT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    EXPECT_FALSE(links->Analysing());
    EXPECT_FALSE(clips.IntroVisible);

    const auto& rows = links->Rows().Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cell("WebUrl"), server->url("page.html"));
    EXPECT_EQ(rows[1].cell("FileUrl"), server->url("clip.mp4"));
    EXPECT_EQ(rows[1].cell("FileTotal"),
              MegabytesText(static_cast<double>(std::filesystem::file_size(clip()))));
    EXPECT_FALSE(rows[1].cell("FileName").empty());
    EXPECT_EQ(rows[1].connector, WebConnector::End);
    EXPECT_THAT(prompter.shown(), IsEmpty());
}

TEST_F(LinkTest, DuplicatesAndOtherSchemesAreRefusedAndFailedPagesLeaveNoRow) {
    ASSERT_TRUE(addLink(server->url("page.html")));
    EXPECT_FALSE(addLink(server->url("page.html"))); // an analysis is going on: nothing happens
    EXPECT_THAT(prompter.shown(), IsEmpty());
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);

    EXPECT_FALSE(addLink(server->url("page.html")));
    EXPECT_FALSE(addLink("ftp://x"));
    EXPECT_THAT(prompter.texts(),
                ElementsAre("The video link already exist", "Please enter the correct video URL."));
    EXPECT_EQ(manager->count(), 1);
    prompter.clear();

    ASSERT_TRUE(addLink(server->url("plain.html")));
    EXPECT_EQ(analysisEnd(), AnalysisOutcome::Failed);
    ASSERT_TRUE(addLink(server->url("missing.html"))); // 404
    EXPECT_EQ(analysisEnd(), AnalysisOutcome::Failed);
    EXPECT_THAT(prompter.texts(),
                ElementsAre("The video link is not supported.", "Unable to obtain the video URL."));
    // The failed links are gone; the analysed one stays, and the list with it.
    EXPECT_THAT(links->PageUrls(), ElementsAre(server->url("page.html")));
    EXPECT_EQ(links->Rows().Rows().size(), 2u);
    EXPECT_EQ(clips.Mode, ListMode::Web);
}

TEST_F(LinkTest, RemovingTheOnlyLinkOrAFailedOnlyLinkReturnsToTheIntroduction) {
    ASSERT_TRUE(addLink(server->url("page.html")));
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    EXPECT_FALSE(links->RemoveClicked()); // nothing selected
    links->PressRow(1);
    EXPECT_TRUE(links->RemoveClicked());
    EXPECT_EQ(manager->count(), 0);
    EXPECT_TRUE(links->Rows().empty());
    EXPECT_EQ(clips.Mode, ListMode::Empty);
    EXPECT_TRUE(clips.IntroVisible);
    EXPECT_EQ(std::string(clips.Progress.Text), "Adding clips, please wait...");

    ASSERT_TRUE(addLink(server->url("plain.html")));
    EXPECT_EQ(analysisEnd(), AnalysisOutcome::Failed);
    EXPECT_EQ(clips.Mode, ListMode::Empty);
    EXPECT_TRUE(clips.IntroVisible);
}

TEST_F(LinkTest, ClearingAsksAndLocalClipsAreKeptUnlessTheUserAgrees) {
    ASSERT_TRUE(addLink(server->url("page.html")));
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(links->ClearClicked());
    EXPECT_EQ(manager->count(), 1);
    EXPECT_TRUE(links->ClearClicked());
    EXPECT_THAT(prompter.texts(),
                ElementsAre("Do you want to clear the file list?", "Do you want to clear the file list?"));
    EXPECT_EQ(manager->count(), 0);
    EXPECT_TRUE(links->Rows().empty());
    EXPECT_EQ(clips.Mode, ListMode::Empty);

    prompter.clear();
    clips.Mode = ListMode::Local;
    prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(addLink(server->url("page.html")));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, SwitchToOnlineText);
    EXPECT_EQ(clips.Mode, ListMode::Local);
    EXPECT_EQ(manager->count(), 0);
}

TEST_F(LinkTest, TheDownloadStageMakesAClipOfEveryLinkThatArrivesAndGoesOnAfterAFailure) {
    ASSERT_TRUE(addLink(server->url("page.html")));
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    ASSERT_TRUE(addLink(server->url("clip.mp4"))); // the file itself
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    // The file goes away before its download: that link fails, the other arrives.
    std::vector<std::string> madeOf;
    std::vector<TVideoInfo> made(2);
    LinkDownloads stage(*manager, [&](const TDownloadTask& task) {
        madeOf.push_back(task.pageUrl());
        made[madeOf.size() - 1].FilePath = task.videos().front()->fullPath;
        return &made[madeOf.size() - 1];
    });
    writeFile(site.file("page.html"), pageWith("Harbour", "<video src=\"gone.mp4\"></video>"));

    ASSERT_TRUE(stage.StartNext());
    std::vector<std::string> progress;
    while (!stage.Over()) {
        carrier.waitUntil([&] { return !notices.empty(); });
        const Notices::Notice notice = notices.take();
        ASSERT_EQ(notice.message, WM_LINK_DOWNLOAD);
        if (stage.DownloadNotice(notice.wParam, notice.task))
            stage.StartNext(); // one download at a time, each when asked for
        if (notice.wParam == 2)
            progress.push_back(stage.Panel().progress);
    }
    EXPECT_THAT(madeOf, ElementsAre(server->url("clip.mp4")));
    ASSERT_EQ(stage.Clips().size(), 1u);
    EXPECT_EQ(stage.ClipTasks().at(0), manager->GetTask(1)->id());
    EXPECT_EQ(streamCount(ffprobe(made[0].FilePath), "video"), 1);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), "100%");

    // Only converted links count as done; the others are named in the message.
    const std::vector<std::string> failed = stage.FinishTasks({EngineResult::Converted});
    EXPECT_EQ(manager->GetTask(1)->state(), TaskConverted);
    EXPECT_THAT(failed, ElementsAre(server->url("page.html")));
    EXPECT_EQ(FailedLinksMessage(failed),
              "The video conversion failed for the following link. \n\n" + server->url("page.html") + "\n");
    // A second job downloads only what is not converted yet.
    LinkDownloads again(*manager, [](const TDownloadTask&) { return nullptr; });
    ASSERT_TRUE(again.StartNext());
    EXPECT_EQ(manager->GetTask(0)->state(), TaskDownloading);
    EXPECT_EQ(manager->GetTask(1)->state(), TaskConverted);
}

TEST_F(LinkTest, AStoppedDownloadEndsTheStageWithoutAClipOrAFile) {
    ASSERT_TRUE(addLink(server->url("slow.html")));
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    int made = 0;
    LinkDownloads stage(*manager, [&](const TDownloadTask&) {
        ++made;
        return nullptr;
    });
    EXPECT_FALSE(stage.Stop()); // nothing runs yet
    ASSERT_TRUE(stage.StartNext());
    while (!stage.Over()) {
        carrier.waitUntil([&] { return !notices.empty(); });
        const Notices::Notice notice = notices.take();
        if (notice.message == WM_LINK_DOWNLOAD) {
            stage.DownloadNotice(notice.wParam, notice.task);
            if (notice.wParam == 2 && !stage.StopRequested()) {
                EXPECT_TRUE(stage.Stop());
            }
        } else if (links->AnalysisNotice(notice.wParam, notice.task) == AnalysisOutcome::Stopped) {
            stage.StopNotice(notice.task);
        }
    }
    EXPECT_TRUE(stage.StopRequested());
    EXPECT_EQ(made, 0);
    EXPECT_THAT(stage.Clips(), IsEmpty());
    const TDownloadTask& task = *manager->GetTask(0);
    EXPECT_EQ(task.state(), TaskStopped);
    EXPECT_FALSE(fileExists(task.videos().at(0)->fullPath));
    // The link stays in the list for another try.
    EXPECT_EQ(links->Rows().Rows().size(), 2u);
}

// Runs a job whose clips come from the links, serving its downloads on this
// thread (the manager's) until it has ended.
void runLinkJob(JobRunner& runner, LinkFeed& feed, CallerThreadCarrier& carrier, Notices& notices,
                std::mutex& lock, std::deque<std::function<void()>>& posted) {
    runner.Start();
    while (!runner.ended()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        carrier.runPending();
        for (;;) {
            std::function<void()> call;
            {
                std::lock_guard guard(lock);
                if (posted.empty())
                    break;
                call = std::move(posted.front());
                posted.pop_front();
            }
            call();
        }
        while (!notices.empty()) {
            const Notices::Notice notice = notices.take();
            if (notice.message == WM_LINK_DOWNLOAD)
                feed.DownloadNotice(notice.wParam, notice.task);
        }
    }
}

TEST_F(LinkTest, AJobDownloadsEachLinkWhenItComesToItAndMakesADvdOnlyOfEveryLink) {
    ASSERT_TRUE(addLink(server->url("page.html")));
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    ASSERT_TRUE(addLink(server->url("clip.mp4")));
    ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    JobFixture f;
    std::mutex lock;
    std::deque<std::function<void()>> posted;
    const auto job = [&](TargetTypeId target, RecordingObserver& observer) {
        LinkDownloads downloads(*manager, [&](const TDownloadTask& task) {
            return &f.clip(task.videos().front()->fullPath, 2,
                           "link" + std::to_string(f.owned.size() + 1) + ".avi");
        });
        LinkFeed feed(downloads, [&](std::function<void()> call) {
            std::lock_guard guard(lock);
            posted.push_back(std::move(call));
        });
        f.owned.clear();
        JobInputs inputs = f.inputs(target);
        inputs.feed = &feed;
        UserLog log(f.dir.path());
        auto runner = std::make_unique<JobRunner>(std::move(inputs), log, observer);
        runLinkJob(*runner, feed, carrier, notices, lock, posted);
        return runner;
    };

    // The second link is downloaded only once the first one's clip is converted.
    RecordingObserver both;
    auto runner = job(Target::AVI, both);
    EXPECT_EQ(runner->result(), JobResult::Finished);
    EXPECT_THAT(both.events(), ElementsAre("stage convert", "stage download", "stage convert",
                                           "clip 1/1 link1.avi", "end 1 0", "stage download", "stage convert",
                                           "clip 2/2 link2.avi", "end 2 0", "stage download", "job 1"));
    for (const std::string& converted : runner->conversion().outputs())
        EXPECT_NEAR(durationSeconds(ffprobe(converted)), 2.0, 0.3) << converted;

    // A link that does not arrive leaves the DVD unmade; the clip that came is kept.
    for (int i = 0; i < manager->count(); ++i)
        manager->GetTask(i)->setState(TaskConverted);
    std::filesystem::copy_file(site.file("clip.mp4"), site.file("doomed.mp4"));
    writeFile(site.file("doomed.html"), pageWith("Doomed", "<video src=\"doomed.mp4\"></video>"));
    writeFile(site.file("other.html"), pageWith("Other", "<video src=\"clip.mp4\"></video>"));
    for (const char* page : {"doomed.html", "other.html"}) {
        ASSERT_TRUE(addLink(server->url(page)));
        ASSERT_EQ(analysisEnd(), AnalysisOutcome::LinkAdded);
    }
    std::filesystem::remove(site.file("doomed.mp4"));
    RecordingObserver one;
    runner = job(Target::DVD_Folder, one);
    EXPECT_EQ(runner->result(), JobResult::Failed);
    EXPECT_NE(runner->failureReason().find("some of its links could not be downloaded"), std::string::npos)
        << runner->failureReason() << "\n"
        << ::testing::PrintToString(one.events());
    EXPECT_TRUE(runner->dvdFolder().empty());
    ASSERT_EQ(runner->conversion().clipResults(), std::vector<EngineResult>{EngineResult::Converted});
    EXPECT_TRUE(fileExists(runner->conversion().outputs()[0]));
}

TEST(DownloadedClipName, DropsAPartPrefixAndTakesTheOutputExtension) {
    EXPECT_EQ(DownloadedClipName("01of02_harbour.flv", ".mp4"), "harbour.mp4");
    EXPECT_EQ(DownloadedClipName("harbour.webm", ".avi"), "harbour.avi");
    EXPECT_EQ(DownloadedClipName("1of2_x.mp4", ".avi"), "1of2_x.avi");
    EXPECT_EQ(DownloadedClipName("ab", ".mp3"), "ab.mp3");
    EXPECT_EQ(DownloadedClipName("01of02_.flv", ".mp4"), "video.mp4");
}
