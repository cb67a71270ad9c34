#include "media/clip_engine.h"

namespace quilo {
namespace {

class TranzelSession : public ClipEngineSession {
public:
    explicit TranzelSession(std::unique_ptr<EngineLibrary> engine) : engine_(std::move(engine)) {}

    int GlobalCmd(const std::string& tempFilePath, const std::string& frameRateHint, int mode) override {
        return engine_->api().X_Global_CMD(tempFilePath.c_str(), frameRateHint.c_str(), mode);
    }

    int GetFileInfo(char* path, int mode, EngineFileInfo& info, int isTransportStream) override {
        // The engine's record is larger than what loading reads.
        TzFileInfo record{};
        const int result = engine_->api().X_GetFileinfo_GetPic(path, mode, &record, isTransportStream);
        info.Duration = record.duration;
        info.FrameRate = record.frameRate;
        info.VideoBitRate = record.videoBitRate;
        info.Width = record.width;
        info.Height = record.height;
        info.AspectCode = record.aspectCode;
        info.AudioSampleRate = record.audioSampleRate;
        info.AudioBitRate = record.audioBitRate;
        info.AspectFlag = record.aspectFlag;
        return result;
    }

    const unsigned char* GetFrame(int width, int height) override {
        unsigned char* pixels = nullptr;
        int frameInfo[10] = {};
        if (engine_->api().X_Get_Frame(width, height, "2.bmp", &pixels, frameInfo) != 0 || !pixels)
            return nullptr;
        // A picture of another size than asked for would be read past its end.
        if (frameInfo[1] != width || frameInfo[2] != height)
            return nullptr;
        return pixels;
    }

private:
    std::unique_ptr<EngineLibrary> engine_;
};

} // namespace

TranzelClipEngine::TranzelClipEngine() : libraryPath_(EngineLibraryPath()) {}

TranzelClipEngine::TranzelClipEngine(std::string libraryPath) : libraryPath_(std::move(libraryPath)) {}

std::unique_ptr<ClipEngineSession> TranzelClipEngine::Open() {
    auto engine = std::make_unique<EngineLibrary>();
    if (!engine->Load(libraryPath_)) {
        error_ = engine->error();
        return nullptr;
    }
    error_.clear();
    return std::make_unique<TranzelSession>(std::move(engine));
}

} // namespace quilo
