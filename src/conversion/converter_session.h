// The main window's models put together without the window: settings, clip
// list and loading, the output settings panel and the output names. The
// windowed program and the command-line converter both drive one of these.
#pragma once

#include "conversion/conversion_job.h"
#include "downloader/download_task.h"
#include "media/clip_loader.h"
#include "platform/program_folders.h"
#include "profiles/options_model.h"
#include "profiles/output_panel.h"

#include <functional>
#include <memory>
#include <string>

namespace quilo {

class ConverterSession : private NamingClipList, private CurrentClipSize, private ClipOutputNamer {
public:
    struct Setup {
        ProgramFolders program; // installation files and libraries
        std::string dataFolder; // the user's settings and logs, ends with '/'
        Prompter& prompter;
        FrameRateChooser& frameRateChooser;
        ClipListNotices* notices = nullptr;
        // The engine's processor count for the panel's core selector; asked of
        // the engine library when not given.
        std::function<int()> processorCores = {};
    };

    explicit ConverterSession(Setup setup);
    ~ConverterSession() override;

    ClipList& clips() { return clips_; }
    ClipLoader& loader() { return loader_; }
    OutputPanelModel& panel() { return *panel_; }
    // The options dialog's model holds the process's one set of settings.
    OptionsModel& optionsDialog() { return *options_; }
    const OptionSettings& options() const { return options_->settings(); }
    UserLog& userLog() { return userLog_; }
    const std::string& dataFolder() const { return setup_.dataFolder; }

    // Where a job of the current target writes: the base output folder and the
    // target's sub-folder, or `folderOverride` when it is given.
    std::string JobOutputFolder(const std::string& folderOverride = {}) const;
    // Everything a job reads: the checked clips, the panel's settings as they
    // are now, the folders. Needs the profile definitions.
    JobInputs MakeJobInputs(const std::string& folderOverride = {}) const;
    // The same for other clips than the list's.
    JobInputs MakeJobInputs(std::vector<TVideoInfo*> clips, const std::string& folderOverride = {}) const;
    // The extension of the current target's output files, with its dot (".mp4").
    std::string OutputExtension();

    // Clips made from downloaded links live outside the clip list until the next link job.
    // Loads the files of one link as one clip, the later files continuing the
    // first, named `outputName`; null when the first file cannot be converted.
    TVideoInfo* LoadDownloadedClip(const std::vector<std::string>& paths, const std::string& outputName);
    // The clip of a downloaded link: its files, named after the first with `extension`.
    TVideoInfo* LoadDownloadedTask(const TDownloadTask& task, const std::string& extension);
    void ForgetDownloadedClips() { downloaded_.RemoveAll(); }

    // A job has ended: the serial numbers its converted clips were named with
    // are used up, and the clips' names count on past them.
    void JobEnded(const ConversionJob& job);

    // The options dialog has closed: with changes, the panel is rebuilt and the
    // output names follow the new settings.
    void OptionsClosed();
    // The main window's Browse button: a new base output folder, saved at once.
    void ChooseOutputFolder(const std::string& folder);
    // The main window's close button. False (after saying why) while the
    // preview seeks; otherwise the language and the output folder are saved.
    bool CloseRequested();

private:
    void setUpLoader(ClipLoader& loader) const;

    // NamingClipList, CurrentClipSize, ClipOutputNamer
    int clipCount() const override;
    std::optional<NamingClip> clip(int position) const override;
    void setOutputName(int position, const std::string& name) override;
    std::optional<ClipSize> currentClipSize() const override;
    std::string OutputFileName(int position) override;

    Setup setup_;
    std::unique_ptr<OptionsModel> options_;
    UserLog userLog_;
    MediaInfoProbe probe_;
    TranzelClipEngine engine_;
    ClipList clips_;
    ClipLoader loader_;
    ClipList downloaded_;
    ClipLoader downloadedLoader_;
    std::unique_ptr<OutputPanelModel> panel_;
};

} // namespace quilo
