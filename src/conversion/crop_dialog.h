// The crop dialog without the window: a frame of the clip from the engine's
// grabber, the time slider, black-border detection on the first frame, and
// the crop written into the clip on OK.
#pragma once

#include "conversion/crop_geometry.h"
#include "media/clip_record.h"
#include "media/preview_engine.h"

#include <functional>
#include <memory>
#include <string>

namespace quilo {

inline constexpr const char* CropCannotProcessText = "Cannot process it!";
inline constexpr const char* CropSelectClipText = "Please select one clip to add effect.";

class CropDialog {
public:
    static constexpr int SliderMin = 55;
    static constexpr int SliderTravel = 222;

    CropDialog(std::string libraryPath, std::string dataFolder);
    ~CropDialog();
    CropDialog(const CropDialog&) = delete;
    CropDialog& operator=(const CropDialog&) = delete;

    // Prepares the dialog for a clip and starts the grabber; false when the
    // engine cannot be loaded (the dialog is then not shown).
    bool OpenCropDialog(TVideoInfo& clip);
    TVideoInfo* Clip() const { return clip_; }

    CropGeometry Geometry;

    void HandleMessage(unsigned message, long wParam);
    // Called after every engine message has been handled, so a view can follow.
    void SetMessageListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // The time slider: press, drag to a left edge, release.
    void SliderPress(int x);
    void SliderMove(int x);
    void SliderRelease();
    int SliderLeft() const { return sliderLeft_; }
    int SliderSecond() const;
    const std::string& TimeLabel() const { return timeLabel_; }
    const std::string& SizeLabel() const { return sizeLabel_; }

    bool LabelVisible() const { return labelVisible_; }
    bool PictureVisible() const { return pictureVisible_; }
    const Bitmap24& Picture() const { return picture_; }
    bool Ready() const { return ready_; }
    bool Closed() const { return closed_; }
    bool Loaded() const { return library_.loaded(); }
    bool BordersDetected() const { return firstFrameDone_; }

    void Restore() { Geometry.Restore(); }
    // OK writes the fields into the clip; Cancel (and the close button) do not.
    void Ok();
    void Cancel();

    void SetCloseWaitLimit(int milliseconds) { closeWaitLimitMs_ = milliseconds; }

private:
    void close();
    void showFrame();

    std::string libraryPath_;
    std::string dataFolder_;
    EngineLibrary library_;
    std::unique_ptr<GrabberWindow> window_;
    TVideoInfo* clip_ = nullptr;
    int startSecond_ = 1;
    bool initialised_ = false;
    bool ready_ = false;
    bool closed_ = false;
    bool closing_ = false;
    bool firstFrameDone_ = false;
    bool labelVisible_ = false;
    bool pictureVisible_ = false;
    Bitmap24 picture_;
    int sliderLeft_ = SliderMin;
    bool sliderDragging_ = false;
    int sliderPressX_ = 0, sliderPressLeft_ = SliderMin;
    std::string timeLabel_;
    std::string sizeLabel_;
    int closeWaitLimitMs_ = 30000;
    std::function<void()> listener_;
};

} // namespace quilo
