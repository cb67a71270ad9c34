#include "profiles/profile_definitions.h"

#include "profiles/profile_value.h"

#include <climits>

namespace quilo {
namespace {

int clampToInt(long value) {
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

} // namespace

std::string TargetSection(const std::string& typeName) {
    return "Tamber-" + typeName;
}

std::string SubSection(const std::string& section, const std::string& text) {
    return section + "-" + text;
}

ProfileDefinitions::ProfileDefinitions(std::string path) : file_(std::move(path)) {}

ChoiceList ProfileDefinitions::FillChoiceList(const std::string& section, const std::string& stem) const {
    ChoiceList list;
    const int count = clampToInt(file_.readInteger(section, stem + "Count", 0));
    if (count >= 1) {
        for (int i = 0; i < count; ++i) {
            const std::string text = file_.readString(section, stem + "Text" + std::to_string(i), Nodef);
            if (text != Nodef)
                list.items.push_back(text);
        }
    } else {
        const long maximum = file_.readInteger(section, stem + "Max", 0);
        const long minimum = file_.readInteger(section, stem + "Min", 0);
        if (maximum != 0 || minimum != 0) {
            // A step of 0 or below would never reach the maximum; such a range
            // counts in ones.
            long step = file_.readInteger(section, stem + "Step", 1);
            if (step <= 0)
                step = 1;
            for (long long number = minimum; number <= maximum && list.items.size() < MaxRangeChoices;
                 number += step)
                list.items.push_back(std::to_string(number));
        } else {
            list.enabled = false;
            const std::string text = file_.readString(section, stem + "Text", Nodef);
            if (text != Nodef) {
                list.items.push_back(text);
                list.selected = 0;
                return list;
            }
        }
    }
    list.selected = clampToInt(file_.readInteger(section, stem + "Default", -1));
    return list;
}

NumberSetting ProfileDefinitions::FillNumber(const std::string& section, const std::string& stem) const {
    NumberSetting number;
    const int fixed = clampToInt(file_.readInteger(section, stem + "Text", -1));
    if (fixed == -1) {
        number.minimum = clampToInt(file_.readInteger(section, stem + "Min", 0));
        number.maximum = clampToInt(file_.readInteger(section, stem + "Max", 0));
        number.initial = clampToInt(file_.readInteger(section, stem + "Default", 0));
        number.increment = clampToInt(file_.readInteger(section, stem + "Step", 1));
        number.enabled = true;
    } else {
        number.minimum = number.maximum = number.initial = fixed;
        number.increment = 0;
        number.enabled = false;
    }
    return number;
}

std::string ProfileDefinitions::LookupChoiceValue(const std::string& section, const std::string& stem,
                                                  int index) const {
    const std::string i = std::to_string(index);
    for (const std::string& key : {stem + "Value" + i, stem + "Text" + i, stem + "Value", stem + "Text"}) {
        std::string value = file_.readString(section, key, Nodef);
        if (value != Nodef)
            return value;
    }
    return Nodef;
}

std::string ProfileDefinitions::ReadString(const std::string& section, const std::string& key,
                                           const std::string& fallback) const {
    return file_.readString(section, key, fallback);
}

long ProfileDefinitions::ReadInteger(const std::string& section, const std::string& key,
                                     long fallback) const {
    return file_.readInteger(section, key, fallback);
}

} // namespace quilo
