// The user's named profiles, a saved combination of choices for one target,
// kept in a settings file in the data folder. Every read sees the file as it
// is now; every write goes to the file at once.
#pragma once

#include "platform/ini_file.h"
#include "platform/prompter.h"
#include "profiles/profile_definitions.h"

#include <string>
#include <vector>

namespace quilo {

// One listed profile. `slot` addresses the entry in its section, so that holes
// left by removed profiles do not shift later entries.
struct SavedProfileEntry {
    int slot = -1;
    std::string name;
    std::string value; // may be "nodef"
    std::string summary;
};

struct MainWindowProfileList {
    bool hasProfiles = false; // false: the target keeps no profiles, hide the selector
    std::string section;      // the saved-profile section named by the target
    std::vector<SavedProfileEntry> entries;
    int defaultSlot = -1;
};

struct EditorProfileList {
    std::string section; // type name + "-Profile"
    std::vector<SavedProfileEntry> entries;
    int selected = -1; // index into entries of the section's default slot, -1 = none
};

struct SlotContent {
    std::string name = "nodef";
    std::string value = "nodef";
    bool applies() const;
};

// The saved-profile section the options dialog uses for a type.
std::string EditorProfileSection(const std::string& typeName);

class SavedProfiles {
public:
    SavedProfiles(std::string path, const ProfileDefinitions& definitions);

    const std::string& path() const { return file_.path(); }

    MainWindowProfileList ListForMainWindow(const std::string& targetSection) const;
    SlotContent ReadEntry(const std::string& section, int slot) const;
    EditorProfileList ListForEditor(const std::string& typeName) const;

    // True when the file changed. Questions and refusals go through `prompter`.
    bool Save(const std::string& section, const std::string& name, const std::string& value,
              Prompter& prompter);
    // Removes the profile of `slot`, the entry the user selected. The slot's
    // own name decides which value goes with it, whatever the name box shows.
    bool Remove(const std::string& section, int slot, Prompter& prompter);

    // A name that can be stored as a key of its own without clashing with the
    // section's bookkeeping keys or the file's syntax.
    static bool IsUsableName(const std::string& trimmedName);

private:
    std::string slotValue(const std::string& section, int slot, const std::string& name) const;
    int slotNamed(const std::string& section, const std::string& name) const;

    IniFile file_;
    const ProfileDefinitions& definitions_;
};

} // namespace quilo
