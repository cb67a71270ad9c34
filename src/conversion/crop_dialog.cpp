#include "conversion/crop_dialog.h"

#include "conversion/crop_borders.h"
#include "media/preview_grabber.h"
#include "shell/text_format.h"

#include <algorithm>
#include <cstring>

namespace quilo {

CropDialog::CropDialog(std::string libraryPath, std::string dataFolder)
    : libraryPath_(std::move(libraryPath)), dataFolder_(std::move(dataFolder)),
      window_(std::make_unique<GrabberWindow>(
          [this](unsigned message, long wParam) { HandleMessage(message, wParam); })) {}

CropDialog::~CropDialog() {
    close();
}

bool CropDialog::OpenCropDialog(TVideoInfo& clip) {
    close();
    clip_ = &clip;
    Geometry.Open(clip);
    sliderLeft_ = SliderMin;
    sliderDragging_ = false;
    timeLabel_ = SecondsToText(clip.StartTime) + " / " + SecondsToText(clip.Duration);
    sizeLabel_ = std::to_string(clip.Width) + " x " + std::to_string(clip.Height);
    picture_ = {};
    pictureVisible_ = false;
    firstFrameDone_ = false;
    ready_ = false;
    closed_ = false;

    if (!library_.Load(libraryPath_)) {
        clip_ = nullptr;
        return false;
    }
    const std::string workingFile = dataFolder_ + EngineWorkingFile;
    library_.api().X_Global_CMD(workingFile.c_str(), "29.976", 1);
    int start = clip.StartTime;
    if (start > clip.Duration - 10)
        start -= 10;
    startSecond_ = std::max(start, 1);
    const std::string startText = std::to_string(startSecond_);
    initialised_ = true;
    library_.api().X_GetFrame_Init(window_->port(), 2, clip.FilePath.c_str(), "", startText.c_str());
    labelVisible_ = true;
    return true;
}

void CropDialog::HandleMessage(unsigned message, long wParam) {
    switch (message) {
    case TZ_MSG_GRABBER_READY:
        ready_ = true;
        // The frame at the clip's start, which the time label shows.
        if (clip_ && !closing_)
            library_.api().X_Set_NextFrame_Time(startSecond_);
        break;
    case TZ_MSG_FRAME_AVAILABLE:
        if (wParam == 1 && clip_ && library_.loaded())
            showFrame();
        break;
    case TZ_MSG_GRABBER_CLOSED:
        ready_ = false;
        closed_ = true;
        break;
    default:
        return;
    }
    if (listener_)
        listener_();
}

void CropDialog::showFrame() {
    const int width = Geometry.GrabWidth(), height = Geometry.GrabHeight();
    unsigned char* pixels = nullptr;
    int info[10] = {};
    if (library_.api().X_Get_Frame(width, height, nullptr, &pixels, info) != 0 || !pixels)
        return; // no frame: the label stays, OK still takes the fields
    Bitmap24 frame(width, height);
    std::memcpy(frame.Pixels.data(), pixels, frame.Pixels.size());
    picture_ = std::move(frame);
    if (!firstFrameDone_) {
        firstFrameDone_ = true;
        const TVideoInfo& c = *clip_;
        const bool wholeFrame = c.CropX <= 0 && c.CropY <= 0 && c.CropW >= Geometry.SourceWidth() &&
                                c.CropH >= Geometry.SourceHeight();
        if (wholeFrame)
            Geometry.ShowCrop(DetectBlackBorders(picture_, Geometry.SourceWidth(), Geometry.SourceHeight(),
                                                 Geometry.VerticalFactor()));
    }
    pictureVisible_ = true;
    labelVisible_ = false;
}

int CropDialog::SliderSecond() const {
    if (!clip_)
        return 0;
    return static_cast<int>(static_cast<double>(sliderLeft_ - SliderMin) *
                                (clip_->EndTime - clip_->StartTime) / SliderTravel +
                            clip_->StartTime);
}

void CropDialog::SliderPress(int x) {
    sliderDragging_ = clip_ != nullptr;
    sliderPressX_ = x;
    sliderPressLeft_ = sliderLeft_;
}

void CropDialog::SliderMove(int x) {
    if (!sliderDragging_)
        return;
    sliderLeft_ = std::clamp(sliderPressLeft_ + x - sliderPressX_, SliderMin, SliderMin + SliderTravel);
    timeLabel_ = SecondsToText(SliderSecond()) + " / " + SecondsToText(clip_->Duration);
}

void CropDialog::SliderRelease() {
    if (!sliderDragging_)
        return;
    sliderDragging_ = false;
    if (library_.loaded() && initialised_)
        library_.api().X_Set_NextFrame_Time(SliderSecond());
    labelVisible_ = true;
}

void CropDialog::Ok() {
    if (clip_) {
        const CropRect& f = Geometry.Fields();
        clip_->CropX = f.X;
        clip_->CropY = f.Y;
        clip_->CropW = f.W;
        clip_->CropH = f.H;
    }
    Cancel();
}

void CropDialog::Cancel() {
    picture_ = {};
    pictureVisible_ = false;
    close();
    clip_ = nullptr;
}

void CropDialog::close() {
    if (!library_.loaded() || closing_)
        return;
    closing_ = true;
    if (initialised_) {
        WaitProcessingMessages([this] { return ready_; }, closeWaitLimitMs_);
        closed_ = false;
        library_.api().X_GetFrame_UnInit();
        WaitProcessingMessages([this] { return closed_; }, closeWaitLimitMs_);
    }
    ready_ = false;
    initialised_ = false;
    library_.Unload();
    closing_ = false;
}

} // namespace quilo
