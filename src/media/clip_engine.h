// What clip loading asks of the conversion engine and of media analysis, behind
// small interfaces so that cases no real file produces can be scripted.
#pragma once

#include "conversion/engine_api.h"
#include "media/media_info.h"
#include "media/media_types.h"

#include <memory>
#include <string>

namespace quilo {

// The part of the engine's file information that clip loading reads.
struct EngineFileInfo {
    int Duration = 0; // seconds
    float FrameRate = 0;
    float VideoBitRate = 0;
    int Width = 0;
    int Height = 0;
    int AspectCode = 0; // 1 = 1:1, 2 = 4:3, 3 = 16:9, 4 = 2.21:1
    int AudioSampleRate = 0;
    float AudioBitRate = 0;
    int AspectFlag = 1; // 0 = the aspect code applies
};

// The engine loaded for one file; destroying it frees the library.
class ClipEngineSession {
public:
    virtual ~ClipEngineSession() = default;
    virtual int GlobalCmd(const std::string& tempFilePath, const std::string& frameRateHint, int mode) = 0;
    // -1 when the file cannot be read. `path` is a writable copy.
    virtual int GetFileInfo(char* path, int mode, EngineFileInfo& info, int isTransportStream) = 0;
    // width * height * 3 bytes, rows top-down, owned by the engine; null when
    // there is no frame.
    virtual const unsigned char* GetFrame(int width, int height) = 0;
};

class ClipEngine {
public:
    virtual ~ClipEngine() = default;
    // Loads and binds; null when the library cannot be used.
    virtual std::unique_ptr<ClipEngineSession> Open() = 0;
    // Why the last Open failed, when the engine can say.
    virtual std::string error() const { return {}; }
};

// libTranzel.so from the program folder.
class TranzelClipEngine : public ClipEngine {
public:
    static constexpr const char* LibraryName = EngineLibraryName;

    TranzelClipEngine();
    explicit TranzelClipEngine(std::string libraryPath);

    std::unique_ptr<ClipEngineSession> Open() override;
    std::string error() const override { return error_; }

private:
    std::string libraryPath_;
    std::string error_;
};

class MediaProbe {
public:
    virtual ~MediaProbe() = default;
    virtual void Probe(const std::string& path, TMediaInfo& info) = 0;
};

// The MediaInfo library.
class MediaInfoProbe : public MediaProbe {
public:
    explicit MediaInfoProbe(MediaInfoBinding& binding = SharedMediaInfo()) : binding_(binding) {}
    void Probe(const std::string& path, TMediaInfo& info) override { ProbeMedia(binding_, path, info); }

private:
    MediaInfoBinding& binding_;
};

} // namespace quilo
