// Turning file names into clips: AddFiles with its progress and messages,
// LoadClip with the rules that combine the engine's and the probe's answers,
// the sources of file lists (add button, drops) and optical volumes.
#pragma once

#include "media/clip_engine.h"
#include "media/clip_list.h"
#include "media/frame_rate_choice.h"
#include "media/volume_source.h"
#include "platform/prompter.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quilo {

// The notice window's questions and messages that clip loading needs.
class ClipListNotices {
public:
    virtual ~ClipListNotices() = default;
    virtual void ShowMultiAudioNotice() = 0;
    // OK (true) clears the web video list so local files can come in.
    virtual bool ConfirmSwitchToLocal() = 0;
    // Clears the web video list and stops its downloads.
    virtual void ClearWebVideos() {}
};

inline constexpr const char* UnsupportedFilesText = "Some UNSUPPORTED file(s) format can not add in. \n\n";
// Follows the list when the engine itself refused to load, with its reason.
inline constexpr const char* EngineRefusedText = "The conversion engine cannot be used: ";
// Files that are not there are no question of format: they are named apart.
inline constexpr const char* MissingFilesText = "Some file(s) can not be found and were not added:\n\n";

// The message for the files that could not be added, missing ones first; empty when none failed.
std::string FailedFilesMessage(const std::vector<std::string>& paths);

// Why a file cannot be a clip before any reader looks at it ("no such file",
// "a folder, not a file", ...); empty for a readable regular file.
std::string UnreadableFileReason(const std::string& path);

// The English name of the user's language, upper-cased ("ENGLISH").
std::string SystemLanguageName();

// Transport-stream flag handed to the engine.
bool IsTransportStream(const std::string& path, const std::string& formatName);

// Settles the clip's frame rate from the probe's (M) and the engine's (E) rate
// and the container; asks the chooser when they differ by more than 0.03.
float SettleFrameRate(const std::string& path, const std::string& formatName, float probeRate,
                      float engineRate, FrameRateChooser& chooser, int& containerKind);

// Width and height of a clip's thumbnail (at most 240 x 180, sides multiples of 4).
std::pair<int, int> ThumbnailSize(int width, int height, bool useAspectCode, int aspectCode);

// Checks the audio row in the preferred language, else the system language's
// last row, else the last English one, else the first.
void ChooseAudioStream(TVideoInfo& clip, const std::string& preferredLanguage,
                       const std::string& systemLanguage);

class ClipLoader {
public:
    ClipLoader(ClipList& list, ClipEngine& engine, MediaProbe& probe, FrameRateChooser& chooser,
               Prompter& prompter);

    void setNotices(ClipListNotices* notices) { notices_ = notices; }
    // Where the engine keeps its working file; ends with '/'.
    void setDataFolder(std::string folder) { dataFolder_ = std::move(folder); }
    // The audio language chosen in the options, read at each load.
    void setPreferredLanguage(std::function<std::string()> language) {
        preferredLanguage_ = std::move(language);
    }
    void setSystemLanguage(std::string language) { systemLanguage_ = std::move(language); }
    const std::string& systemLanguage() const { return systemLanguage_; }

    // Loads every file and empties `paths`. False (and nothing done) while busy.
    bool AddFiles(std::vector<std::string>& paths);
    // One file; true when a clip was added.
    bool LoadClip(const std::string& path);

    // The add button: true when the file dialog may open (after a confirmed
    // switch from web videos); then the chosen files go to AddChosenFiles.
    bool BeginAdd();
    void AddChosenFiles(std::vector<std::string> paths);
    // Files from the command line.
    void AddLocalFiles(std::vector<std::string> paths);

    // A drop: ignored (false) while a previous drop is handled or the user
    // keeps the web videos. Otherwise the load timer starts.
    bool DropFiles(const std::vector<std::string>& paths);
    bool DropGuard() const { return dropGuard_; }
    bool LoadTimerRunning() const { return loadTimer_; }
    const std::vector<std::string>& PendingFiles() const { return pending_; }
    // The load timer's single tick, 100 ms after the drop.
    void LoadTimerFired();
    static constexpr int LoadTimerMs = 100;

    void HandleVolumeEvent(const VolumeEvent& event);
    void PollVolumes(VolumeSource& source);

private:
    bool confirmLocal();
    void showProgress();

    ClipList& list_;
    ClipEngine& engine_;
    MediaProbe& probe_;
    FrameRateChooser& chooser_;
    Prompter& prompter_;
    ClipListNotices* notices_ = nullptr;
    std::string dataFolder_;
    std::function<std::string()> preferredLanguage_;
    std::string systemLanguage_;
    bool dropGuard_ = false;
    bool loadTimer_ = false;
    std::vector<std::string> pending_;
    std::string engineError_; // why the engine refused during the current add
};

} // namespace quilo
