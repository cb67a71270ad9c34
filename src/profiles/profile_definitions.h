// The profile definitions: which output formats, codecs, sizes and rates every
// target offers, with the engine value behind each choice. A plain settings
// file shipped beside the program; read only.
#pragma once

#include "platform/ini_file.h"

#include <string>
#include <vector>

namespace quilo {

// What a list selector shows.
struct ChoiceList {
    std::vector<std::string> items;
    int selected = -1;
    bool enabled = true;
};

// What a number box shows.
struct NumberSetting {
    int minimum = 0;
    int maximum = 0;
    int initial = 0;
    int increment = 1;
    bool enabled = true;
};

// "Tamber-" + type name: the section of a target.
std::string TargetSection(const std::string& typeName);
// section + "-" + text: a format sub-section or a variant section.
std::string SubSection(const std::string& section, const std::string& text);

class ProfileDefinitions {
public:
    // A range is cut off after this many choices, so that a mistyped step or
    // maximum cannot fill memory.
    static constexpr int MaxRangeChoices = 1000;

    explicit ProfileDefinitions(std::string path);

    const std::string& path() const { return file_.path(); }

    ChoiceList FillChoiceList(const std::string& section, const std::string& stem) const;
    NumberSetting FillNumber(const std::string& section, const std::string& stem) const;
    // The engine value of choice `index`, or "nodef".
    std::string LookupChoiceValue(const std::string& section, const std::string& stem, int index) const;

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    long ReadInteger(const std::string& section, const std::string& key, long fallback) const;

private:
    IniFile file_;
};

} // namespace quilo
