#include "profiles/output_panel.h"

#include "profiles/output_panel_fill.h"
#include "profiles/output_panel_texts.h"
#include "profiles/profile_value.h"

#include <algorithm>
#include <filesystem>

namespace quilo {
namespace {

bool isHdTarget(TargetTypeId target) {
    return target >= Target::HDAVI && target <= Target::HDMOV;
}

bool hasMemorySlot(TargetTypeId target) {
    return target >= 0 && target < TargetMemory::SlotCount;
}

} // namespace

OutputPanelModel::OutputPanelModel(Files files, const OptionSettings& settings, Prompter& prompter)
    : files_(std::move(files)), settings_(settings), prompter_(prompter), options_(files_.options),
      selection_(*this) {
    for (SelectorControl* green : {&controls_.imageMode, &controls_.resolution})
        green->colour = ControlColour::LightGreen;
    for (NumberControl* green : {&controls_.videoWidth, &controls_.videoHeight}) {
        green->colour = ControlColour::LightGreen;
        green->text = "812";
    }
    controls_.videoBitRate.text = "812";
    controls_.imageMode.items = {"Original Size and Keep Aspect Ratio"};
    controls_.imageMode.index = 0;
    controls_.outputFormat.items = {"avi"};
    controls_.outputFormat.index = 0;
    controls_.videoFrameRate.items = {"23.97"};
    controls_.videoFrameRate.index = 0;
    controls_.audioChannel.items = {"1 Channel Mono", "2 Channels Stereo"};
    controls_.audioChannel.index = 0;
    for (int step = 0; step <= 9; ++step)
        controls_.volumeList.items.push_back(std::to_string(step));
    controls_.volumeList.visible = false;
    controls_.dvdSetting.items.assign(panel_text::DvdSettings.begin(), panel_text::DvdSettings.end());
    controls_.dvdSetting.index = 0;
    controls_.outputFolder.text = settings_.OutputFolder;
}

OutputPanelModel::~OutputPanelModel() = default;

void OutputPanelModel::openDefinitions() {
    if (definitions_)
        return;
    definitions_ = std::make_unique<ProfileDefinitions>(files_.definitions);
    savedProfiles_ = std::make_unique<SavedProfiles>(files_.savedProfiles, *definitions_);
    namer_ = std::make_unique<OutputNamer>(definitions_.get(), settings_.Naming, *this);
}

// ---- buttons ----

void OutputPanelModel::ClickCategory(ConverterTypeId category) {
    selection_.ConverterTypeClick(category);
    syncDvdPanel();
}

void OutputPanelModel::ClickTarget(TargetTypeId target) {
    selection_.TargetTypeClick(target);
    syncDvdPanel();
}

void OutputPanelModel::SelectTargetAsClicked(TargetTypeId target) {
    selection_.SelectTargetAsClicked(target);
    syncDvdPanel();
}

void OutputPanelModel::syncDvdPanel() {
    controls_.dvdPanelVisible = selection_.dvdPanelVisible();
    updateVisibility();
}

void OutputPanelModel::selectProfile(int index) {
    SelectIndex(controls_.savedProfile, index);
}

// ---- selecting a target ----

void OutputPanelModel::SelectTarget(TargetTypeId target) {
    if (!isValidTarget(target))
        return;
    if (hasMemorySlot(target_))
        storeMemory();

    target_ = target;
    openDefinitions();
    fillFromDefinitions(target);

    listSavedProfiles();
    applySavedProfile();
    imageModeChanged();

    controls_.outputFolder.text = settings_.OutputFolder + targetSubFolder(target);
    RefreshOutputNames();

    updateVisibility();
    if (target == Target::VOB_File)
        controls_.dvdLabel = panel_text::VobFileLabel;
    else if (target == Target::DVD_Folder)
        controls_.dvdLabel = panel_text::DvdFolderLabel;
    else if (target == Target::DVD_Disc)
        controls_.dvdLabel = panel_text::DvdDiscLabel;

    if (hasMemorySlot(target) && memory_[target].saved)
        restoreMemory(memory_[target]);
}

void OutputPanelModel::storeMemory() {
    TargetMemory& slot = memory_[target_];
    slot.saved = true;
    slot.audioCodec = controls_.audioCodec.index;
    slot.sampleRate = controls_.audioSampleRate.index;
    slot.channel = controls_.audioChannel.index;
    slot.audioBitRate = controls_.audioBitRate.index;
    slot.volume = controls_.volume.position;
    slot.videoCodec = controls_.videoCodec.index;
    slot.frameRate = controls_.videoFrameRate.index;
    slot.videoBitRate = NumberInText(controls_.videoBitRate.text);
    slot.imageMode = controls_.imageMode.index;
    slot.resolution = controls_.resolution.index;
    slot.width = NumberInText(controls_.videoWidth.text);
    slot.height = NumberInText(controls_.videoHeight.text);
    slot.outputFormat = controls_.outputFormat.index;
}

void OutputPanelModel::restoreMemory(const TargetMemory& slot) {
    // The image mode goes first: for the MPEG variants it decides which lists
    // the other indexes belong to, and its reaction would otherwise rebuild
    // them after they were restored.
    SelectIndex(controls_.imageMode, slot.imageMode);
    imageModeChanged();
    SelectIndex(controls_.resolution, slot.resolution);
    SelectIndex(controls_.audioSampleRate, slot.sampleRate);
    SelectIndex(controls_.audioChannel, slot.channel);
    SelectIndex(controls_.audioBitRate, slot.audioBitRate);
    SelectIndex(controls_.outputFormat, slot.outputFormat);
    codecListsForFormat(controls_.outputFormat.index);
    RefreshOutputNames();
    // The codecs after the format's lists, which would reset them.
    SelectIndex(controls_.audioCodec, slot.audioCodec);
    SelectIndex(controls_.videoCodec, slot.videoCodec);
    SelectIndex(controls_.videoFrameRate, slot.frameRate);
    controls_.videoBitRate.text = std::to_string(slot.videoBitRate);
    controls_.videoWidth.text = std::to_string(slot.width);
    controls_.videoHeight.text = std::to_string(slot.height);
    setSlider(slot.volume);
    RefreshOutputNames();
}

// ---- filling from the definitions ----

ChoiceList OutputPanelModel::fillWithFallback(const std::string& section, const std::string& fallback,
                                              const std::string& stem) const {
    ChoiceList list = definitions_->FillChoiceList(section, stem);
    if (!list.enabled) {
        // A fallback with nothing to offer must not wipe a fixed choice of the target itself.
        ChoiceList other = definitions_->FillChoiceList(fallback, stem);
        if (!other.items.empty())
            return other;
    }
    return list;
}

NumberSetting OutputPanelModel::numberWithFallback(const std::string& section, const std::string& fallback,
                                                   const std::string& stem) const {
    NumberSetting number = definitions_->FillNumber(section, stem);
    if (number.initial == 0) {
        NumberSetting other = definitions_->FillNumber(fallback, stem);
        if (other.initial != 0)
            return other;
    }
    return number;
}

void OutputPanelModel::fillFromDefinitions(TargetTypeId target) {
    section_ = TargetSection(targetIdentifier(target));
    std::string fallback = section_;
    if (definitions_->ReadInteger(section_, "OutputFormatCount", 1) > 0) {
        const long defaultFormat = definitions_->ReadInteger(section_, "OutputFormatDefault", 0);
        const std::string text =
            definitions_->ReadString(section_, "OutputFormatText" + std::to_string(defaultFormat), "");
        if (!text.empty())
            fallback = SubSection(section_, text);
    }

    FillSelector(controls_.volumeList, fillWithFallback(section_, fallback, "AudioVolume"));
    setSliderRange();
    setSlider(controls_.volumeList.index);
    FillSelector(controls_.imageMode, fillWithFallback(section_, fallback, "VideoAspect"));
    FillSelector(controls_.audioChannel, definitions_->FillChoiceList(section_, "AudioChannel"));
    FillSelector(controls_.audioBitRate, fillWithFallback(section_, fallback, "AudioBitrate"));
    FillSelector(controls_.audioCodec, fillWithFallback(section_, fallback, "AudioCodec"));
    FillSelector(controls_.audioSampleRate, fillWithFallback(section_, fallback, "AudioSampleRate"));
    FillSelector(controls_.videoCodec, fillWithFallback(section_, fallback, "VideoCodec"));
    FillSelector(controls_.outputFormat, fillWithFallback(section_, fallback, "OutputFormat"));
    FillSelector(controls_.videoFrameRate, fillWithFallback(section_, fallback, "VideoFrameRate"));

    FillNumberBox(controls_.videoBitRate, numberWithFallback(section_, fallback, "VideoBitRate"));
    FillNumberBox(controls_.videoWidth, numberWithFallback(section_, fallback, "VideoWidth"));
    FillNumberBox(controls_.videoHeight, numberWithFallback(section_, fallback, "VideoHeight"));

    FillSelector(controls_.resolution, fillWithFallback(section_, fallback, "VideoResolution"));
}

// Rebuilding the same volume list keeps the slider where the user put it.
void OutputPanelModel::refillVolume(const std::string& section) {
    const int position = controls_.volume.position;
    const std::vector<std::string> before = controls_.volumeList.items;
    FillSelector(controls_.volumeList, definitions_->FillChoiceList(section, "AudioVolume"),
                 Refill::KeepSameChoice);
    setSliderRange();
    setSlider(before == controls_.volumeList.items ? position : controls_.volumeList.index);
}

// The slider runs over the numbers the volume list shows; an empty list leaves its range alone.
void OutputPanelModel::setSliderRange() {
    if (controls_.volumeList.count() == 0)
        return;
    controls_.volume.minimum = NumberInText(controls_.volumeList.items.front());
    controls_.volume.maximum = NumberInText(controls_.volumeList.items.back());
}

void OutputPanelModel::setSlider(int position) {
    SliderControl& slider = controls_.volume;
    slider.position = std::clamp(position, slider.minimum, std::max(slider.minimum, slider.maximum));
    controls_.volumeLabel = "+ " + std::to_string(slider.position) + " db.";
}

// ---- saved profiles ----

void OutputPanelModel::listSavedProfiles() {
    profiles_ = savedProfiles_->ListForMainWindow(section_);
    SelectorControl& list = controls_.savedProfile;
    list.items.clear();
    list.index = -1;
    for (const SavedProfileEntry& entry : profiles_.entries) {
        if (entry.slot == profiles_.defaultSlot)
            list.index = list.count();
        list.items.push_back(entry.summary);
    }
    list.visible = !list.items.empty();
}

void OutputPanelModel::applySavedProfile() {
    const int index = controls_.savedProfile.index;
    if (!profiles_.hasProfiles || index < 0 || index >= static_cast<int>(profiles_.entries.size()))
        return;
    const SlotContent content = savedProfiles_->ReadEntry(profiles_.section, profiles_.entries[index].slot);
    if (!content.applies())
        return;
    const ProfileValue value = ProfileValue::Parse(content.value);
    SelectIndex(controls_.audioBitRate, value.field(ProfileValue::AudioBitrate));
    SelectIndex(controls_.audioSampleRate, value.field(ProfileValue::SampleRate));
    setSlider(value.field(ProfileValue::Volume));
    controls_.videoBitRate.text = std::to_string(value.field(ProfileValue::VideoBitRate));
    SelectIndex(controls_.videoFrameRate, value.field(ProfileValue::FrameRate));
    SelectIndex(controls_.imageMode, value.field(ProfileValue::ImageMode));
    SelectIndex(controls_.resolution, value.field(ProfileValue::Resolution));
    SelectIndex(controls_.outputFormat, value.field(ProfileValue::OutputFormat));
    codecListsForFormat(controls_.outputFormat.index);
    SelectIndex(controls_.videoCodec, value.field(ProfileValue::VideoCodec));
    SelectIndex(controls_.audioCodec, value.field(ProfileValue::AudioCodec));
}

void OutputPanelModel::ChangeSavedProfile(int index) {
    SelectIndex(controls_.savedProfile, index);
    if (!definitions_)
        return;
    applySavedProfile();
    imageModeChanged();
    RefreshOutputNames();
    selection_.ProfileChosen(controls_.savedProfile.index);
}

// ---- output format and codecs ----

void OutputPanelModel::codecListsForFormat(int formatIndex) {
    if (!definitions_)
        return;
    const std::string section = listSection();
    const std::string formatSection =
        SubSection(section, definitions_->LookupChoiceValue(section, "OutputFormat", formatIndex));
    FillSelector(controls_.videoCodec, fillWithFallback(section, formatSection, "VideoCodec"));
    FillSelector(controls_.audioCodec, fillWithFallback(section, formatSection, "AudioCodec"));
}

void OutputPanelModel::ChangeOutputFormat(int index) {
    SelectIndex(controls_.outputFormat, index);
    codecListsForFormat(controls_.outputFormat.index);
    RefreshOutputNames();
}

// ---- image mode ----

int OutputPanelModel::lookupImageMode() const {
    if (!definitions_)
        return 0;
    return NumberInText(definitions_->LookupChoiceValue(section_, "VideoAspect", controls_.imageMode.index));
}

bool OutputPanelModel::isMpegVariant() const {
    return target_ == Target::MPEG && imageMode_ > 10;
}

std::string OutputPanelModel::listSection() const {
    return isMpegVariant() ? SubSection(section_, std::to_string(imageMode_)) : section_;
}

void OutputPanelModel::ChangeImageMode(int index) {
    SelectIndex(controls_.imageMode, index);
    imageModeChanged();
}

void OutputPanelModel::imageModeChanged() {
    if (!definitions_)
        return;
    NumberControl& width = controls_.videoWidth;
    if (width.enabled) {
        customWidth_ = NumberInText(width.text);
        customHeight_ = NumberInText(controls_.videoHeight.text);
    }
    imageMode_ = lookupImageMode();

    if (isHdTarget(target_)) {
        if (imageMode_ == 1) {
            controls_.resolution.items = {panel_text::OriginalSize};
            controls_.resolution.index = 0;
        } else {
            FillSelector(controls_.resolution, definitions_->FillChoiceList(section_, "VideoResolution"),
                         Refill::KeepSameChoice);
        }
    }

    width.enabled = imageMode_ != 1;
    controls_.videoHeight.enabled = width.enabled;
    controls_.resolution.enabled = width.enabled;
    RefreshOutputNames();

    if (target_ == Target::MPEG) {
        rebuildMpegVariant();
        RefreshOutputNames();
    }
    sizeBoxesFromMode();
    updateVisibility();
}

void OutputPanelModel::rebuildMpegVariant() {
    imageMode_ = lookupImageMode();
    const std::string section = listSection();

    // Lists that come back the same keep the user's choice: a change between
    // the plain modes, or the same variant again, must not undo the settings.
    refillVolume(section_);
    const auto refill = [&](SelectorControl& control, const char* stem) {
        FillSelector(control, definitions_->FillChoiceList(section, stem), Refill::KeepSameChoice);
    };
    refill(controls_.videoCodec, "VideoCodec");
    refill(controls_.videoFrameRate, "VideoFrameRate");
    refill(controls_.audioBitRate, "AudioBitrate");
    refill(controls_.audioCodec, "AudioCodec");
    refill(controls_.audioChannel, "AudioChannel");
    refill(controls_.audioSampleRate, "AudioSampleRate");
    FillNumberBox(controls_.videoBitRate, definitions_->FillNumber(section, "VideoBitRate"),
                  Refill::KeepSameChoice);
    FillNumberBox(controls_.videoWidth, definitions_->FillNumber(section, "VideoWidth"),
                  Refill::KeepSameChoice);
    FillNumberBox(controls_.videoHeight, definitions_->FillNumber(section, "VideoHeight"),
                  Refill::KeepSameChoice);
    refill(controls_.outputFormat, "OutputFormat");

    // A size the variant fixes stays fixed; the original-size mode types no size.
    controls_.videoWidth.enabled = controls_.videoWidth.enabled && imageMode_ != 1;
    controls_.videoHeight.enabled = controls_.videoWidth.enabled;
}

void OutputPanelModel::sizeBoxesFromMode() {
    if (imageMode_ != 0 && imageMode_ != 1 && imageMode_ != 2)
        return;
    ClipSize size{customWidth_, customHeight_};
    // A remembered size below 8 is no size a user meant; the source size is.
    const bool useCustom = imageMode_ != 1 && customWidth_ >= 8 && customHeight_ >= 8;
    if (!useCustom) {
        const std::optional<ClipSize> source = clipSize_ ? clipSize_->currentClipSize() : std::nullopt;
        if (!source.has_value())
            return;
        size = *source;
    }
    controls_.videoWidth.text = std::to_string(size.width);
    controls_.videoHeight.text = std::to_string(size.height);
}

void OutputPanelModel::ClipCheckedChanged() {
    if (definitions_)
        sizeBoxesFromMode();
}

// ---- visibility ----

void OutputPanelModel::updateVisibility() {
    if (!isValidTarget(target_))
        return;
    PanelControls& c = controls_;
    const bool music = targetCategory(target_) == Category::Music;
    const bool tags = targetHasTags(target_);
    c.displayName.visible = tags;
    c.artistName.visible = tags;
    c.audioCodec.visible = true;
    c.videoCodec.visible = !music;
    c.outputFormat.visible = !music;
    for (bool* shown :
         {&c.resolutionLabelVisible, &c.videoFrameRate.visible, &c.videoBitRate.visible, &c.imageMode.visible,
          &c.highQuality.visible, &c.deinterlace.visible, &c.forceSync.visible, &c.cropButtonVisible})
        *shown = !music;

    const bool hasResolutions = !c.resolution.items.empty();
    c.resolution.visible = !music && hasResolutions;
    const bool sizeBoxes = !music && !hasResolutions;
    c.videoWidth.visible = sizeBoxes;
    c.videoHeight.visible = sizeBoxes;
    c.sizeSeparatorVisible = sizeBoxes;

    // The MPEG variants have fixed sizes; their letterbox choice takes the row.
    const bool variant = isMpegVariant();
    c.addLetterBox.visible = variant;
    if (variant) {
        c.resolutionLabelVisible = false;
        c.sizeSeparatorVisible = false;
        c.videoWidth.visible = false;
        c.videoHeight.visible = false;
    }
    c.dvdSetting.visible = isDvdTarget(target_);
}

// ---- other selectors and boxes ----

void OutputPanelModel::ChangeResolution(int index) {
    SelectIndex(controls_.resolution, index);
    RefreshOutputNames();
}

void OutputPanelModel::ChangeVideoCodec(int index) {
    SelectIndex(controls_.videoCodec, index);
}

void OutputPanelModel::ChangeVideoFrameRate(int index) {
    SelectIndex(controls_.videoFrameRate, index);
}

void OutputPanelModel::ChangeAudioCodec(int index) {
    SelectIndex(controls_.audioCodec, index);
}

void OutputPanelModel::ChangeAudioBitRate(int index) {
    SelectIndex(controls_.audioBitRate, index);
}

void OutputPanelModel::ChangeAudioSampleRate(int index) {
    SelectIndex(controls_.audioSampleRate, index);
}

void OutputPanelModel::ChangeAudioChannel(int index) {
    SelectIndex(controls_.audioChannel, index);
}

void OutputPanelModel::ChangeCpuCores(int index) {
    SelectIndex(controls_.cpuCores, index);
}

void OutputPanelModel::SetVideoBitRateText(const std::string& text) {
    controls_.videoBitRate.text = text;
}

void OutputPanelModel::SetWidthText(const std::string& text) {
    controls_.videoWidth.text = text;
    RefreshOutputNames();
}

void OutputPanelModel::SetHeightText(const std::string& text) {
    controls_.videoHeight.text = text;
    RefreshOutputNames();
}

void OutputPanelModel::roundToFour(NumberControl& box) {
    const int value = NumberInText(box.text);
    box.text = std::to_string(value - value % 4);
    RefreshOutputNames();
}

void OutputPanelModel::LeaveWidth() {
    roundToFour(controls_.videoWidth);
}

void OutputPanelModel::LeaveHeight() {
    roundToFour(controls_.videoHeight);
}

void OutputPanelModel::MoveVolume(int position) {
    setSlider(position);
}

// ---- DVD and advanced settings ----

void OutputPanelModel::setDvdBoxes(bool ntsc, bool wide) {
    controls_.dvdNtsc.checked = ntsc;
    controls_.dvdPal.checked = !ntsc;
    controls_.dvd169.checked = wide;
    controls_.dvd43.checked = !wide;
}

void OutputPanelModel::ChangeDvdSetting(int index) {
    SelectIndex(controls_.dvdSetting, index);
    if (controls_.dvdSetting.index >= 0)
        setDvdBoxes(controls_.dvdSetting.index < 2, controls_.dvdSetting.index % 2 == 1);
}

void OutputPanelModel::ReleaseDvdNtsc() {
    setDvdBoxes(true, controls_.dvd169.checked);
}

void OutputPanelModel::ReleaseDvdPal() {
    setDvdBoxes(false, controls_.dvd169.checked);
}

void OutputPanelModel::ReleaseDvd169() {
    setDvdBoxes(controls_.dvdNtsc.checked, true);
}

void OutputPanelModel::ReleaseDvd43() {
    setDvdBoxes(controls_.dvdNtsc.checked, false);
}

void OutputPanelModel::advancedNote(CheckControl& box, bool checked, const char* note) {
    box.checked = checked;
    if (checked)
        prompter_.inform(note);
}

void OutputPanelModel::SetHighQuality(bool checked) {
    advancedNote(controls_.highQuality, checked, panel_text::HighQualityNote);
}

void OutputPanelModel::SetDeinterlace(bool checked) {
    advancedNote(controls_.deinterlace, checked, panel_text::DeinterlaceNote);
}

void OutputPanelModel::SetForceSync(bool checked) {
    advancedNote(controls_.forceSync, checked, panel_text::ForceSyncNote);
}

void OutputPanelModel::SetProcessorCores(int cores) {
    SelectorControl& cpu = controls_.cpuCores;
    cpu.items = {"1"};
    cpu.index = 0;
    cpu.enabled = false;
    if (cores < 2)
        return;
    // Far more cores than any machine has means a broken answer, not a longer list.
    cores = std::min(cores, 1024);
    for (int core = 2; core <= cores; ++core)
        cpu.items.push_back(std::to_string(core));
    cpu.index = 1;
    cpu.enabled = true;
}

// ---- folder, options and names ----

void OutputPanelModel::OptionsChanged() {
    if (isValidTarget(target_)) {
        controls_.outputFolder.text = settings_.OutputFolder + targetSubFolder(target_);
        SelectTarget(target_);
    } else {
        controls_.outputFolder.text = settings_.OutputFolder;
    }
    RefreshOutputNames();
}

void OutputPanelModel::OutputFolderChanged() {
    controls_.outputFolder.text =
        settings_.OutputFolder + (isValidTarget(target_) ? targetSubFolder(target_) : std::string());
}

std::string OutputPanelModel::FolderToOpen() const {
    std::error_code error;
    if (std::filesystem::is_directory(controls_.outputFolder.text, error))
        return controls_.outputFolder.text;
    return settings_.OutputFolder;
}

void OutputPanelModel::RefreshOutputNames() {
    if (namer_)
        namer_->RefreshOutputNames();
}

int OutputPanelModel::clipCount() const {
    return clips_ ? clips_->clipCount() : 0;
}

std::optional<NamingClip> OutputPanelModel::clip(int position) const {
    return clips_ ? clips_->clip(position) : std::nullopt;
}

void OutputPanelModel::setOutputName(int position, const std::string& name) {
    if (clips_)
        clips_->setOutputName(position, name);
}

} // namespace quilo
