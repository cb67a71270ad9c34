// The panel in the settings file: written when a file conversion starts, read
// at start-up.
#include "profiles/output_panel.h"
#include "profiles/output_panel_fill.h"

namespace quilo {

bool OutputPanelModel::SavePanel() {
    const PanelControls& c = controls_;
    const ConverterTypeId category = selection_.currentCategory();
    bool written = true;
    const auto number = [&](const char* key, long value) {
        written = options_.writeInteger(ConvertParamSection, key, value) && written;
    };
    const auto text = [&](const char* key, const std::string& value) {
        written = options_.writeString(ConvertParamSection, key, value) && written;
    };
    const auto flag = [&](const char* key, bool value) {
        written = options_.writeBool(ConvertParamSection, key, value) && written;
    };
    number("Type", category);
    text("Format", targetIdentifier(selection_.lastTarget(category)));
    number("profile", c.savedProfile.index);
    number("AudioQuality", c.audioBitRate.index);
    number("AudioSampleRate", c.audioSampleRate.index);
    number("volume", c.volume.position);
    number("AudioFormat", c.audioCodec.index);
    text("VideoQuality", c.videoBitRate.text);
    number("VideoFrameRate", c.videoFrameRate.index);
    number("OutputFormat", c.outputFormat.index);
    number("VideoCodec", c.videoCodec.index);
    number("OutputImageSetting", c.imageMode.index);
    number("VideoResolution", c.resolution.index);
    text("VideoWidth", c.videoWidth.text);
    text("VideoHeight", c.videoHeight.text);
    number("CPUCore", c.cpuCores.index);
    text("DisplayName", c.displayName.text);
    text("ArtisName", c.artistName.text); // the key has always been spelled so
    flag("DVD_NTSC", c.dvdNtsc.checked);
    flag("DVD_169", c.dvd169.checked);
    flag("Box_VOB", c.addLetterBoxVob.checked);
    return written;
}

void OutputPanelModel::RestorePanel() {
    const auto number = [&](const char* key) {
        const long value = options_.readInteger(ConvertParamSection, key, -1);
        return value < -1 || value > 1000000 ? -1 : static_cast<int>(value);
    };
    const auto text = [&](const char* key) { return options_.readString(ConvertParamSection, key, ""); };

    // The stored target must belong to the stored category: a target clicked
    // under another category would become that category's last choice.
    const int category = number("Type");
    const std::optional<TargetTypeId> target = targetByIdentifier(text("Format"));
    if (category < 0 || category >= CategoryCount || !target || targetCategory(*target) != category) {
        ClickCategory(Category::GeneralVideo);
        return;
    }
    ClickCategory(category);
    ClickTarget(*target);

    const int profile = number("profile");
    if (profile >= profileCount()) {
        ClickCategory(Category::GeneralVideo);
        return;
    }
    ChangeSavedProfile(profile);

    PanelControls& c = controls_;
    // The image mode first: for the MPEG variants it decides which lists the
    // stored indexes belong to.
    const int imageMode = number("OutputImageSetting");
    RestoreIndex(c.imageMode, imageMode);
    imageModeChanged();

    RestoreIndex(c.audioBitRate, number("AudioQuality"));
    RestoreIndex(c.audioSampleRate, number("AudioSampleRate"));
    setSlider(number("volume"));
    // An empty text would reach the engine as no bit rate or size at all.
    if (const std::string bitRate = text("VideoQuality"); !bitRate.empty())
        c.videoBitRate.text = bitRate;
    RestoreIndex(c.videoFrameRate, number("VideoFrameRate"));
    RestoreIndex(c.outputFormat, number("OutputFormat"));
    codecListsForFormat(c.outputFormat.index);
    RefreshOutputNames();
    // The codecs after the format's lists, which would reset them.
    RestoreIndex(c.audioCodec, number("AudioFormat"));
    RestoreIndex(c.videoCodec, number("VideoCodec"));
    RestoreIndex(c.imageMode, imageMode);
    RestoreIndex(c.resolution, number("VideoResolution"));
    if (const std::string width = text("VideoWidth"); !width.empty())
        c.videoWidth.text = width;
    if (const std::string height = text("VideoHeight"); !height.empty())
        c.videoHeight.text = height;
    SelectIndex(c.cpuCores, number("CPUCore"));
    if (const std::string name = text("DisplayName"); !name.empty())
        c.displayName.text = name;
    if (const std::string artist = text("ArtisName"); !artist.empty())
        c.artistName.text = artist;
    const bool ntsc = options_.readBool(ConvertParamSection, "DVD_NTSC", true);
    const bool wide = options_.readBool(ConvertParamSection, "DVD_169", true);
    setDvdBoxes(ntsc, wide);
    c.addLetterBoxVob.checked = options_.readBool(ConvertParamSection, "Box_VOB", true);

    imageModeChanged();
}

} // namespace quilo
