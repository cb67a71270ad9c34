#include "profiles/profile_editor.h"

#include "profiles/profile_value.h"
#include "shell/target_catalogue.h"

namespace quilo {
namespace {

// The last video target; the music targets keep no editable profiles.
constexpr TargetTypeId LastVideoTarget = Target::Android;

void selectIfListed(ChoiceList& list, int index) {
    list.selected = index >= 0 && index < static_cast<int>(list.items.size()) ? index : -1;
}

} // namespace

ProfileEditor::ProfileEditor(const std::string& definitionsPath, const std::string& savedProfilesPath)
    : definitions_(definitionsPath), saved_(savedProfilesPath, definitions_) {
    for (TargetTypeId target = 0; target <= LastVideoTarget; ++target) {
        const std::string name = targetIdentifier(target);
        if (!definitions_.ReadString(TargetSection(name), "ProfileName", "").empty())
            types_.push_back(name);
    }
}

std::string ProfileEditor::definitionSection() const {
    return selectedType_ >= 0 ? TargetSection(types_[selectedType_]) : std::string();
}

void ProfileEditor::SelectType(int index) {
    selectedType_ = index >= 0 && index < static_cast<int>(types_.size()) ? index : -1;
    outputFormat =
        selectedType_ >= 0 ? definitions_.FillChoiceList(definitionSection(), "OutputFormat") : ChoiceList{};
    fillDependents();
    listProfiles();
}

void ProfileEditor::SelectOutputFormat(int index) {
    selectIfListed(outputFormat, index);
    fillDependents();
}

void ProfileEditor::fillDependents() {
    for (ChoiceList* list :
         {&resolution, &frameRate, &videoCodec, &audioBitrate, &sampleRate, &volume, &audioCodec})
        *list = ChoiceList{};
    videoBitRateRange = NumberSetting{};
    const int format = outputFormat.selected;
    dependentsEnabled = format >= 0;
    const std::string section = definitionSection();
    const long formatCount = definitions_.ReadInteger(section, "OutputFormatCount", 0);
    if (selectedType_ < 0 || format < 0 || format >= formatCount)
        return;

    std::string fill = section;
    if (formatCount > 1)
        fill = SubSection(
            section, definitions_.ReadString(section, "OutputFormatText" + std::to_string(format), Nodef));
    resolution = definitions_.FillChoiceList(fill, "VideoResolution");
    frameRate = definitions_.FillChoiceList(fill, "VideoFrameRate");
    audioBitrate = definitions_.FillChoiceList(fill, "AudioBitrate");
    sampleRate = definitions_.FillChoiceList(fill, "AudioSampleRate");
    volume = definitions_.FillChoiceList(fill, "AudioVolume");
    videoBitRateRange = definitions_.FillNumber(fill, "VideoBitRate");
    videoBitRate = videoBitRateRange.initial;
    videoCodec = definitions_.FillChoiceList(fill, "VideoCodec");
    audioCodec = definitions_.FillChoiceList(fill, "AudioCodec");
    // The selectors stay usable whatever the definition fixes; the view greys
    // the fixed ones by their own flag.
    for (ChoiceList* list :
         {&resolution, &frameRate, &videoCodec, &audioBitrate, &sampleRate, &volume, &audioCodec})
        list->enabled = list->enabled && dependentsEnabled;
}

void ProfileEditor::listProfiles() {
    profiles_ = selectedType_ >= 0 ? saved_.ListForEditor(types_[selectedType_]) : EditorProfileList{};
    SelectProfile(profiles_.selected);
}

std::string ProfileEditor::selectedSlotName() const {
    if (selectedProfile_ < 0)
        return "Custom Profile";
    const SlotContent content = saved_.ReadEntry(profiles_.section, profiles_.entries[selectedProfile_].slot);
    return content.name == Nodef ? "Custom Profile" : content.name;
}

void ProfileEditor::SelectProfile(int index) {
    selectedProfile_ = index >= 0 && index < static_cast<int>(profiles_.entries.size()) ? index : -1;
    profileName = selectedSlotName();
    if (selectedProfile_ < 0)
        return;
    const std::string value = profiles_.entries[selectedProfile_].value;
    if (value == Nodef)
        return;
    const ProfileValue fields = ProfileValue::Parse(value);
    SelectOutputFormat(fields.field(ProfileValue::OutputFormat));
    selectIfListed(resolution, fields.field(ProfileValue::Resolution));
    selectIfListed(frameRate, fields.field(ProfileValue::FrameRate));
    videoBitRate = fields.field(ProfileValue::VideoBitRate);
    selectIfListed(audioBitrate, fields.field(ProfileValue::AudioBitrate));
    selectIfListed(sampleRate, fields.field(ProfileValue::SampleRate));
    selectIfListed(volume, fields.field(ProfileValue::Volume));
    selectIfListed(videoCodec, fields.field(ProfileValue::VideoCodec));
    selectIfListed(audioCodec, fields.field(ProfileValue::AudioCodec));
}

void ProfileEditor::ProfileNameLeft() {
    if (profileName.empty())
        profileName = selectedSlotName();
}

bool ProfileEditor::AddProfile(Prompter& prompter) {
    if (selectedType_ < 0)
        return false;
    const ProfileValue value = ProfileValue::EditorProfile(
        outputFormat.selected, resolution.selected, frameRate.selected, videoBitRate, audioBitrate.selected,
        sampleRate.selected, volume.selected, videoCodec.selected, audioCodec.selected);
    if (!saved_.Save(profiles_.section, TrimBlanks(profileName), value.Format(), prompter))
        return false;
    listProfiles();
    return true;
}

bool ProfileEditor::RemoveProfile(Prompter& prompter) {
    if (selectedType_ < 0 || selectedProfile_ < 0)
        return false;
    if (!saved_.Remove(profiles_.section, profiles_.entries[selectedProfile_].slot, prompter))
        return false;
    listProfiles();
    return true;
}

} // namespace quilo
