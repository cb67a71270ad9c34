// The options dialog without its window: the naming template page, the
// language and output folder page and the saved-profile page, with OK and
// Cancel. One object lives from start-up to shutdown.
#pragma once

#include "platform/ini_file.h"
#include "platform/prompter.h"
#include "profiles/option_settings.h"
#include "profiles/profile_editor.h"

#include <string>

namespace quilo {

class OptionsModel {
public:
    enum class Page { FileName, Language, Profile };

    struct Files {
        std::string options;       // Option.ini in the data folder
        std::string definitions;   // PfDef.dll in the program folder
        std::string savedProfiles; // PfSetting.ini in the data folder
    };

    // Creation: fills the type list, reads the naming settings into memory and
    // into the template page, loads the options.
    OptionsModel(Files files, Prompter& prompter,
                 OutputFolderFallback fallback = OutputFolderFallback::FromDesktop());
    // Shutdown: the naming settings go to the settings file when they changed
    // here (another program's newer ones are not overwritten with a stale copy).
    ~OptionsModel();
    OptionsModel(const OptionsModel&) = delete;
    OptionsModel& operator=(const OptionsModel&) = delete;

    // The settings other parts read.
    const OptionSettings& settings() const { return settings_; }
    const NamingSettings& naming() const { return settings_.Naming; }

    // Before the dialog shows: clears "changed", reloads the options, shows
    // the first type's profiles and the template page.
    void Open();
    // Whether OK was pressed or a profile was saved or removed since Open.
    bool changed() const { return changed_; }

    Page page() const { return page_; }
    void ShowPage(Page page) { page_ = page; }
    bool pageButtonEnabled(Page page) const { return page != page_; }

    // Template page controls.
    std::string templateText;
    std::string serialStartText;
    std::string fixedDigitsText;
    bool add1() const { return add1_; }
    bool add2() const { return add2_; }
    void SetAdd1(bool checked);
    void SetAdd2(bool checked);
    // Appends the tag of label `index` (see TemplateTags) to the template text.
    void ClickTag(int index);

    // Language and folder page.
    int audioLanguage() const { return settings_.DefaultAudio; }
    void SelectAudioLanguage(int index);
    const std::string& outputFolderText() const { return settings_.OutputFolder; }
    // A folder the user confirmed in the folder chooser (also the main
    // window's browse button): saved at once, the download folder follows it.
    void ChooseOutputFolder(const std::string& folder);
    bool SaveLanguageAndFolder();

    ProfileEditor& profileEditor() { return editor_; }
    void SelectType(int index) { editor_.SelectType(index); }
    void AddProfile();
    void RemoveProfile();

    void Ok();
    void Cancel() {}

    // A job has used the serial numbers below `next`: later names count on
    // from it, also in the template page. Stored at once, so that the next
    // run, even after a crash, and the other program do not hand them out again.
    void ContinueSerialAt(int next);

private:
    void showNamingSettings();
    void load();

    IniFile options_;
    Prompter& prompter_;
    OutputFolderFallback fallback_;
    OptionSettings settings_;
    NamingSettings namingAsRead_;
    ProfileEditor editor_;
    Page page_ = Page::FileName;
    bool changed_ = false;
    bool add1_ = false;
    bool add2_ = false;
};

} // namespace quilo
