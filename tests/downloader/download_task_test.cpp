// Task rules for report orders the real library never produces, played by a
// scripted library through the same binding and threads.
#include "downloader/download_manager.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "recording_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

using namespace quilo;
using namespace quilo::test;
using ::testing::ElementsAre;

namespace {

const std::vector<std::string> DownloadStart = {"a.exe", "--filename-format=%i.%s", "--continue"};

struct ScriptedTask : ::testing::Test {
    TempDir scripts;
    TempDir output;
    CallerThreadCarrier carrier;
    ScriptedPrompter prompter;
    RecordingWindow mainWindow;
    RecordingWindow progressWindow;
    TDownloadManager manager{QUILO_SCRIPTED_VIDEODL_DIR, carrier, prompter, &mainWindow.port};

    ScriptedTask() {
        manager.SetProgressWindow(&progressWindow.port);
        manager.SetDownloadFolder(output.path());
        manager.SetDownloadEndPause(std::chrono::milliseconds(0));
    }
    void settle(const TDownloadTask* task) {
        carrier.waitUntil([&] { return !task->running(); });
    }
    // A task analysed by `analysis` and then downloaded by `download`.
    TDownloadTask* run(const std::string& analysis, const std::string& download = {}) {
        const std::string page = scripts.file("page" + std::to_string(manager.count()));
        writeFile(page + ".analysis", analysis);
        writeFile(page + ".download", download);
        TDownloadTask* task = manager.AddTask(page);
        settle(task);
        if (!download.empty()) {
            EXPECT_TRUE(task->StartDownload(DownloadStart));
            settle(task);
        }
        return task;
    }
};

const std::string TwoFiles = "csv 1.mp4 1000 http://127.0.0.1/1\ncsv 2.mp4 2000 http://127.0.0.1/2\n";

} // namespace

TEST_F(ScriptedTask, ProgressMovesToTheNextFileAfterAHundredAndUnknownNamesAreDropped) {
    TDownloadTask* task = run(TwoFiles, "progress 1.mp4 50 500 1000\n"
                                        "progress 1.mp4 100 1000 1000\n"
                                        "progress nobody.mp4 70 1 1\n"
                                        "progress 2.mp4 30 600 0\n"
                                        "file 1.mp4\nfile 2.mp4\n");
    EXPECT_EQ(task->state(), TaskDownloaded);
    const TVideoMessage& first = *task->videos()[0];
    const TVideoMessage& second = *task->videos()[1];
    EXPECT_EQ(first.percent, 100);
    EXPECT_EQ(first.bytesDownloaded, 1000);
    EXPECT_EQ(first.rateUnit, "KB/s");
    EXPECT_EQ(first.remainingTime, "00:00:01");
    EXPECT_EQ(task->currentVideo(), &second);
    EXPECT_EQ(second.percent, 30);
    // A report without a size carries no byte count, rate or time.
    EXPECT_EQ(second.bytesDownloaded, 0);
    EXPECT_EQ(second.rateUnit, "");
    // The dropped report posted nothing: three reports, three notifications.
    EXPECT_THAT(progressWindow.of(task->id()),
                ElementsAre("31025:1", "31025:2", "31025:2", "31025:2", "31025:0"));
}

TEST_F(ScriptedTask, AReportForAnotherFileIsNotCountedOnTheCurrentOne) {
    TDownloadTask* task = run(TwoFiles, "progress 1.mp4 40 400 1000\nprogress 2.mp4 10 200 2000\n");
    EXPECT_EQ(task->videos()[0]->percent, 40);
    EXPECT_EQ(task->videos()[1]->percent, 10);
    EXPECT_EQ(task->currentVideo(), task->videos()[1].get());
}

TEST_F(ScriptedTask, ErrorsWhileDownloadingFailTheDownloadOnce) {
    TDownloadTask* task = run(TwoFiles, "error download failed.\nerror QUVI_NOSUPPORT\n");
    EXPECT_EQ(task->state(), TaskDownloadFailed);
    EXPECT_THAT(progressWindow.of(task->id()), ElementsAre("31025:1", "31025:0"));

    // A failed download may be tried again, from the start of its files.
    ASSERT_TRUE(task->StartDownload(DownloadStart));
    settle(task);
    EXPECT_EQ(task->state(), TaskDownloadFailed);
}

TEST_F(ScriptedTask, ADownloadThatWritesNotEveryFileIsNoSuccess) {
    TDownloadTask* some = run(TwoFiles, "progress 1.mp4 100 1000 1000\nfile 1.mp4\nstatus Finished\n");
    EXPECT_EQ(some->state(), TaskDownloadFailed);
    EXPECT_THAT(progressWindow.of(some->id()), ElementsAre("31025:1", "31025:2", "31025:0"));

    // A file outside the download folder does not count for a video.
    TDownloadTask* elsewhere = run("csv 1.mp4 1 x\n", "file ../1.mp4\n");
    EXPECT_EQ(elsewhere->state(), TaskDownloadFailed);
}

TEST_F(ScriptedTask, AnalysisStatesFollowTheirReports) {
    TDownloadTask* unsupported = run("error QUVI_NOSUPPORT\n");
    TDownloadTask* failed = run("error give up trying.\n");
    TDownloadTask* odd = run("error something else\n");
    TDownloadTask* silent = run("status Finished\n");
    TDownloadTask* stopped = run("csv 1.mp4 1 x\nstatus UserStop\nerror give up trying.\n");
    EXPECT_EQ(unsupported->state(), TaskNotSupported);
    EXPECT_EQ(failed->state(), TaskAnalysisFailed);
    EXPECT_EQ(odd->state(), TaskAnalysisFailed);
    EXPECT_EQ(silent->state(), TaskAnalysisFailed); // found nothing and said nothing
    EXPECT_EQ(stopped->state(), TaskStopped);
    for (const TDownloadTask* task : {unsupported, failed, odd, silent, stopped})
        EXPECT_THAT(mainWindow.of(task->id()), ElementsAre("31024:1", "31024:0"));
    EXPECT_EQ(progressWindow.count(), 0u);
}

TEST_F(ScriptedTask, HostileFileNamesAreNotTaken) {
    TDownloadTask* task =
        run("csv .. 1 x\ncsv ../up.mp4 1 x\ncsv . 1 x\ncsv bad\x01.mp4 1 x\ncsv good.mp4 5 x\n");
    ASSERT_EQ(task->videos().size(), 1u);
    EXPECT_EQ(task->videos()[0]->fullPath, output.path() + "Download/good.mp4");
}

TEST_F(ScriptedTask, ADownloadListingFilesAgainAddsNoVideos) {
    TDownloadTask* task = run("csv 1.mp4 1 x\n", "csv 1.mp4 1 x\nprogress 1.mp4 100 1 1\nfile 1.mp4\n");
    EXPECT_EQ(task->videos().size(), 1u);
    EXPECT_EQ(task->state(), TaskDownloaded);
    EXPECT_THAT(progressWindow.of(task->id()), ElementsAre("31025:1", "31025:2", "31025:0"));
}

TEST_F(ScriptedTask, WhenTheDownloadFolderCannotBeMadeTheOutputFolderIsUsed) {
    TempDir blocked;
    writeFile(blocked.file("Download"), "a file where the folder would be");
    manager.SetDownloadFolder(blocked.path());
    EXPECT_EQ(manager.downloadFolder(), blocked.path());
    TDownloadTask* task = run("csv 1.mp4 1 x\n");
    EXPECT_EQ(task->videos().at(0)->fullPath, blocked.path() + "1.mp4");
}

TEST_F(ScriptedTask, TheDownloadEndPauseRunsBesideTheOwnerAndAStopCutsItShort) {
    manager.SetDownloadEndPause(std::chrono::hours(1));
    writeFile(scripts.file("page.analysis"), "csv 1.mp4 1 x\n");
    writeFile(scripts.file("page.download"), "progress 1.mp4 100 1 1\nfile 1.mp4\n");
    TDownloadTask* task = manager.AddTask(scripts.file("page"));
    settle(task);
    ASSERT_TRUE(task->StartDownload(DownloadStart));
    const TVideoMessage& video = *task->videos().at(0);
    carrier.waitUntil([&] { return video.complete; });

    // The library is done and pausing; the owner's thread goes on meanwhile.
    EXPECT_EQ(task->state(), TaskDownloading);
    EXPECT_TRUE(task->running());
    EXPECT_TRUE(task->StopTask());
    settle(task);
    EXPECT_EQ(task->state(), TaskDownloaded);
    EXPECT_THAT(progressWindow.of(task->id()), ElementsAre("31025:1", "31025:2", "31025:0"));
}

namespace {

// Removes the first task of its manager when a message is shown, and notes the
// thread the message was shown on.
struct RemovingPrompter : ScriptedPrompter {
    TDownloadManager* manager = nullptr;
    std::thread::id shownOn;
    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override {
        shownOn = std::this_thread::get_id();
        manager->RemoveTask(0);
        return ScriptedPrompter::ask(kind, text, buttons);
    }
};

} // namespace

TEST(TaskRemoval, ATaskRemovedFromItsOwnRunsReportIsKeptUntilTheRunEnds) {
    TempDir noLibrary;
    CallerThreadCarrier carrier;
    RemovingPrompter prompter;
    RecordingWindow mainWindow;
    TDownloadManager manager(noLibrary.path(), carrier, prompter, &mainWindow.port);
    prompter.manager = &manager;

    // The load error is shown from the run's thread through the owner; the
    // removal there must neither wait for that run nor delete it under it.
    TDownloadTask* task = manager.AddTask("http://127.0.0.1:9/page.html");
    const long id = task->id();
    carrier.waitUntil([&] { return !prompter.shown().empty(); });
    EXPECT_EQ(prompter.shownOn, std::this_thread::get_id());
    EXPECT_THAT(prompter.texts(), ElementsAre("Load dll Error!\nPlease re-install software!"));
    EXPECT_EQ(manager.count(), 0);
    EXPECT_EQ(manager.TaskById(id), nullptr);

    EXPECT_EQ(manager.retiredCount(), 1);
    carrier.waitUntil([&] { return task->idle(); });
    manager.ReapFinishedRuns();
    EXPECT_EQ(manager.retiredCount(), 0);
    // A removed task's end is nobody's business any more.
    EXPECT_THAT(mainWindow.of(id), ElementsAre("31024:1"));
}
