#include "run.h"

#include "file_names.h"
#include "page_info.h"
#include "progress_line.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace videodl {

namespace {

constexpr const char* NoSupport = "QUVI_NOSUPPORT";
constexpr const char* AnalysisFailed = "give up trying.";
constexpr const char* DownloadFailed = "download failed.";
// A server that stops answering ends the run instead of holding it for ever.
constexpr const char* SocketTimeoutSeconds = "30";

std::string ytdlpProgram() {
    const char* chosen = std::getenv("VIDEODL_YTDLP");
    return chosen && *chosen ? chosen : "yt-dlp";
}

// Options every yt-dlp run gets: no user configuration or cache may change what we read.
std::vector<std::string> ytdlpCommand() {
    return {ytdlpProgram(), "--ignore-config", "--no-cache-dir", "--socket-timeout", SocketTimeoutSeconds};
}

struct ChildOutcome {
    bool started = false;
    bool stopped = false;
    int exitStatus = -1;
    std::string lastError; // the last "ERROR:" line, or why the child could not start
};

class Reporter {
public:
    explicit Reporter(RunSettings& settings) : settings_(settings) {}
    void status(const char* text) {
        if (settings_.status)
            settings_.status(text, settings_.user);
    }
    void error(const char* text, const std::string& detail) {
        if (settings_.error)
            settings_.error(text, detail.c_str(), settings_.user);
    }
    void csv(const VideodlCsvMessage& message) {
        if (settings_.csv)
            settings_.csv(&message, settings_.user);
    }
    void progress(const VideodlProgressMessage& message) {
        if (settings_.progress)
            settings_.progress(&message, settings_.user);
    }
    void file(const std::string& path) {
        if (settings_.file)
            settings_.file(path.c_str(), settings_.user);
    }

private:
    RunSettings& settings_;
};

// Runs one child to its end; a stop of the run kills it.
ChildOutcome runChild(RunSettings& settings, const std::vector<std::string>& command,
                      const std::function<void(const std::string&)>& onOutLine) {
    ChildOutcome outcome;
    if (settings.stopRequested) {
        outcome.stopped = true;
        return outcome;
    }
    ChildProcess child;
    if (!child.start(command, outcome.lastError))
        return outcome;
    outcome.started = true;
    {
        std::lock_guard guard(settings.childLock);
        settings.child = &child;
    }
    // A stop that came between the check above and the listing of the child.
    if (settings.stopRequested)
        child.kill();
    outcome.exitStatus = child.finish(onOutLine, [&](const std::string& line) {
        if (line.rfind("ERROR:", 0) == 0)
            outcome.lastError = line.substr(6 + (line.size() > 6 && line[6] == ' '));
    });
    {
        std::lock_guard guard(settings.childLock);
        settings.child = nullptr;
    }
    outcome.stopped = settings.stopRequested;
    return outcome;
}

std::string failureDetail(const ChildOutcome& outcome) {
    if (!outcome.lastError.empty())
        return outcome.lastError;
    return "yt-dlp ended with status " + std::to_string(outcome.exitStatus);
}

// The size the server gives for a file, by a HEAD request with the headers yt-dlp
// would send; 0 when it does not say. Python is there because yt-dlp runs on it.
double askServerForSize(RunSettings& settings, const PageVideo& video) {
    // A playlist protocol's address answers with the size of the list, not of the video.
    if ((video.mediaUrl.rfind("http://", 0) != 0 && video.mediaUrl.rfind("https://", 0) != 0) ||
        (!video.protocol.empty() && video.protocol != "http" && video.protocol != "https"))
        return 0;
    static const char* script = R"(
import json, sys, urllib.request
request = urllib.request.Request(sys.argv[1], method="HEAD", headers=json.loads(sys.argv[2] or "{}"))
with urllib.request.urlopen(request, timeout=30) as answer:
    print(answer.headers.get("Content-Length") or "")
)";
    std::string length;
    const ChildOutcome outcome =
        runChild(settings, {"python3", "-c", script, video.mediaUrl, video.headersJson},
                 [&](const std::string& line) { length = line; });
    if (outcome.exitStatus != 0)
        return 0;
    char* end = nullptr;
    const double bytes = std::strtod(length.c_str(), &end);
    return end != length.c_str() && *end == '\0' && bytes > 0 ? bytes : 0;
}

struct NamedVideo {
    PageVideo video;
    std::string fileName;
};

// Analyses the page; false when the run ended (stopped or failed, already reported).
bool analysePage(RunSettings& settings, Reporter& report, const RunArguments& arguments,
                 std::vector<NamedVideo>& named) {
    std::string json;
    std::vector<std::string> command = ytdlpCommand();
    command.insert(command.end(), {"-J", "--", arguments.pageUrl});
    const ChildOutcome outcome = runChild(settings, command, [&](const std::string& line) { json += line; });
    if (outcome.stopped) {
        report.status("UserStop");
        return false;
    }
    std::vector<PageVideo> videos;
    if (outcome.exitStatus != 0 || !parsePageInfo(json, videos)) {
        const bool unsupported = outcome.lastError.find("Unsupported URL") != std::string::npos;
        report.error(unsupported ? NoSupport : AnalysisFailed, failureDetail(outcome));
        return false;
    }
    if (videos.empty()) {
        report.error(NoSupport, "the page has no video");
        return false;
    }
    std::set<std::string> taken;
    for (auto& video : videos) {
        const std::string name = safeFileName(
            expandFileNameFormat(arguments.fileNameFormat, {video.id, video.title, video.extension}));
        named.push_back({std::move(video), uniqueFileName(name, taken)});
    }
    return true;
}

// yt-dlp's output template takes '%' as a field start.
std::string literalTemplate(const std::string& path) {
    std::string escaped;
    for (char c : path)
        escaped += c == '%' ? "%%" : std::string(1, c);
    return escaped;
}

class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& content) {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/videodl-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            return;
        close(fd);
        std::ofstream(pattern, std::ios::binary) << content;
        path_ = pattern;
    }
    ~TemporaryFile() {
        if (!path_.empty())
            std::filesystem::remove(path_);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void fillProgress(VideodlProgressMessage& message, const ProgressReport& progress) {
    message.percent = percentOf(progress);
    if (progress.total <= 0)
        return;
    message.bytesDownloaded = progress.downloaded;
    message.totalBytes = progress.total;
    std::string unit;
    scaleRate(progress.bytesPerSecond, message.rate, unit);
    std::snprintf(message.rateUnit, sizeof message.rateUnit, "%s", unit.c_str());
    std::snprintf(message.remainingTime, sizeof message.remainingTime, "%s",
                  remainingTimeText(progress.remainingSeconds).c_str());
}

// Downloads one video; false when the run ended (stopped or failed, already reported).
bool downloadVideo(RunSettings& settings, Reporter& report, const RunArguments& arguments,
                   const NamedVideo& named) {
    const std::string path = settings.downloadFolder + named.fileName;
    TemporaryFile info(named.video.infoJson);
    if (info.path().empty()) {
        report.error(DownloadFailed, "cannot write a temporary file: " + std::string(std::strerror(errno)));
        return false;
    }
    std::vector<std::string> command = ytdlpCommand();
    command.insert(command.end(), {"--newline", "--progress-template", progressTemplate(),
                                   arguments.resume ? "--continue" : "--no-continue", "--load-info-json",
                                   info.path(), "-o", literalTemplate(path)});
    const ChildOutcome outcome = runChild(settings, command, [&](const std::string& line) {
        const auto progress = parseProgressLine(line);
        if (!progress || settings.stopRequested)
            return;
        VideodlProgressMessage message{};
        message.fileName = named.fileName.c_str();
        fillProgress(message, *progress);
        // A format merged from several downloads finishes each part: 100 waits for the file itself.
        message.percent = std::min(message.percent, 99);
        report.progress(message);
    });
    if (outcome.stopped) {
        report.status("UserStop");
        return false;
    }
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    if (outcome.exitStatus != 0 || error || !std::filesystem::is_regular_file(path, error)) {
        report.error(DownloadFailed, named.fileName + ": " + failureDetail(outcome));
        return false;
    }
    VideodlProgressMessage complete{};
    complete.fileName = named.fileName.c_str();
    complete.percent = 100;
    complete.bytesDownloaded = complete.totalBytes = static_cast<double>(bytes);
    std::snprintf(complete.rateUnit, sizeof complete.rateUnit, "B/s");
    report.progress(complete);
    report.file(path);
    return true;
}

} // namespace

RunArguments parseRunArguments(const std::vector<std::string>& argv) {
    RunArguments arguments;
    const std::string formatOption = "--filename-format=";
    for (size_t i = 1; i < argv.size() && arguments.pageUrl.empty(); ++i) {
        const std::string& arg = argv[i];
        if (arg.rfind(formatOption, 0) == 0)
            arguments.fileNameFormat = arg.substr(formatOption.size());
        else if (arg == "--emit-csv")
            arguments.analyseOnly = true;
        else if (arg == "--continue")
            arguments.resume = true;
        else if (arg == "--no-continue")
            arguments.resume = false;
        else if (arg.rfind("--", 0) != 0 && !arg.empty())
            arguments.pageUrl = arg;
    }
    return arguments;
}

void runPage(RunSettings& settings, const RunArguments& arguments) {
    Reporter report(settings);
    if (settings.stopRequested) {
        report.status("UserStop");
        return;
    }
    if (arguments.pageUrl.empty()) {
        report.error(AnalysisFailed, "no page address was given");
        return;
    }
    std::string& folder = settings.downloadFolder;
    if (!arguments.analyseOnly) {
        std::error_code error;
        if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
            report.error(DownloadFailed, "the download folder \"" + folder + "\" does not exist");
            return;
        }
        if (folder.back() != '/')
            folder += '/';
    }

    report.status("Analysing");
    std::vector<NamedVideo> videos;
    if (!analysePage(settings, report, arguments, videos))
        return;

    if (arguments.analyseOnly) {
        for (auto& named : videos) {
            if (named.video.size <= 0)
                named.video.size = askServerForSize(settings, named.video);
            if (settings.stopRequested) {
                report.status("UserStop");
                return;
            }
            const VideodlCsvMessage message{named.fileName.c_str(), named.video.title.c_str(),
                                            named.video.size, named.video.mediaUrl.c_str(),
                                            named.video.extension.c_str()};
            report.csv(message);
        }
        report.status("Finished");
        return;
    }

    report.status("Downloading");
    for (const auto& named : videos) {
        if (!downloadVideo(settings, report, arguments, named))
            return;
    }
    report.status("Finished");
}

} // namespace videodl
