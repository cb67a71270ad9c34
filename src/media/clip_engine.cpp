#include "media/clip_engine.h"

#include "platform/program_folders.h"
#include "tranzel.h"

namespace quilo {

namespace {

class TranzelSession : public ClipEngineSession {
public:
    using GlobalCmdFn = decltype(&X_Global_CMD);
    using FileInfoFn = decltype(&X_GetFileinfo_GetPic);
    using FrameFn = decltype(&X_Get_Frame);

    TranzelSession(SharedLibrary library, GlobalCmdFn globalCmd, FileInfoFn fileInfo, FrameFn frame)
        : library_(std::move(library)), globalCmd_(globalCmd), fileInfo_(fileInfo), frame_(frame) {}

    int GlobalCmd(const std::string& tempFilePath, const std::string& frameRateHint, int mode) override {
        return globalCmd_(tempFilePath.c_str(), frameRateHint.c_str(), mode);
    }

    int GetFileInfo(char* path, int mode, EngineFileInfo& info, int isTransportStream) override {
        // The engine's record is larger than what loading reads.
        TzFileInfo record{};
        const int result = fileInfo_(path, mode, &record, isTransportStream);
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
        if (frame_(width, height, "2.bmp", &pixels, frameInfo) != 0 || !pixels)
            return nullptr;
        // A picture of another size than asked for would be read past its end.
        if (frameInfo[1] != width || frameInfo[2] != height)
            return nullptr;
        return pixels;
    }

private:
    SharedLibrary library_;
    GlobalCmdFn globalCmd_;
    FileInfoFn fileInfo_;
    FrameFn frame_;
};

} // namespace

TranzelClipEngine::TranzelClipEngine() : libraryPath_(ThisProgramFolders().libraries + LibraryName) {}

TranzelClipEngine::TranzelClipEngine(std::string libraryPath) : libraryPath_(std::move(libraryPath)) {}

std::unique_ptr<ClipEngineSession> TranzelClipEngine::Open() {
    SharedLibrary library;
    if (!library.load(libraryPath_)) {
        error_ = library.error();
        return nullptr;
    }
    const auto globalCmd = library.function<TranzelSession::GlobalCmdFn>("X_Global_CMD");
    const auto fileInfo = library.function<TranzelSession::FileInfoFn>("X_GetFileinfo_GetPic");
    const auto frame = library.function<TranzelSession::FrameFn>("X_Get_Frame");
    if (!globalCmd || !fileInfo || !frame) {
        error_ = libraryPath_ + " lacks an entry point of clip loading";
        return nullptr;
    }
    error_.clear();
    return std::make_unique<TranzelSession>(std::move(library), globalCmd, fileInfo, frame);
}

} // namespace quilo
