// The preview's frame-grabber session without the window: the engine loaded
// for the current clip, the frames it delivers at the asked seconds, the
// "Seeking please wait..." label, and snapshots of the shown frame.
#pragma once

#include "media/clip_record.h"
#include "media/preview_engine.h"
#include "media/preview_snapshot.h"

#include <functional>
#include <memory>
#include <string>

namespace quilo {

inline constexpr const char* SeekingText = "Seeking please wait...";
inline constexpr const char* EngineWorkingFile = "kavotempfile.tmp";

class PreviewGrabber {
public:
    // `libraryPath` is the engine in the program folder; `dataFolder` ends with '/'.
    PreviewGrabber(std::string libraryPath, std::string dataFolder);
    ~PreviewGrabber();
    PreviewGrabber(const PreviewGrabber&) = delete;
    PreviewGrabber& operator=(const PreviewGrabber&) = delete;

    // The current clip. Another clip stops the grabber first.
    void SetClip(TVideoInfo* clip);
    TVideoInfo* Clip() const { return clip_; }

    bool StartGrabber();
    // Waits, processing window messages, until the engine confirmed the shutdown.
    void StopGrabber();
    // Shows the frame at `seconds` of the current clip.
    void RequestFrame(int seconds);
    // Snapshot and trim bar off, label on, until a frame (or no frame) arrives.
    void ShowSeeking();

    // A message from the engine (the window delivers them; tests may too).
    void HandleMessage(unsigned message, long wParam);
    // Called after every engine message has been handled, so a view can follow.
    void SetMessageListener(std::function<void()> listener) { listener_ = std::move(listener); }

    bool Loaded() const { return library_.loaded(); }
    bool Ready() const { return ready_; }
    bool Done() const { return done_; }
    bool Stopping() const { return stopping_; }
    int LastFrameTime() const { return lastFrameTime_; }
    bool LabelVisible() const { return labelVisible_; }
    bool SnapshotEnabled() const { return controlsEnabled_ && clip_ != nullptr; }
    bool TrimBarEnabled() const { return controlsEnabled_; }
    // How many frames reached the clip's thumbnail (a repaint hint for the view).
    int FramesShown() const { return framesShown_; }
    // How many times a frame was asked of the engine.
    int RequestsSent() const { return requestsSent_; }

    // The save dialog may open only when this holds.
    bool CanSnapshot() const { return ready_ && clip_ != nullptr; }
    // Fetches the frame at the clip's snapshot size and writes it; the path
    // actually written (with its extension), or empty when nothing was written.
    std::string SaveSnapshot(const std::string& chosenPath, SnapshotFilter filter);

    // How long each wait of StopGrabber may last before it gives up.
    void SetStopWaitLimit(int milliseconds) { stopWaitLimitMs_ = milliseconds; }

private:
    static int adjustedSecond(const TVideoInfo& clip, int seconds);
    void endSeeking();
    void askFor(int seconds);
    const unsigned char* fetchFrame(int width, int height);

    std::string libraryPath_;
    std::string dataFolder_;
    EngineLibrary library_;
    std::unique_ptr<GrabberWindow> window_;
    TVideoInfo* clip_ = nullptr;
    bool initialised_ = false; // X_GetFrame_Init was called in this session
    bool ready_ = false;
    bool done_ = false;
    bool stopping_ = false;
    int lastFrameTime_ = -1;
    int pendingSecond_ = -1; // the last second asked for while the session starts
    int requestsSent_ = 0;
    bool labelVisible_ = false;
    bool controlsEnabled_ = true;
    int framesShown_ = 0;
    int stopWaitLimitMs_ = 30000;
    std::function<void()> listener_;
};

} // namespace quilo
