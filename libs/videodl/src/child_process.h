// One child program with its output read line by line, stoppable from any thread.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace videodl {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] (searched in PATH) in a process group of its own, with no input.
    // False with `error` set when it cannot be started.
    bool start(const std::vector<std::string>& argv, std::string& error);

    // Reads both outputs to their end, handing each complete line to its reader,
    // then reaps the child. Returns its exit status, or -1 when a signal ended it.
    int finish(const std::function<void(const std::string&)>& onOutLine,
               const std::function<void(const std::string&)>& onErrLine);

    // Kills the child and everything it started; safe from any thread, before,
    // during or after finish().
    void kill();

private:
    void closePipes();

    std::mutex lock_; // guards pid_ against reuse: no signal once the child is reaped
    pid_t pid_ = -1;
    bool reaped_ = true;
    int outFd_ = -1;
    int errFd_ = -1;
};

} // namespace videodl
