#include "conversion/job_settings.h"

#include <cstdlib>

namespace quilo {
namespace {

constexpr const char* NoDefinition = "nodef";

int integerOf(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

class ChoiceReader {
public:
    explicit ChoiceReader(const ProfileDefinitions& definitions) : definitions_(definitions) {}

    std::string from(const std::string& section, const char* stem, const SelectorControl& selector) const {
        return definitions_.LookupChoiceValue(section, stem, selector.index);
    }
    // From `first`, or from `second` when `first` defines nothing.
    std::string fromEither(const std::string& first, const std::string& second, const char* stem,
                           const SelectorControl& selector) const {
        std::string value = from(first, stem, selector);
        return value == NoDefinition ? from(second, stem, selector) : value;
    }

private:
    const ProfileDefinitions& definitions_;
};

ProfileChoices readProfileChoices(const ProfileDefinitions& definitions, const PanelControls& panel,
                                  const JobSetup& setup, int frameWidth, int frameHeight) {
    const ChoiceReader read(definitions);
    ProfileChoices choices;
    std::string section = setup.section;
    const std::string formatSection = SubSection(section, panel.outputFormat.text());

    choices.container = read.fromEither(formatSection, section, "OutputFormat", panel.outputFormat);
    if (setup.target == Target::MPEG) {
        // The MPEG variants keep their values in a section of their own.
        const std::string mode = read.from(section, "VideoAspect", panel.imageMode);
        choices.aspectMode = integerOf(mode);
        if (choices.aspectMode > 10)
            section = SubSection(section, mode);
        choices.frameRate = read.from(section, "VideoFrameRate", panel.videoFrameRate);
        choices.audioBitRate = read.from(section, "AudioBitrate", panel.audioBitRate);
        choices.audioSampleRate = read.from(section, "AudioSampleRate", panel.audioSampleRate);
        choices.audioCodec = read.from(section, "AudioCodec", panel.audioCodec);
        choices.videoCodec = read.from(section, "VideoCodec", panel.videoCodec);
    } else {
        choices.frameRate = read.fromEither(section, formatSection, "VideoFrameRate", panel.videoFrameRate);
        choices.audioBitRate = read.fromEither(section, formatSection, "AudioBitrate", panel.audioBitRate);
        choices.audioSampleRate =
            read.fromEither(section, formatSection, "AudioSampleRate", panel.audioSampleRate);
        choices.audioCodec = read.fromEither(section, formatSection, "AudioCodec", panel.audioCodec);
        choices.videoCodec = read.fromEither(section, formatSection, "VideoCodec", panel.videoCodec);
        choices.aspectMode =
            integerOf(read.fromEither(section, formatSection, "VideoAspect", panel.imageMode));
    }

    const int channels = integerOf(read.from(setup.section, "AudioChannel", panel.audioChannel));
    choices.audioChannels = channels == 1 || channels == 2 ? channels : 0;

    if (panel.resolution.visible) {
        choices.resolution = read.fromEither(section, formatSection, "VideoResolution", panel.resolution);
        if (choices.resolution == NoDefinition)
            choices.resolution = panel.resolution.text();
    } else {
        choices.resolution = std::to_string(frameWidth) + ":" + std::to_string(frameHeight);
    }
    return choices;
}

} // namespace

JobSettings TakeJobSettings(const ProfileDefinitions& definitions, const PanelControls& panel,
                            const JobSetup& setup) {
    JobSettings settings;
    settings.target = setup.target;
    settings.outputFolder = setup.outputFolder;
    settings.minDuration = setup.minDuration;
    settings.videoBitRate = integerOf(panel.videoBitRate.text);
    settings.volume = panel.volume.position;
    settings.frameWidth = integerOf(panel.videoWidth.text);
    settings.frameHeight = integerOf(panel.videoHeight.text);
    settings.profile =
        readProfileChoices(definitions, panel, setup, settings.frameWidth, settings.frameHeight);
    settings.displayName = panel.displayName.text;
    settings.artistName = panel.artistName.text;
    settings.coreIndex = panel.cpuCores.index;
    settings.highQuality = panel.highQuality.checked;
    settings.deinterlace = panel.deinterlace.checked;
    settings.forceSync = panel.forceSync.checked;
    settings.addLetterBox = panel.addLetterBox.checked;
    settings.addLetterBoxVob = panel.addLetterBoxVob.checked;
    settings.dvd = {panel.dvdNtsc.checked, panel.dvdPal.checked, panel.dvd169.checked, panel.dvd43.checked};
    return settings;
}

} // namespace quilo
