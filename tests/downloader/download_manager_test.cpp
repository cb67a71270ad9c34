// Tasks of the download manager analysed and downloaded by the real library
// over yt-dlp, against pages served on 127.0.0.1.
#include "downloader/download_manager.h"
#include "quilo_test/page_server.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "recording_window.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

namespace {

std::string clip() {
    return fixture("download-clip.mp4",
                   {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10", "-f", "lavfi", "-i",
                    "sine=frequency=440", "-t", "2", "-c:v", "libx264", "-c:a", "aac", "-shortest"});
}

const std::vector<std::string> DownloadStart = {"a.exe", "--filename-format=%i.%s", "--continue"};

const std::string AnalysisStarted = "31024:1";
const std::string AnalysisEnded = "31024:0";
const std::string DownloadStarted = "31025:1";
const std::string DownloadProgress = "31025:2";
const std::string DownloadEnded = "31025:0";

// A served folder with two clips, a manager over it and the two windows it notifies.
struct ManagerTest : ::testing::Test {
    TempDir site;
    TempDir output;
    CallerThreadCarrier carrier;
    ScriptedPrompter prompter;
    RecordingWindow mainWindow;
    RecordingWindow progressWindow;
    std::unique_ptr<PageServer> server;
    std::unique_ptr<TDownloadManager> manager;

    void SetUp() override {
        std::filesystem::copy_file(clip(), site.file("clip.mp4"));
        std::filesystem::copy_file(clip(), site.file("other.mp4"));
        page("index.html", "Harbour", "<video src=\"clip.mp4\"></video>");
        page("other.html", "Other", "<video src=\"other.mp4\"></video>");
        page("two.html", "Two", "<video src=\"clip.mp4\"></video><video src=\"other.mp4\"></video>");
        page("plain.html", "Plain", "<p>only words</p>");
        page("slow.html", "Slow", "<video src=\"/slow/clip.mp4\"></video>");
        server = std::make_unique<PageServer>(site.path());
        ASSERT_TRUE(server->running());
        manager = std::make_unique<TDownloadManager>(programDir(), carrier, prompter, &mainWindow.port);
        manager->SetProgressWindow(&progressWindow.port);
        manager->SetDownloadFolder(output.path());
    }
    void TearDown() override { manager.reset(); }

    void page(const std::string& name, const std::string& title, const std::string& body) {
        writeFile(site.file(name), pageWith(title, body));
    }
    // Waits, carrying the reports, until the task's run has ended.
    void settle(const TDownloadTask* task) {
        carrier.waitUntil([&] { return !task->running(); });
    }
    TDownloadTask* analysed(const std::string& path) {
        TDownloadTask* task = manager->AddTask(server->url(path));
        settle(task);
        return task;
    }
};

// Progress notifications of one download: a start, at least one report, an end, nothing between.
void expectDownloadSequence(const std::vector<std::string>& posted) {
    ASSERT_GE(posted.size(), 3u);
    EXPECT_EQ(posted.front(), DownloadStarted);
    EXPECT_EQ(posted.back(), DownloadEnded);
    for (size_t i = 1; i + 1 < posted.size(); ++i)
        EXPECT_EQ(posted[i], DownloadProgress);
}

} // namespace

TEST_F(ManagerTest, AnAnalysedLinkBecomesATaskWithItsVideosInTheDownloadFolder) {
    EXPECT_EQ(manager->downloadFolder(), output.path() + "Download/");
    EXPECT_TRUE(std::filesystem::is_directory(manager->downloadFolder()));

    TDownloadTask* task = analysed("two.html");

    EXPECT_EQ(task->state(), TaskAnalysed);
    EXPECT_EQ(task->pageUrl(), server->url("two.html"));
    ASSERT_EQ(task->videos().size(), 2u);
    const double size = static_cast<double>(std::filesystem::file_size(clip()));
    EXPECT_EQ(task->videos()[0]->mediaUrl, server->url("clip.mp4"));
    EXPECT_EQ(task->videos()[1]->mediaUrl, server->url("other.mp4"));
    for (const auto& video : task->videos()) {
        EXPECT_EQ(video->fullPath, manager->downloadFolder() + video->name);
        EXPECT_EQ(video->totalSize, size);
        EXPECT_EQ(video->percent, 0);
    }
    EXPECT_NE(task->videos()[0]->name, task->videos()[1]->name);
    EXPECT_THAT(mainWindow.of(task->id()), ElementsAre(AnalysisStarted, AnalysisEnded));
    EXPECT_EQ(progressWindow.count(), 0u);
    EXPECT_EQ(manager->TaskById(task->id()), task);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(ManagerTest, ADownloadRunsToDownloadedWithProgressInOrderAndTheFileWritten) {
    TDownloadTask* task = analysed("index.html");
    ASSERT_EQ(task->state(), TaskAnalysed);

    ASSERT_TRUE(task->StartDownload(DownloadStart));
    EXPECT_EQ(task->state(), TaskDownloading);
    EXPECT_FALSE(task->StartDownload(DownloadStart)); // one run at a time
    settle(task);

    EXPECT_EQ(task->state(), TaskDownloaded);
    expectDownloadSequence(progressWindow.of(task->id()));
    const TVideoMessage& video = *task->videos().at(0);
    EXPECT_EQ(task->currentVideo(), &video);
    EXPECT_EQ(video.percent, 100);
    EXPECT_TRUE(video.complete);
    EXPECT_EQ(video.bytesDownloaded, static_cast<double>(std::filesystem::file_size(clip())));
    const QJsonObject probe = ffprobe(video.fullPath);
    EXPECT_EQ(firstStream(probe, "video").value("codec_name").toString(), "h264");
    EXPECT_EQ(firstStream(probe, "video").value("width").toInt(), 160);
    EXPECT_NEAR(durationSeconds(probe), 2.0, 0.2);
    // The download is not the main window's business.
    EXPECT_THAT(mainWindow.of(task->id()), ElementsAre(AnalysisStarted, AnalysisEnded));
    EXPECT_FALSE(task->StopTask());
}

TEST_F(ManagerTest, StoppingASlowDownloadEndsInStoppedWithNoFileDone) {
    TDownloadTask* task = analysed("slow.html");
    ASSERT_EQ(task->state(), TaskAnalysed);

    ASSERT_TRUE(task->StartDownload(DownloadStart));
    carrier.waitUntil([&] { return progressWindow.of(task->id()).size() >= 2; });
    EXPECT_TRUE(task->StopTask());
    settle(task);

    EXPECT_EQ(task->state(), TaskStopped);
    const TVideoMessage& video = *task->videos().at(0);
    EXPECT_FALSE(video.complete);
    EXPECT_LT(video.percent, 100);
    EXPECT_FALSE(fileExists(video.fullPath));
    // The stop is told to the main window, which closes the progress window.
    EXPECT_THAT(mainWindow.of(task->id()), ElementsAre(AnalysisStarted, AnalysisEnded, AnalysisEnded));
    EXPECT_THAT(progressWindow.of(task->id()), Not(Contains(DownloadEnded)));
    EXPECT_FALSE(task->StopTask());
}

TEST_F(ManagerTest, PagesWithoutVideoOrServerEndInTheirFailedStates) {
    TDownloadTask* plain = analysed("plain.html");
    EXPECT_EQ(plain->state(), TaskNotSupported);
    EXPECT_EQ(AnalysisFailureMessage(plain->state()), "The video link is not supported.");

    const std::string nowhere = "http://127.0.0.1:" + std::to_string(unusedPort()) + "/index.html";
    TDownloadTask* closed = manager->AddTask(nowhere);
    settle(closed);
    EXPECT_EQ(closed->state(), TaskAnalysisFailed);
    EXPECT_EQ(AnalysisFailureMessage(closed->state()), "Unable to obtain the video URL.");

    for (const TDownloadTask* task : {plain, closed}) {
        EXPECT_TRUE(task->videos().empty());
        EXPECT_THAT(mainWindow.of(task->id()), ElementsAre(AnalysisStarted, AnalysisEnded));
    }
    EXPECT_EQ(AnalysisFailureMessage(TaskAnalysed), "");
    EXPECT_TRUE(prompter.shown().empty());

    // The main window removes failed links by their address.
    manager->RemoveTaskByUrl(nowhere);
    EXPECT_EQ(manager->count(), 1);
    EXPECT_EQ(manager->GetTask(0), plain);
}

TEST_F(ManagerTest, WithoutTheLibraryAnAnalysisFailsInsteadOfWaitingForever) {
    TempDir empty;
    TDownloadManager lost(empty.path(), carrier, prompter, &mainWindow.port);
    TDownloadTask* task = lost.AddTask(server->url("index.html"));
    settle(task);

    EXPECT_THAT(prompter.texts(), ElementsAre("Load dll Error!\nPlease re-install software!"));
    EXPECT_EQ(task->state(), TaskAnalysisFailed);
    EXPECT_THAT(mainWindow.of(task->id()), ElementsAre(AnalysisStarted, AnalysisEnded));
}

TEST_F(ManagerTest, TwoTasksDownloadingAtOnceKeepTheirReportsApart) {
    TDownloadTask* first = analysed("index.html");
    TDownloadTask* second = analysed("other.html");
    ASSERT_EQ(first->state(), TaskAnalysed);
    ASSERT_EQ(second->state(), TaskAnalysed);
    ASSERT_NE(first->videos().at(0)->name, second->videos().at(0)->name);
    manager->SetDownloadEndPause(std::chrono::milliseconds(0));

    ASSERT_TRUE(first->StartDownload(DownloadStart));
    ASSERT_TRUE(second->StartDownload(DownloadStart));
    settle(first);
    settle(second);

    for (const TDownloadTask* task : {first, second}) {
        EXPECT_EQ(task->state(), TaskDownloaded);
        ASSERT_EQ(task->videos().size(), 1u);
        EXPECT_EQ(task->currentVideo(), task->videos()[0].get());
        EXPECT_TRUE(task->videos()[0]->complete);
        EXPECT_TRUE(fileExists(task->videos()[0]->fullPath));
        expectDownloadSequence(progressWindow.of(task->id()));
    }
    EXPECT_EQ(manager->TaskById(first->id()), first);
    EXPECT_EQ(manager->TaskById(second->id()), second);
}

TEST_F(ManagerTest, RemovingTasksStopsTheirRunsAndForgetsThem) {
    TDownloadTask* kept = analysed("index.html");
    TDownloadTask* hanging = manager->AddTask(server->url("hang"));
    const long hangingId = hanging->id();
    EXPECT_EQ(hanging->state(), TaskAnalysing);
    EXPECT_FALSE(hanging->StartDownload(DownloadStart));             // not while analysing
    EXPECT_FALSE(hanging->StartAnalysis(server->url("index.html"))); // only once

    manager->RemoveTaskByUrl(server->url("elsewhere"));
    EXPECT_EQ(manager->count(), 2);
    manager->RemoveTask(5);
    manager->RemoveTask(-1);
    EXPECT_EQ(manager->count(), 2);
    EXPECT_EQ(manager->GetTask(2), nullptr);

    manager->RemoveTask(1); // its analysis never ends by itself
    EXPECT_EQ(manager->count(), 1);
    EXPECT_EQ(manager->TaskById(hangingId), nullptr);
    EXPECT_THAT(mainWindow.of(hangingId), ElementsAre(AnalysisStarted));
    EXPECT_EQ(manager->GetTask(0), kept);

    // A notification of a removed task finds nothing, even once new tasks exist.
    TDownloadTask* added = manager->AddTask(server->url("plain.html"));
    EXPECT_NE(added->id(), hangingId);
    manager->ClearTasks();
    EXPECT_EQ(manager->count(), 0);
    EXPECT_EQ(manager->GetTask(0), nullptr);
}
