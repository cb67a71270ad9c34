// The saved-profile page of the options dialog: pick an output type, load a
// saved profile into its selectors, save the selectors under a name, remove a
// profile.
#pragma once

#include "platform/prompter.h"
#include "profiles/profile_definitions.h"
#include "profiles/saved_profiles.h"

#include <string>
#include <vector>

namespace quilo {

class ProfileEditor {
public:
    ProfileEditor(const std::string& definitionsPath, const std::string& savedProfilesPath);

    // The video targets whose definitions name a profile section, in catalogue order.
    const std::vector<std::string>& types() const { return types_; }
    int selectedType() const { return selectedType_; }
    void SelectType(int index);

    ChoiceList outputFormat, videoCodec, resolution, frameRate, audioBitrate, sampleRate, volume, audioCodec;
    NumberSetting videoBitRateRange;
    int videoBitRate = 0;
    bool dependentsEnabled = false;

    void SelectOutputFormat(int index);

    const EditorProfileList& profiles() const { return profiles_; }
    int selectedProfile() const { return selectedProfile_; }
    void SelectProfile(int index);

    std::string profileName;
    // The name box was left; an empty box gets the selected profile's name back.
    void ProfileNameLeft();

    // True when the file changed; the list is then rebuilt on its default entry.
    bool AddProfile(Prompter& prompter);
    bool RemoveProfile(Prompter& prompter);

private:
    std::string definitionSection() const;
    void fillDependents();
    void listProfiles();
    std::string selectedSlotName() const;

    ProfileDefinitions definitions_;
    SavedProfiles saved_;
    std::vector<std::string> types_;
    int selectedType_ = -1;
    EditorProfileList profiles_;
    int selectedProfile_ = -1;
};

} // namespace quilo
