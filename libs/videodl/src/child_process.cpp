#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace videodl {

namespace {

// Splits what arrived into lines; a trailing part waits for the rest of its line.
void takeLines(std::string& pending, const char* data, size_t size,
               const std::function<void(const std::string&)>& onLine) {
    pending.append(data, size);
    size_t start = 0;
    for (size_t end; (end = pending.find_first_of("\r\n", start)) != std::string::npos; start = end + 1) {
        if (end > start && onLine)
            onLine(pending.substr(start, end - start));
    }
    pending.erase(0, start);
}

} // namespace

ChildProcess::~ChildProcess() {
    // A child left running would outlive its run: stop and reap it.
    if (!reaped_) {
        kill();
        finish(nullptr, nullptr);
    }
    closePipes();
}

bool ChildProcess::start(const std::vector<std::string>& argv, std::string& error) {
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        close(out[0]);
        close(out[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so a stop also ends the programs it starts in turn.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);

    std::vector<char*> args;
    std::vector<std::string> copies = argv;
    for (auto& arg : copies)
        args.push_back(arg.data());
    args.push_back(nullptr);

    pid_t child = -1;
    const int spawned = posix_spawnp(&child, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) {
        close(out[0]);
        close(err[0]);
        error = "cannot run " + argv[0] + ": " + std::strerror(spawned);
        return false;
    }
    std::lock_guard guard(lock_);
    pid_ = child;
    reaped_ = false;
    outFd_ = out[0];
    errFd_ = err[0];
    return true;
}

int ChildProcess::finish(const std::function<void(const std::string&)>& onOutLine,
                         const std::function<void(const std::string&)>& onErrLine) {
    std::string outPending, errPending;
    char buffer[8192];
    while (outFd_ >= 0 || errFd_ >= 0) {
        pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            auto& pending = i == 0 ? outPending : errPending;
            const auto& onLine = i == 0 ? onOutLine : onErrLine;
            if (got > 0) {
                takeLines(pending, buffer, static_cast<size_t>(got), onLine);
                continue;
            }
            if (!pending.empty() && onLine)
                onLine(pending);
            pending.clear();
            close(fds[i].fd);
            (i == 0 ? outFd_ : errFd_) = -1;
        }
    }
    closePipes();
    if (reaped_)
        return -1;

    // Wait for the end without reaping first: until the child is reaped its
    // process id cannot go to another process, so kill() stays harmless.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    std::lock_guard guard(lock_);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::kill() {
    std::lock_guard guard(lock_);
    if (!reaped_ && pid_ > 0)
        ::kill(-pid_, SIGKILL);
}

void ChildProcess::closePipes() {
    if (outFd_ >= 0)
        close(outFd_);
    if (errFd_ >= 0)
        close(errFd_);
    outFd_ = errFd_ = -1;
}

} // namespace videodl
