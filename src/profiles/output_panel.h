// The output settings panel of the main window without its widgets: the
// category and target buttons, the selectors filled from the profile
// definitions, the saved profiles, the image modes, the DVD and advanced
// settings, the per-target memory and the panel's place in the settings file.
// The job's parameter assembly reads `controls()` when a job starts.
#pragma once

#include "platform/ini_file.h"
#include "platform/prompter.h"
#include "profiles/option_settings.h"
#include "profiles/output_naming.h"
#include "profiles/output_panel_clips.h"
#include "profiles/panel_controls.h"
#include "profiles/profile_definitions.h"
#include "profiles/saved_profiles.h"
#include "shell/target_selection.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace quilo {

inline constexpr const char* ConvertParamSection = "ConvertParam";

// What the panel keeps of a target while the program runs.
struct TargetMemory {
    static constexpr int SlotCount = 39; // the audio targets from MP3 on have none

    bool saved = false;
    int audioCodec = -1;
    int sampleRate = -1;
    int channel = -1;
    int audioBitRate = -1;
    int volume = 0;
    int videoCodec = -1;
    int frameRate = -1;
    int videoBitRate = 0;
    int imageMode = -1;
    int resolution = -1; // kept too, so that a target's resolution matches its re-selected profile
    int width = 0;
    int height = 0;
    int outputFormat = -1;
};

class OutputPanelModel : public TargetPanelPort, public OutputNamingSource {
public:
    struct Files {
        std::string definitions;   // PfDef.dll in the program folder
        std::string savedProfiles; // PfSetting.ini in the data folder
        std::string options;       // Option.ini in the data folder
    };

    // `settings` are the options dialog's: the base output folder and the naming
    // settings are read from it whenever they are needed.
    OutputPanelModel(Files files, const OptionSettings& settings, Prompter& prompter);
    ~OutputPanelModel() override;
    OutputPanelModel(const OutputPanelModel&) = delete;
    OutputPanelModel& operator=(const OutputPanelModel&) = delete;

    // The clip list's side; either may be absent (no clips).
    void setClipSize(const CurrentClipSize* clipSize) { clipSize_ = clipSize; }
    void setNamingClips(NamingClipList* clips) { clips_ = clips; }

    const PanelControls& controls() const { return controls_; }
    const TargetSelectionModel& selection() const { return selection_; }
    ConverterTypeId currentCategory() const { return selection_.currentCategory(); }
    // "Tamber-" + the current target's type name; empty before the first target.
    const std::string& definitionSection() const { return section_; }
    // The engine value of the selected output image mode, read as a number.
    int outputImageModeValue() const { return imageMode_; }
    // The definition reader, null until the first target is selected.
    const ProfileDefinitions* definitions() const { return definitions_.get(); }
    // The saved profiles listed for the current target, with their slots.
    const MainWindowProfileList& savedProfileList() const { return profiles_; }
    // What the panel keeps of a target; null for the targets without a slot.
    const TargetMemory* memory(TargetTypeId target) const {
        return target >= 0 && target < TargetMemory::SlotCount ? &memory_[target] : nullptr;
    }
    int customWidth() const { return customWidth_; }
    int customHeight() const { return customHeight_; }

    // Category and target buttons.
    void ClickCategory(ConverterTypeId category);
    void ClickTarget(TargetTypeId target);
    // A command-line target switch: the target's category, then the target.
    void SelectTargetAsClicked(TargetTypeId target);

    // Saves the leaving target's values, builds the panel for `target` and
    // restores what the panel last held for it.
    void SelectTarget(TargetTypeId target);

    // Selector and box events.
    void ChangeSavedProfile(int index);
    void ChangeImageMode(int index);
    void ChangeOutputFormat(int index);
    void ChangeResolution(int index);
    void ChangeVideoCodec(int index);
    void ChangeVideoFrameRate(int index);
    void ChangeAudioCodec(int index);
    void ChangeAudioBitRate(int index);
    void ChangeAudioSampleRate(int index);
    void ChangeAudioChannel(int index);
    void ChangeCpuCores(int index);
    void SetVideoBitRateText(const std::string& text);
    void SetWidthText(const std::string& text);
    void SetHeightText(const std::string& text);
    // Leaving a size box cuts its value to a multiple of 4 towards zero.
    void LeaveWidth();
    void LeaveHeight();
    void MoveVolume(int position);
    void SetDisplayName(const std::string& text) { controls_.displayName.text = text; }
    void SetArtistName(const std::string& text) { controls_.artistName.text = text; }

    // DVD settings: the selector sets the four boxes; the boxes leave the selector alone.
    void ChangeDvdSetting(int index);
    void ReleaseDvdNtsc();
    void ReleaseDvdPal();
    void ReleaseDvd169();
    void ReleaseDvd43();
    void SetDvdLetterBox(bool checked) { controls_.addLetterBoxVob.checked = checked; }
    void SetAddLetterBox(bool checked) { controls_.addLetterBox.checked = checked; }

    // Advanced options: checking one explains it.
    void SetHighQuality(bool checked);
    void SetDeinterlace(bool checked);
    void SetForceSync(bool checked);

    // The engine's processor core count; below 2 (or unknown) the selector stays at "1", disabled.
    void SetProcessorCores(int cores);

    // A clip's checked flag changed: the size boxes follow the image mode again.
    void ClipCheckedChanged();
    // The options dialog closed with changes: new folder, panel rebuilt for the current target.
    void OptionsChanged();
    // A new base output folder: the field shows it with the target's sub-folder.
    void OutputFolderChanged();
    // The shown output folder, or the base folder when the shown one does not exist.
    std::string FolderToOpen() const;
    void RefreshOutputNames();

    // The panel in the settings file's ConvertParam section. False when the file cannot be written.
    bool SavePanel();
    void RestorePanel();

    // TargetPanelPort: the buttons' view of the panel.
    void selectTarget(TargetTypeId target) override { SelectTarget(target); }
    int profileCount() const override { return controls_.savedProfile.count(); }
    // Selects an entry without applying it.
    void selectProfile(int index) override;

    // OutputNamingSource: what the output names read of the panel and the clips.
    TargetTypeId currentTarget() const override { return target_; }
    int outputFormatIndex() const override { return controls_.outputFormat.index; }
    int outputImageMode() const override { return imageMode_; }
    bool resolutionVisible() const override { return controls_.resolution.visible; }
    std::string resolutionText() const override { return controls_.resolution.text(); }
    bool widthEnabled() const override { return controls_.videoWidth.enabled; }
    std::string widthText() const override { return controls_.videoWidth.text; }
    std::string heightText() const override { return controls_.videoHeight.text; }
    int clipCount() const override;
    std::optional<NamingClip> clip(int position) const override;
    void setOutputName(int position, const std::string& name) override;

private:
    void openDefinitions();
    void syncDvdPanel();
    void storeMemory();
    void restoreMemory(const TargetMemory& slot);
    void fillFromDefinitions(TargetTypeId target);
    void listSavedProfiles();
    void applySavedProfile();
    void codecListsForFormat(int formatIndex);
    void imageModeChanged();
    void rebuildMpegVariant();
    void sizeBoxesFromMode();
    void updateVisibility();
    void refillVolume(const std::string& section);
    void setSliderRange();
    void setSlider(int position);
    void setDvdBoxes(bool ntsc, bool wide);
    void advancedNote(CheckControl& box, bool checked, const char* note);
    void roundToFour(NumberControl& box);

    int lookupImageMode() const;
    bool isMpegVariant() const;
    // Where the mode-dependent lists come from: the MPEG variant's section, else T.
    std::string listSection() const;
    ChoiceList fillWithFallback(const std::string& section, const std::string& fallback,
                                const std::string& stem) const;
    NumberSetting numberWithFallback(const std::string& section, const std::string& fallback,
                                     const std::string& stem) const;

    Files files_;
    const OptionSettings& settings_;
    Prompter& prompter_;
    IniFile options_;
    const CurrentClipSize* clipSize_ = nullptr;
    NamingClipList* clips_ = nullptr;

    std::unique_ptr<ProfileDefinitions> definitions_;
    std::unique_ptr<SavedProfiles> savedProfiles_;
    std::unique_ptr<OutputNamer> namer_;
    TargetSelectionModel selection_;

    PanelControls controls_;
    TargetTypeId target_ = -1;
    std::string section_;
    int imageMode_ = 0;
    int customWidth_ = 0;
    int customHeight_ = 0;
    MainWindowProfileList profiles_;
    std::array<TargetMemory, TargetMemory::SlotCount> memory_{};
};

} // namespace quilo
