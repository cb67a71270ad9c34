// A sink that keeps every report of a run in order, and can act on the first
// report of a kind (to stop a run while it is going).
#pragma once

#include "downloader/download_sink.h"

#include <functional>
#include <string>
#include <vector>

namespace quilo::test {

struct RecordingSink : DownloadSink {
    std::vector<std::string> events; // "csv", "file", "status:<text>", "progress", "error:<text>", "end"
    std::vector<CsvMessage> videos;
    std::vector<ProgressMessage> progress;
    std::vector<std::string> files;
    std::vector<std::string> errorDetails;
    std::function<void()> onFirstProgress;

    void DoCSVMessage(const CsvMessage& message) override {
        events.push_back("csv");
        videos.push_back(message);
    }
    void DoFileMessage(const std::string& path) override {
        events.push_back("file");
        files.push_back(path);
    }
    void DoStatusMessage(const std::string& text) override { events.push_back("status:" + text); }
    void DoProcessMessage(const ProgressMessage& message) override {
        events.push_back("progress");
        progress.push_back(message);
        if (onFirstProgress)
            std::exchange(onFirstProgress, nullptr)();
    }
    void DoErrorMessage(const std::string& error, const std::string& detail) override {
        events.push_back("error:" + error);
        errorDetails.push_back(detail);
    }
    void DoRunEnded() override { events.push_back("end"); }

    bool saw(const std::string& event) const {
        for (const auto& seen : events) {
            if (seen == event)
                return true;
        }
        return false;
    }
    // The events without the progress reports.
    std::vector<std::string> milestones() const {
        std::vector<std::string> kept;
        for (const auto& event : events) {
            if (event != "progress")
                kept.push_back(event);
        }
        return kept;
    }
};

} // namespace quilo::test
