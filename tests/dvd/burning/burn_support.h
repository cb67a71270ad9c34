// What the burn tests share: a notify window that records what was posted to
// it, and a progress window that records the burn timer and label.
#pragma once

#include "dvd/burning/burn_control.h"
#include "dvd/burning/burn_step.h"

#include <mutex>
#include <utility>
#include <vector>

namespace quilo::test {

class RecordingWindow {
public:
    RecordingWindow() : port_{&RecordingWindow::Post, this} {}
    const QuiloWindowPort* port() const { return &port_; }
    std::vector<std::pair<long, long>> posted() const {
        std::lock_guard guard(lock_);
        return posted_;
    }
    bool received(long wParam, long lParam) const {
        for (const auto& message : posted())
            if (message == std::make_pair(wParam, lParam))
                return true;
        return false;
    }

private:
    static void Post(void* context, unsigned message, long wParam, long lParam) {
        auto* self = static_cast<RecordingWindow*>(context);
        if (message != WM_BURNER_NOTIFY)
            return;
        std::lock_guard guard(self->lock_);
        self->posted_.emplace_back(wParam, lParam);
    }
    QuiloWindowPort port_;
    mutable std::mutex lock_;
    std::vector<std::pair<long, long>> posted_;
};

class RecordingProgressWindow : public BurnStepWindow {
public:
    void StartBurnTimer() override {
        animation.Reset();
        animation.SetRunning(true);
        ++timerStarts;
    }
    void StopBurnTimer() override { animation.SetRunning(false); }
    void SetCurrentFileLabel(const std::string& text) override { label = text; }
    BurnAnimation animation;
    int timerStarts = 0;
    std::string label = "something before";
};

} // namespace quilo::test
