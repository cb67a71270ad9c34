// A scripted engine and probe for the loading rules that real files cannot
// reach (engine and analysis disagreeing, missing engine, odd sizes), and
// volumes that come and go.
#pragma once

#include "media/clip_engine.h"
#include "media/clip_list.h"
#include "media/clip_loader.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quilo::test {

struct ScriptedFile {
    int result = 0; // of GetFileInfo
    EngineFileInfo info;
    bool frame = true;        // GetFrame gives pixels
    bool infoThrows = false;  // GetFileInfo throws
    bool frameThrows = false; // GetFrame throws
};

class ScriptedEngine : public ClipEngine {
public:
    struct Calls {
        std::vector<std::string> globalCmd; // "temp|hint|mode"
        std::vector<std::string> paths;     // as the engine was given them
        std::vector<int> modes;
        std::vector<int> transportFlags;
        std::vector<std::pair<int, int>> frames;
        int opened = 0;
        int closed = 0;
    };

    bool available = true;
    std::map<std::string, ScriptedFile> files;
    Calls calls;

    std::unique_ptr<ClipEngineSession> Open() override;
    // The frame's pixel (x, y) is (x, y, 7), so a test sees where each one landed.
    std::vector<unsigned char> pixels;
};

class ScriptedProbe : public MediaProbe {
public:
    std::map<std::string, TMediaInfo> files;
    void Probe(const std::string& path, TMediaInfo& info) override {
        const auto found = files.find(path);
        info = found == files.end() ? TMediaInfo{} : found->second;
    }
};

class RecordingChooser : public FrameRateChooser {
public:
    struct Asked {
        std::string path;
        float first;
        float second;
    };
    std::vector<Asked> asked;
    float answer = 0;
    float ChooseFrameRate(const std::string& path, float first, float second) override {
        asked.push_back({path, first, second});
        return answer;
    }
};

class RecordingEvents : public ClipListEvents {
public:
    ClipList* list = nullptr;
    std::vector<std::pair<int, int>> progress; // bar pixels, percent while visible
    int stopPreviews = 0;
    std::vector<std::string> dvdNames;
    void stopPreview() override { ++stopPreviews; }
    void addProgressChanged() override {
        if (list && list->Progress.Visible)
            progress.emplace_back(list->Progress.BarPixels, list->Progress.Percent);
    }
    void dvdNameFound(const std::string& label) override { dvdNames.push_back(label); }
};

class RecordingNotices : public ClipListNotices {
public:
    int multiAudio = 0;
    int switchQuestions = 0;
    int webCleared = 0;
    bool switchAnswer = true;
    void ShowMultiAudioNotice() override { ++multiAudio; }
    bool ConfirmSwitchToLocal() override {
        ++switchQuestions;
        return switchAnswer;
    }
    void ClearWebVideos() override { ++webCleared; }
};

// The name is the position and the file name, so tests see which clip got which.
class PositionNamer : public ClipOutputNamer {
public:
    ClipList* list = nullptr;
    std::string OutputFileName(int position) override {
        const TVideoInfo* clip = list ? list->Clip(position) : nullptr;
        return std::to_string(position) + "-" + (clip ? clip->FilePath : std::string("?")) + ".mp4";
    }
};

// Volume events given by a test, handed out in order.
class ScriptedVolumeSource : public VolumeSource {
public:
    void push(VolumeEvent event) { pending_.push_back(std::move(event)); }
    std::vector<VolumeEvent> Poll() override {
        std::vector<VolumeEvent> events(pending_.begin(), pending_.end());
        pending_.clear();
        return events;
    }

private:
    std::deque<VolumeEvent> pending_;
};

} // namespace quilo::test
