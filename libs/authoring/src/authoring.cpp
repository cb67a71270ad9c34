#include "authoring.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Callers read a plain int through the pointer of getVOBsMB while authoring runs on
// another thread; a lock-free atomic int has the layout of an int.
std::atomic<int> megabytesWritten{0};
static_assert(sizeof(std::atomic<int>) == sizeof(int) && std::atomic<int>::is_always_lock_free);
void (*logCallback)(const char*) = nullptr;

void log(const std::string& line) {
    if (logCallback)
        logCallback((line + "\n").c_str());
}

std::string readText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : std::string();
}

// dvdauthor needs the video standard of the menu domain up front, or it leaves
// VIDEO_TS.IFO out; the control file names it on the titles' video element.
std::string videoStandardOf(const std::string& control) {
    return control.find("<video format=\"pal\"") != std::string::npos ? "PAL" : "NTSC";
}

std::string destinationOf(const std::string& control) {
    std::smatch match;
    static const std::regex dest("<dvdauthor dest=\"([^\"]*)\"");
    return std::regex_search(control, match, dest) ? match[1].str() : std::string();
}

std::string unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities) {
        for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
            text.replace(at, std::strlen(entity), plain);
    }
    return text;
}

// "STAT: VOBU 123 at 45MB, 1 PGCS" while the video objects are written.
void takeProgressLine(const std::string& line, bool& sawError) {
    if (line.empty())
        return;
    if (line.rfind("ERR:", 0) == 0)
        sawError = true;
    static const std::regex written("^STAT: VOBU [0-9]+ at ([0-9]+)MB");
    std::smatch match;
    if (std::regex_search(line, match, written)) {
        megabytesWritten.store(std::stoi(match[1].str()));
        return; // progress beats would drown the log
    }
    if (line.rfind("STAT: fixing", 0) == 0)
        return;
    log(line);
}

int runDvdauthor(const std::string& controlFile, const std::string& standard) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        log("authoring: cannot create a pipe: " + std::string(std::strerror(errno)));
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "VIDEO_FORMAT=", 13) != 0)
            environment.emplace_back(*entry);
    }
    environment.push_back("VIDEO_FORMAT=" + standard);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::string program = "dvdauthor", flag = "-x", file = controlFile;
    char* argv[] = {program.data(), flag.data(), file.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "dvdauthor", &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        log("authoring: cannot run dvdauthor: " + std::string(std::strerror(spawned)));
        return -1;
    }

    bool sawError = false;
    std::string pending;
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) != 0) {
        if (got < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (ssize_t i = 0; i < got; ++i) {
            // dvdauthor rewrites its progress line with carriage returns.
            if (buffer[i] == '\n' || buffer[i] == '\r') {
                takeProgressLine(pending, sawError);
                pending.clear();
            } else {
                pending += buffer[i];
            }
        }
    }
    takeProgressLine(pending, sawError);
    close(pipeFds[0]);

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || sawError) {
        log("authoring: dvdauthor failed (exit status " +
            std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")");
        return -1;
    }
    return 0;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int authoring_version(void) {
    return AUTHORING_ABI_VERSION;
}

__attribute__((visibility("default"))) int setreg(int) {
    megabytesWritten.store(0);
    return 0;
}

__attribute__((visibility("default"))) int* getVOBsMB(void) {
    return reinterpret_cast<int*>(&megabytesWritten);
}

__attribute__((visibility("default"))) void authoring_set_log_callback(void (*callback)(const char*)) {
    logCallback = callback;
}

__attribute__((visibility("default"))) int author_main(const char* controlFilePath) {
    if (!controlFilePath || !*controlFilePath) {
        log("authoring: no control file given");
        return -1;
    }
    const std::string control = readText(controlFilePath);
    if (control.empty()) {
        log(std::string("authoring: cannot read the control file ") + controlFilePath);
        return -1;
    }
    const std::string destination = unescaped(destinationOf(control));
    if (destination.empty()) {
        log("authoring: the control file names no destination folder");
        return -1;
    }
    if (runDvdauthor(controlFilePath, videoStandardOf(control)) != 0)
        return -1;
    std::error_code ignored;
    if (!std::filesystem::exists(std::filesystem::path(destination) / "VIDEO_TS" / "VIDEO_TS.IFO", ignored)) {
        log("authoring: dvdauthor finished without writing VIDEO_TS.IFO");
        return -1;
    }
    return 0;
}

} // extern "C"
