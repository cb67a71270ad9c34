// The burn step of a DVD disc job: the authored VIDEO_TS folder is checked
// against the disc in the chosen drive and burned, with the progress window's
// "Burning DVD ..." animation running meanwhile.
#pragma once

#include "dvd/burning/burn_control.h"
#include "platform/prompter.h"

#include <cstdint>
#include <string>

namespace quilo {

// Results of the burn step; they become the job's result.
namespace BurnResult {
inline constexpr int Burned = 1, NotStarted = -2, FolderMissing = -3, Failed = -4;
}

// The room a DVD-Video image needs beyond its files to be sure to play.
inline constexpr uint64_t BurnSafetyMargin = 52428800;

// What the progress window lends the burn step: the 1000 ms burn timer and the
// current-file label.
class BurnStepWindow {
public:
    virtual ~BurnStepWindow() = default;
    virtual void StartBurnTimer() = 0;
    virtual void StopBurnTimer() = 0;
    virtual void SetCurrentFileLabel(const std::string& text) = 0;
};

// The text of the burn timer: one more dot a tick, back to none after 39.
class BurnAnimation {
public:
    void Reset() { ticks_ = 0; }
    std::string Tick();
    bool running() const { return running_; }
    void SetRunning(bool running) { running_ = running; }

private:
    int ticks_ = 0;
    bool running_ = false;
};

// `dvdOutputFolder` is the job's DVD folder (the one holding VIDEO_TS).
int RunBurnStep(BurnerControl& burner, const std::string& dvdOutputFolder, Prompter& prompter,
                BurnStepWindow& window);

// The Stop button while the burn timer runs: a burn cannot be cancelled.
void ExplainBurnCannotStop(Prompter& prompter);

} // namespace quilo
