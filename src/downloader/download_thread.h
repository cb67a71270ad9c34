// One run of the downloader library on a worker thread of its own: the library
// is loaded, run once with an argument vector and unloaded; what it reports is
// carried to the thread that owns the run and handed to a sink there.
#pragma once

#include "downloader/callback_carrier.h"
#include "downloader/dll_interface.h"
#include "downloader/download_sink.h"
#include "platform/prompter.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quilo {

class DownloadThread {
public:
    // The library is `libraryFolder` followed by its name. The sink, carrier and
    // prompter must outlive the thread object.
    DownloadThread(std::string libraryFolder, DownloadSink& sink, CallbackCarrier& carrier,
                   Prompter& prompter);
    // Stops a run still going and waits for its end, carrying its reports meanwhile.
    // Call on the owner's thread.
    ~DownloadThread();
    DownloadThread(const DownloadThread&) = delete;
    DownloadThread& operator=(const DownloadThread&) = delete;

    // Set before Start.
    void setArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    void setDownloadFolder(std::string folder) { downloadFolder_ = std::move(folder); }
    // A wait on the worker between the library's end and the end report, cut
    // short by Stop; the owner's thread goes on meanwhile.
    void setEndPause(std::chrono::milliseconds pause) { endPause_ = pause; }

    // Starts the run; false when it was started before.
    bool Start();
    // Asks a running run to stop (it then reports "UserStop"); false when no run is going.
    bool Stop();
    bool finished() const { return finished_; }
    // On the owner's thread: waits for the end of the run, carrying its reports meanwhile.
    void Wait();

    // Why the library could not be used; empty when it ran.
    const std::string& loadError() const { return loadError_; }

private:
    void Execute();
    void carry(const std::function<void()>& handler);

    static void onCsv(const VideodlCsvMessage* message, void* user);
    static void onFile(const char* path, void* user);
    static void onStatus(const char* text, void* user);
    static void onProgress(const VideodlProgressMessage* message, void* user);
    static void onError(const char* error, const char* detail, void* user);

    const std::string libraryFolder_;
    DownloadSink& sink_;
    CallbackCarrier& carrier_;
    Prompter& prompter_;
    std::vector<std::string> arguments_;
    std::string downloadFolder_;
    std::string loadError_;

    // The latest report of each kind, for its handler.
    CsvMessage csv_;
    std::string file_;
    std::string status_;
    ProgressMessage progress_;
    std::string error_;
    std::string detail_;

    std::chrono::milliseconds endPause_{0};
    std::mutex stopLock_; // guards the stop entries and stopAsked_
    std::condition_variable stopAskedChanged_;
    decltype(&::UserStop) userStop_ = nullptr;
    decltype(&::UserStopRun) userStopRun_ = nullptr;
    bool stopAsked_ = false;

    std::thread worker_;
    std::atomic<bool> started_{false};
    std::atomic<bool> finished_{false};
};

} // namespace quilo
