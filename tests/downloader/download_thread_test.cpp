// Runs of the real downloader library over yt-dlp, through the binding, against
// pages served on 127.0.0.1.
#include "downloader/download_thread.h"
#include "quilo_test/page_server.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "recording_sink.h"

#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quilo;
using namespace quilo::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

std::string clip() {
    return fixture("download-clip.mp4",
                   {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10", "-f", "lavfi", "-i",
                    "sine=frequency=440", "-t", "2", "-c:v", "libx264", "-c:a", "aac", "-shortest"});
}

// A folder served on 127.0.0.1 holding the clip and the pages the test writes.
struct Site {
    TempDir folder;
    Site() { std::filesystem::copy_file(clip(), folder.file("clip.mp4")); }
    void page(const std::string& name, const std::string& title, const std::string& body) {
        writeFile(folder.file(name), pageWith(title, body));
    }
};

struct LibraryRun {
    CallerThreadCarrier carrier;
    ScriptedPrompter prompter;
    RecordingSink sink;
    DownloadThread thread;

    explicit LibraryRun(std::vector<std::string> arguments, const std::string& downloadFolder = {},
                        const std::string& libraryFolder = programDir())
        : thread(libraryFolder, sink, carrier, prompter) {
        thread.setArguments(std::move(arguments));
        thread.setDownloadFolder(downloadFolder);
    }
    // A copy: the run may be a temporary.
    RecordingSink go() {
        thread.Start();
        thread.Wait();
        return sink;
    }
};

// The processes that are children of this test and have ended but not been reaped.
int zombieChildren() {
    int zombies = 0;
    DIR* proc = opendir("/proc");
    while (dirent* entry = readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + line.rfind(')') + 1, " %c %d", &state, &parent) == 2 &&
            parent == getpid() && state == 'Z')
            ++zombies;
    }
    closedir(proc);
    return zombies;
}

// Processes whose command line mentions `text` (a folder only our run knows).
int processesNaming(const std::string& text) {
    int found = 0;
    DIR* proc = opendir("/proc");
    while (dirent* entry = readdir(proc)) {
        std::ifstream cmdline(std::string("/proc/") + entry->d_name + "/cmdline", std::ios::binary);
        const std::string all((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
        if (all.find(text) != std::string::npos)
            ++found;
    }
    closedir(proc);
    return found;
}

} // namespace

TEST(DownloaderAnalysis, FindsTheVideoWithItsTitleSizeFormatAndAddress) {
    Site site;
    site.page("index.html", "Harbour at dawn", "<video src=\"clip.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());

    LibraryRun run(AnalysisArguments(server.url("index.html")));
    const RecordingSink sink = run.go();

    EXPECT_THAT(sink.milestones(), ElementsAre("status:Analysing", "csv", "status:Finished", "end"));
    ASSERT_EQ(sink.videos.size(), 1u);
    const CsvMessage& video = sink.videos[0];
    EXPECT_THAT(video.title, StartsWith("Harbour at dawn"));
    EXPECT_EQ(video.totalSize, static_cast<double>(std::filesystem::file_size(clip())));
    EXPECT_EQ(video.format, "mp4");
    EXPECT_EQ(video.mediaUrl, server.url("clip.mp4"));
    EXPECT_THAT(video.fileName, ::testing::EndsWith(".mp4"));
    EXPECT_EQ(video.fileName.find('/'), std::string::npos);
    EXPECT_TRUE(run.prompter.shown().empty());
}

TEST(DownloaderAnalysis, APageWithTwoVideosGivesTwoFilesWithTheirOwnNames) {
    Site site;
    std::filesystem::copy_file(clip(), site.folder.file("other.mp4"));
    site.page("two.html", "Two", "<video src=\"clip.mp4\"></video><video src=\"other.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());

    const RecordingSink sink = LibraryRun(AnalysisArguments(server.url("two.html"))).go();

    ASSERT_EQ(sink.videos.size(), 2u);
    EXPECT_NE(sink.videos[0].fileName, sink.videos[1].fileName);
    EXPECT_EQ(sink.videos[0].mediaUrl, server.url("clip.mp4"));
    EXPECT_EQ(sink.videos[1].mediaUrl, server.url("other.mp4"));
}

TEST(DownloaderAnalysis, PagesWithoutVideoOrServerGiveClearErrorsAndNothingElse) {
    Site site;
    site.page("plain.html", "Plain", "<p>only words</p>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());

    const RecordingSink noVideo = LibraryRun(AnalysisArguments(server.url("plain.html"))).go();
    EXPECT_THAT(noVideo.milestones(), ElementsAre("status:Analysing", "error:QUVI_NOSUPPORT", "end"));
    EXPECT_THAT(noVideo.errorDetails.at(0), HasSubstr("Unsupported URL"));

    const std::string nowhere = "http://127.0.0.1:" + std::to_string(unusedPort()) + "/index.html";
    const RecordingSink unreachable = LibraryRun(AnalysisArguments(nowhere)).go();
    EXPECT_THAT(unreachable.milestones(), ElementsAre("status:Analysing", "error:give up trying.", "end"));
    EXPECT_THAT(unreachable.errorDetails.at(0), HasSubstr("refused"));

    const RecordingSink noAddress = LibraryRun({"a.exe", "--filename-format=%i.%s", "--emit-csv"}).go();
    EXPECT_THAT(noAddress.milestones(), ElementsAre("error:give up trying.", "end"));
}

TEST(DownloaderDownload, WritesTheFileWithProgressInOrderAndAFinalStatus) {
    Site site;
    site.page("index.html", "Harbour at dawn", "<video src=\"clip.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());
    const std::string analysedName =
        LibraryRun(AnalysisArguments(server.url("index.html"))).go().videos.at(0).fileName;

    TempDir downloads;
    LibraryRun run(DownloadArguments(server.url("index.html")), downloads.path());
    const RecordingSink sink = run.go();

    EXPECT_THAT(sink.milestones(),
                ElementsAre("status:Analysing", "status:Downloading", "file", "status:Finished", "end"));
    const std::string path = downloads.file(analysedName);
    EXPECT_THAT(sink.files, ElementsAre(path));
    const QJsonObject probe = ffprobe(path);
    EXPECT_EQ(firstStream(probe, "video").value("codec_name").toString(), "h264");
    EXPECT_EQ(firstStream(probe, "video").value("width").toInt(), 160);
    EXPECT_NEAR(durationSeconds(probe), 2.0, 0.2);

    // Progress comes before the file, for the analysed name, rising to 100 only at the end.
    ASSERT_FALSE(sink.progress.empty());
    EXPECT_EQ(sink.events.front(), "status:Analysing");
    int last = 0;
    for (size_t i = 0; i < sink.progress.size(); ++i) {
        const ProgressMessage& report = sink.progress[i];
        EXPECT_EQ(report.fileName, analysedName);
        EXPECT_GE(report.percent, last);
        EXPECT_TRUE(report.percent < 100 || i + 1 == sink.progress.size());
        if (report.totalBytes > 0) {
            EXPECT_LE(report.bytesDownloaded, report.totalBytes);
        }
        last = report.percent;
    }
    EXPECT_EQ(sink.progress.back().percent, 100);
    EXPECT_EQ(sink.progress.back().totalBytes, static_cast<double>(std::filesystem::file_size(clip())));
}

TEST(DownloaderDownload, AMissingDownloadFolderIsAFailedDownloadWithoutAnyFile) {
    Site site;
    site.page("index.html", "Harbour", "<video src=\"clip.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());
    TempDir parent;

    const RecordingSink sink =
        LibraryRun(DownloadArguments(server.url("index.html")), parent.file("gone/")).go();

    EXPECT_THAT(sink.milestones(), ElementsAre("error:download failed.", "end"));
    EXPECT_FALSE(fileExists(parent.file("gone")));
}

TEST(DownloaderDownload, AHostileTitleStaysInsideTheDownloadFolder) {
    Site site;
    site.page("index.html", "../../escaped", "<video src=\"clip.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());
    TempDir root;
    std::filesystem::create_directories(root.file("a/b/"));
    const std::string folder = root.file("a/b/");

    const std::string url = server.url("index.html");
    const RecordingSink sink =
        LibraryRun({"a.exe", "--filename-format=%t.%s", "--continue", url}, folder).go();

    ASSERT_EQ(sink.files.size(), 1u);
    const std::filesystem::path written = sink.files[0];
    EXPECT_EQ(written.parent_path().string() + "/", folder);
    EXPECT_THAT(written.filename().string(), HasSubstr("escaped"));
    EXPECT_NE(written.filename().string().front(), '.');
    EXPECT_TRUE(fileExists(written.string()));
    int entries = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 3); // a, a/b and the one file
}

TEST(DownloaderStop, StoppingASlowDownloadKillsTheChildAndReportsNoFile) {
    Site site;
    site.page("slow.html", "Slow", "<video src=\"/slow/clip.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());
    TempDir downloads;

    LibraryRun run(DownloadArguments(server.url("slow.html")), downloads.path());
    run.sink.onFirstProgress = [&] { EXPECT_TRUE(run.thread.Stop()); };
    const RecordingSink sink = run.go();

    EXPECT_THAT(sink.milestones(),
                ElementsAre("status:Analysing", "status:Downloading", "status:UserStop", "end"));
    EXPECT_TRUE(sink.files.empty());
    for (const auto& report : sink.progress)
        EXPECT_LT(report.percent, 100);
    // Only the resumable partial file is left, never a file under the final name.
    for (const auto& entry : std::filesystem::directory_iterator(downloads.path()))
        EXPECT_THAT(entry.path().extension().string(), ".part");
    EXPECT_EQ(processesNaming(downloads.path()), 0);
    EXPECT_EQ(zombieChildren(), 0);
    EXPECT_FALSE(run.thread.Stop()); // nothing left to stop
}

TEST(DownloaderStop, AStopBeforeTheLibraryIsReadyStillStopsTheRun) {
    Site site;
    site.page("index.html", "Harbour", "<video src=\"clip.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());

    LibraryRun run(AnalysisArguments(server.url("index.html")));
    run.thread.Start();
    run.thread.Stop();
    run.thread.Wait();

    // The stop may land before or during the analysis; either way it is a stop and nothing more.
    EXPECT_TRUE(run.sink.saw("status:UserStop"));
    EXPECT_FALSE(run.sink.saw("csv"));
    EXPECT_FALSE(run.sink.saw("status:Finished"));
    EXPECT_EQ(run.sink.events.back(), "end");
}

TEST(DownloaderStop, AnAnalysisOfAPageThatNeverAnswersStopsWhenAsked) {
    Site site;
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());

    LibraryRun run(AnalysisArguments(server.url("hang")));
    run.thread.Start();
    // Wait until the analysis is under way, then stop it.
    run.carrier.waitUntil([&] { return run.sink.saw("status:Analysing"); });
    EXPECT_TRUE(run.thread.Stop());
    run.thread.Wait();

    EXPECT_THAT(run.sink.milestones(), ElementsAre("status:Analysing", "status:UserStop", "end"));
    EXPECT_EQ(zombieChildren(), 0);
}

TEST(DownloaderRuns, ConcurrentRunsEachReportToTheirOwnSinkAndStopAlone) {
    Site site;
    site.page("first.html", "First page", "<video src=\"clip.mp4\"></video>");
    PageServer server(site.folder.path());
    ASSERT_TRUE(server.running());

    CallerThreadCarrier carrier;
    ScriptedPrompter prompter;
    RecordingSink hanging, first;
    DownloadThread hangingRun(programDir(), hanging, carrier, prompter);
    DownloadThread firstRun(programDir(), first, carrier, prompter);
    hangingRun.setArguments(AnalysisArguments(server.url("hang")));
    firstRun.setArguments(AnalysisArguments(server.url("first.html")));
    hangingRun.Start();
    carrier.waitUntil([&] { return hanging.saw("status:Analysing"); });
    firstRun.Start();
    firstRun.Wait();
    hangingRun.Stop();
    hangingRun.Wait();

    // The other run was neither stopped by nor mixed into the first.
    EXPECT_THAT(first.milestones(), ElementsAre("status:Analysing", "csv", "status:Finished", "end"));
    EXPECT_THAT(first.videos.at(0).title, StartsWith("First page"));
    EXPECT_THAT(hanging.milestones(), ElementsAre("status:Analysing", "status:UserStop", "end"));
}

TEST(DownloaderRuns, WithoutItsProgramTheLibraryReportsAFailedAnalysis) {
    setenv("VIDEODL_YTDLP", "/nonexistent/yt-dlp", 1);
    const RecordingSink sink = LibraryRun(AnalysisArguments("http://127.0.0.1:9/index.html")).go();
    unsetenv("VIDEODL_YTDLP");
    EXPECT_THAT(sink.milestones(), ElementsAre("status:Analysing", "error:give up trying.", "end"));
    EXPECT_THAT(sink.errorDetails.at(0), HasSubstr("cannot run /nonexistent/yt-dlp"));
}

TEST(DownloaderLibrary, AMissingOrIncompleteLibraryShowsTheMessageAndCallsNothing) {
    TempDir empty;
    LibraryRun missing(AnalysisArguments("http://127.0.0.1:9/"), {}, empty.path());
    EXPECT_THAT(missing.go().events, ElementsAre("end"));
    EXPECT_THAT(missing.prompter.texts(), ElementsAre("Load dll Error!\nPlease re-install software!"));
    EXPECT_EQ(missing.prompter.shown().at(0).kind, PromptKind::Error);
    EXPECT_FALSE(missing.thread.loadError().empty());

    LibraryRun incomplete(AnalysisArguments("http://127.0.0.1:9/"), {}, QUILO_INCOMPLETE_VIDEODL_DIR "/");
    EXPECT_THAT(incomplete.go().events, ElementsAre("end"));
    EXPECT_THAT(incomplete.prompter.texts(), ElementsAre("Load dll Error!\nPlease re-install software!"));
    EXPECT_THAT(incomplete.thread.loadError(), HasSubstr("UserStop"));
}
