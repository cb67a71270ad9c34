#include "profiles/saved_profiles.h"

#include "platform/ini_document.h"
#include "profiles/profile_value.h"

#include <cctype>

namespace quilo {
namespace {

const std::string OutputFormat = "OutputFormat";

std::string slotKey(const char* stem, int slot) {
    return std::string(stem) + std::to_string(slot);
}

std::string quoted(const std::string& name) {
    return "Profile Name : \"" + name + "\"";
}

bool isBookkeepingKey(const std::string& name) {
    if (equalsIgnoringCase(name, "ProfileCount") || equalsIgnoringCase(name, "ProfileDefault") ||
        equalsIgnoringCase(name, Nodef))
        return true;
    for (const char* stem : {"ProfileText", "ProfileValue"}) {
        const std::string prefix = stem;
        if (name.size() > prefix.size() && equalsIgnoringCase(name.substr(0, prefix.size()), prefix)) {
            bool digits = true;
            for (char c : name.substr(prefix.size()))
                digits = digits && std::isdigit(static_cast<unsigned char>(c));
            if (digits)
                return true;
        }
    }
    return false;
}

} // namespace

bool SlotContent::applies() const {
    return name != Nodef && value != Nodef;
}

std::string EditorProfileSection(const std::string& typeName) {
    return typeName + "-Profile";
}

SavedProfiles::SavedProfiles(std::string path, const ProfileDefinitions& definitions)
    : file_(std::move(path)), definitions_(definitions) {}

bool SavedProfiles::IsUsableName(const std::string& name) {
    if (name.empty() || name != TrimBlanks(name))
        return false;
    if (name.find_first_of("=\r\n") != std::string::npos || name.front() == ';' || name.front() == '#' ||
        name.front() == '[')
        return false;
    return !isBookkeepingKey(name);
}

std::string SavedProfiles::slotValue(const std::string& section, int slot, const std::string& name) const {
    std::string value = file_.readString(section, slotKey("ProfileValue", slot), Nodef);
    if (value == Nodef && IsUsableName(name))
        value = file_.readString(section, name, Nodef);
    return value;
}

int SavedProfiles::slotNamed(const std::string& section, const std::string& name) const {
    const long count = file_.readInteger(section, "ProfileCount", 0);
    for (int slot = 0; slot < count; ++slot)
        if (equalsIgnoringCase(file_.readString(section, slotKey("ProfileText", slot), Nodef), name))
            return slot;
    return -1;
}

MainWindowProfileList SavedProfiles::ListForMainWindow(const std::string& targetSection) const {
    MainWindowProfileList list;
    const std::string section = definitions_.ReadString(targetSection, "ProfileName", "NoProfile");
    if (section == "NoProfile")
        return list;
    list.hasProfiles = true;
    list.section = section;

    const long count = file_.readInteger(section, "ProfileCount", 0);
    for (int slot = 0; slot < count; ++slot) {
        SlotContent content = ReadEntry(section, slot);
        if (!content.applies())
            continue;
        const ProfileValue fields = ProfileValue::Parse(content.value);

        std::string format = definitions_.LookupChoiceValue(targetSection, OutputFormat,
                                                            fields.field(ProfileValue::OutputFormat));
        if (format == Nodef)
            format = definitions_.LookupChoiceValue(targetSection, OutputFormat, 0);
        const std::string formatSection = SubSection(targetSection, format);
        const auto textOf = [&](const std::string& key) {
            std::string text = definitions_.ReadString(targetSection, key, "");
            return text.empty() ? definitions_.ReadString(formatSection, key, "") : text;
        };
        const std::string resolution =
            textOf(slotKey("VideoResolutionText", fields.field(ProfileValue::Resolution)));

        std::string summary = content.name + " : Video-" + format;
        if (!resolution.empty())
            summary += "," + resolution;
        summary += "," + std::to_string(fields.field(ProfileValue::VideoBitRate)) + "kbps";
        summary += ",Audio-" + textOf(slotKey("AudioBitrateText", fields.field(ProfileValue::AudioBitrate))) +
                   "kbps";
        summary +=
            "," + textOf(slotKey("AudioSampleRateText", fields.field(ProfileValue::SampleRate))) + "hz";

        list.entries.push_back({slot, content.name, content.value, summary});
    }
    list.defaultSlot = static_cast<int>(file_.readInteger(section, "ProfileDefault", -1));
    return list;
}

SlotContent SavedProfiles::ReadEntry(const std::string& section, int slot) const {
    SlotContent content;
    content.name = file_.readString(section, slotKey("ProfileText", slot), Nodef);
    if (content.name != Nodef)
        content.value = slotValue(section, slot, content.name);
    return content;
}

EditorProfileList SavedProfiles::ListForEditor(const std::string& typeName) const {
    EditorProfileList list;
    list.section = EditorProfileSection(typeName);
    const std::string targetSection = TargetSection(typeName);
    const long defaultSlot = file_.readInteger(list.section, "ProfileDefault", -1);

    const long count = file_.readInteger(list.section, "ProfileCount", 0);
    for (int slot = 0; slot < count; ++slot) {
        const std::string name = file_.readString(list.section, slotKey("ProfileText", slot), Nodef);
        if (name == Nodef)
            continue;
        // The editor keeps its values under the profile's name.
        const std::string value = IsUsableName(name) ? file_.readString(list.section, name, Nodef) : Nodef;
        SavedProfileEntry entry{slot, name, value, name};
        if (value != Nodef) {
            const ProfileValue fields = ProfileValue::Parse(value);
            const long formatCount = definitions_.ReadInteger(targetSection, "OutputFormatCount", 1);
            std::string format;
            std::string lookup = targetSection;
            if (formatCount > 1) {
                const int formatIndex = fields.field(ProfileValue::OutputFormat);
                format = definitions_.ReadString(targetSection, slotKey("OutputFormatText", formatIndex), "");
                if (formatIndex >= 0 && formatIndex < formatCount && !format.empty())
                    lookup = SubSection(targetSection, format);
            }
            if (format.empty())
                format = definitions_.ReadString(targetSection, "VideoCodecText", "");
            entry.summary =
                name + " : Video-" + format + "," +
                definitions_.ReadString(
                    lookup, slotKey("VideoResolutionText", fields.field(ProfileValue::Resolution)), "") +
                "," + std::to_string(fields.field(ProfileValue::VideoBitRate)) + "kbps,Audio-" +
                definitions_.ReadString(
                    lookup, slotKey("AudioBitrateText", fields.field(ProfileValue::AudioBitrate)), "0") +
                "kbps," +
                definitions_.ReadString(
                    lookup, slotKey("AudioSampleRateText", fields.field(ProfileValue::SampleRate)), "0") +
                "hz";
        }
        if (slot == defaultSlot)
            list.selected = static_cast<int>(list.entries.size());
        list.entries.push_back(std::move(entry));
    }
    return list;
}

bool SavedProfiles::Save(const std::string& section, const std::string& givenName, const std::string& value,
                         Prompter& prompter) {
    const std::string name = TrimBlanks(givenName);
    if (!IsUsableName(name)) {
        prompter.warn(quoted(name) + ".\nThis name can not be used, please enter another one!");
        return false;
    }

    // A slot of that name counts as the same profile, also when its value is
    // kept under the slot number: saving must not list the name twice.
    const int namedSlot = slotNamed(section, name);
    std::string old = file_.readString(section, name, Nodef);
    const std::string slotOwnValue =
        namedSlot >= 0 ? file_.readString(section, slotKey("ProfileValue", namedSlot), Nodef) : Nodef;
    if (old == Nodef)
        old = slotOwnValue;

    if (old != Nodef) {
        if (ProfileValue::Parse(old).isProtected()) {
            prompter.inform(quoted(name) + ".\nYou Can not modify this setting!");
            return false;
        }
        if (prompter.ask(PromptKind::Confirmation,
                         quoted(name) + " already exists.\nDo you want to overwrite it?",
                         PromptButtons::YesNo) != PromptAnswer::Yes)
            return false;
    }

    bool written = file_.writeString(section, name, value);
    if (written && slotOwnValue != Nodef)
        written = file_.writeString(section, slotKey("ProfileValue", namedSlot), value);
    if (written && namedSlot < 0) {
        const long count = file_.readInteger(section, "ProfileCount", 0);
        int slot = 0;
        while (slot < count && file_.readString(section, slotKey("ProfileText", slot), Nodef) != Nodef)
            ++slot;
        if (slot == count)
            written = file_.writeInteger(section, "ProfileCount", count + 1);
        // A reused hole must not bring back the value of the profile it held.
        else if (file_.readString(section, slotKey("ProfileValue", slot), Nodef) != Nodef)
            written = file_.writeString(section, slotKey("ProfileValue", slot), Nodef);
        written = written && file_.writeString(section, slotKey("ProfileText", slot), name);
    }
    if (!written)
        prompter.error(quoted(name) + ".\nThe profile can not be written to " + file_.path() + "!");
    return written;
}

bool SavedProfiles::Remove(const std::string& section, int slot, Prompter& prompter) {
    const long count = file_.readInteger(section, "ProfileCount", 0);
    if (slot < 0 || slot >= count)
        return false;
    const SlotContent content = ReadEntry(section, slot);
    if (content.name == Nodef)
        return false;

    if (content.value != Nodef) {
        if (ProfileValue::Parse(content.value).isProtected()) {
            prompter.inform(quoted(content.name) + ".\nYou Can not remove this setting!");
            return false;
        }
        if (prompter.ask(PromptKind::Confirmation, quoted(content.name) + ".\nDo you want to remove it?",
                         PromptButtons::YesNo) != PromptAnswer::Yes)
            return false;
    }

    bool written = file_.writeString(section, slotKey("ProfileText", slot), Nodef);
    if (written && file_.readString(section, slotKey("ProfileValue", slot), Nodef) != Nodef)
        written = file_.writeString(section, slotKey("ProfileValue", slot), Nodef);
    // Another slot of the same name (written by older copies) keeps its value.
    if (written && IsUsableName(content.name) && slotNamed(section, content.name) < 0 &&
        file_.readString(section, content.name, Nodef) != Nodef)
        written = file_.writeString(section, content.name, Nodef);
    if (!written)
        prompter.error(quoted(content.name) + ".\nThe profile can not be removed from " + file_.path() + "!");
    return written;
}

} // namespace quilo
