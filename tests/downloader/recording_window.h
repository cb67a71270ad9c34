// A window port that keeps what was posted to it, for reading by task.
#pragma once

#include "quilo/window_port.h"

#include <mutex>
#include <string>
#include <vector>

namespace quilo::test {

struct RecordingWindow {
    struct Posted {
        unsigned int message;
        long wParam;
        long lParam;
    };

    QuiloWindowPort port{&RecordingWindow::post, this};

    // "<message>:<wParam>" of every post naming the task `id`, in order.
    std::vector<std::string> of(long id) {
        std::lock_guard guard(lock_);
        std::vector<std::string> kept;
        for (const auto& item : posted_) {
            if (item.lParam == id)
                kept.push_back(std::to_string(item.message) + ":" + std::to_string(item.wParam));
        }
        return kept;
    }
    size_t count() {
        std::lock_guard guard(lock_);
        return posted_.size();
    }

private:
    static void post(void* context, unsigned int message, long wParam, long lParam) {
        auto* self = static_cast<RecordingWindow*>(context);
        std::lock_guard guard(self->lock_);
        self->posted_.push_back({message, wParam, lParam});
    }

    std::mutex lock_;
    std::vector<Posted> posted_;
};

} // namespace quilo::test
