#include "media/preview_grabber.h"

#include <cstring>

namespace quilo {

PreviewGrabber::PreviewGrabber(std::string libraryPath, std::string dataFolder)
    : libraryPath_(std::move(libraryPath)), dataFolder_(std::move(dataFolder)),
      window_(std::make_unique<GrabberWindow>(
          [this](unsigned message, long wParam) { HandleMessage(message, wParam); })) {}

PreviewGrabber::~PreviewGrabber() {
    // The engine's thread must not outlive the window it posts to.
    StopGrabber();
}

void PreviewGrabber::SetClip(TVideoInfo* clip) {
    if (clip == clip_)
        return;
    StopGrabber();
    clip_ = clip;
    // Whatever the last clip was waiting for, the new one waits for nothing.
    endSeeking();
}

int PreviewGrabber::adjustedSecond(const TVideoInfo& clip, int seconds) {
    if (seconds > clip.Duration - 10)
        seconds -= 10;
    return seconds < 1 ? 1 : seconds;
}

bool PreviewGrabber::StartGrabber() {
    if (library_.loaded())
        return true;
    if (!library_.Load(libraryPath_))
        return false;
    const std::string workingFile = dataFolder_ + EngineWorkingFile;
    library_.api().X_Global_CMD(workingFile.c_str(), "29.976", 1);
    labelVisible_ = true;
    return true;
}

void PreviewGrabber::StopGrabber() {
    if (!library_.loaded() || stopping_)
        return;
    stopping_ = true;
    // Without X_GetFrame_Init the engine has nothing to confirm, and waiting
    // for it would never end.
    if (initialised_) {
        WaitProcessingMessages([this] { return ready_; }, stopWaitLimitMs_);
        done_ = false;
        library_.api().X_GetFrame_UnInit();
        WaitProcessingMessages([this] { return done_; }, stopWaitLimitMs_);
    }
    ready_ = false;
    initialised_ = false;
    lastFrameTime_ = -1;
    pendingSecond_ = -1;
    library_.Unload();
    stopping_ = false;
}

void PreviewGrabber::ShowSeeking() {
    controlsEnabled_ = false;
    labelVisible_ = true;
}

void PreviewGrabber::endSeeking() {
    controlsEnabled_ = true;
    labelVisible_ = false;
}

void PreviewGrabber::askFor(int seconds) {
    ++requestsSent_;
    library_.api().X_Set_NextFrame_Time(seconds);
}

void PreviewGrabber::RequestFrame(int seconds) {
    if (!clip_)
        return;
    const int t = adjustedSecond(*clip_, seconds);
    if (ready_) {
        if (t == lastFrameTime_)
            endSeeking();
        else
            askFor(t);
        return;
    }
    // A session still starting up asks, once ready, for the last second
    // wanted meanwhile: a handle released at once still shows its own frame.
    if (initialised_) {
        pendingSecond_ = t;
        return;
    }
    if (!StartGrabber()) {
        // No engine, no frame: the thumbnail stays, and the window must not
        // stay locked in seeking for good.
        endSeeking();
        return;
    }
    const std::string start = std::to_string(t);
    ++requestsSent_;
    initialised_ = true;
    pendingSecond_ = t;
    library_.api().X_GetFrame_Init(window_->port(), 2, clip_->FilePath.c_str(), "", start.c_str());
}

const unsigned char* PreviewGrabber::fetchFrame(int width, int height) {
    if (!library_.loaded() || width <= 0 || height <= 0)
        return nullptr;
    unsigned char* pixels = nullptr;
    int info[10] = {};
    if (library_.api().X_Get_Frame(width, height, nullptr, &pixels, info) != 0 || !pixels)
        return nullptr;
    lastFrameTime_ = info[0];
    return pixels;
}

void PreviewGrabber::HandleMessage(unsigned message, long wParam) {
    switch (message) {
    case TZ_MSG_GRABBER_READY:
        labelVisible_ = false;
        ready_ = true;
        done_ = false;
        ShowSeeking();
        if (clip_ && !stopping_)
            askFor(pendingSecond_ >= 0 ? pendingSecond_ : adjustedSecond(*clip_, clip_->StartTime));
        pendingSecond_ = -1;
        break;
    case TZ_MSG_FRAME_AVAILABLE: {
        if (!clip_)
            return;
        if (wParam == 1) {
            Bitmap24& picture = clip_->Thumbnail;
            // A frame that cannot be fetched leaves the thumbnail as it was.
            if (const unsigned char* pixels = fetchFrame(picture.Width, picture.Height)) {
                Bitmap24 frame(picture.Width, picture.Height);
                std::memcpy(frame.Pixels.data(), pixels, frame.Pixels.size());
                picture = std::move(frame);
                ++framesShown_;
            }
        }
        endSeeking();
        break;
    }
    case TZ_MSG_GRABBER_CLOSED:
        ready_ = false;
        done_ = true;
        break;
    default:
        return;
    }
    if (listener_)
        listener_();
}

std::string PreviewGrabber::SaveSnapshot(const std::string& chosenPath, SnapshotFilter filter) {
    if (!CanSnapshot())
        return {};
    int width = 0, height = 0;
    SnapshotSize(*clip_, width, height);
    const unsigned char* pixels = fetchFrame(width, height);
    if (!pixels)
        return {}; // no frame: no empty or half picture on disk
    const std::string path = SnapshotFileName(chosenPath, filter);
    const bool written = filter == SnapshotFilter::Bmp ? WriteBmp(path, pixels, width, height)
                                                       : WriteJpeg(path, pixels, width, height, 100);
    return written ? path : std::string();
}

} // namespace quilo
