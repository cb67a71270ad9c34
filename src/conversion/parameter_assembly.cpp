#include "conversion/parameter_assembly.h"

#include "conversion/frame_geometry.h"
#include "conversion/output_path.h"
#include "shell/text_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace quilo {
namespace {

constexpr const char* NoDefinition = "nodef";
constexpr int TagLimit = 50;

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Tags are cut to 50 characters, never inside a UTF-8 character.
std::string tagText(const std::string& text) {
    const std::string cut = PadOrCut(text, TagLimit);
    return cut.size() >= text.size() ? text : cut;
}

int integerOf(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

bool isDvdFileTarget(TargetTypeId target) {
    return target == Target::VOB_File || target == Target::DVD_Folder || target == Target::DVD_Disc;
}

} // namespace

int EngineThreadCount(int coreIndex) {
    return std::clamp(coreIndex + 3, 4, 8);
}

ParameterAssembly::ParameterAssembly(const ProfileDefinitions& definitions, const PanelControls& panel,
                                     JobSetup setup)
    : definitions_(definitions), panel_(panel), setup_(std::move(setup)) {}

std::string ParameterAssembly::lookup(const std::string& section, const char* stem,
                                      const SelectorControl& selector) const {
    return definitions_.LookupChoiceValue(section, stem, selector.index);
}

std::string ParameterAssembly::lookupEither(const std::string& first, const std::string& second,
                                            const char* stem, const SelectorControl& selector) const {
    std::string value = lookup(first, stem, selector);
    return value == NoDefinition ? lookup(second, stem, selector) : value;
}

void ParameterAssembly::ReadProfileValues(EngineParameterSet& set) const {
    std::string section = setup_.section;
    const std::string formatSection = SubSection(section, panel_.outputFormat.text());

    set.OutFileFormat = lookupEither(formatSection, section, "OutputFormat", panel_.outputFormat);
    if (setup_.target == Target::MPEG) {
        const std::string mode = lookup(section, "VideoAspect", panel_.imageMode);
        set.ProfileAspectMode = integerOf(mode);
        if (set.ProfileAspectMode > 10)
            section = SubSection(section, mode);
        set.VideoFrameRate = lookup(section, "VideoFrameRate", panel_.videoFrameRate);
        set.AudioBitrate = lookup(section, "AudioBitrate", panel_.audioBitRate);
        set.AudioSampleRate = lookup(section, "AudioSampleRate", panel_.audioSampleRate);
        set.AudioCodec = lookup(section, "AudioCodec", panel_.audioCodec);
        set.VideoFormat = lookup(section, "VideoCodec", panel_.videoCodec);
    } else {
        set.VideoFrameRate = lookupEither(section, formatSection, "VideoFrameRate", panel_.videoFrameRate);
        set.AudioBitrate = lookupEither(section, formatSection, "AudioBitrate", panel_.audioBitRate);
        set.AudioSampleRate = lookupEither(section, formatSection, "AudioSampleRate", panel_.audioSampleRate);
        set.AudioCodec = lookupEither(section, formatSection, "AudioCodec", panel_.audioCodec);
        set.VideoFormat = lookupEither(section, formatSection, "VideoCodec", panel_.videoCodec);
        set.ProfileAspectMode =
            integerOf(lookupEither(section, formatSection, "VideoAspect", panel_.imageMode));
    }

    set.FrameRateIsAuto = set.VideoFrameRate == "Auto";
    set.HighQuality = panel_.highQuality.checked ? 1 : 0;
    set.VideoBitRate = trimmed(panel_.videoBitRate.text);
    set.AudioVolume = std::to_string(panel_.volume.position);
    set.ArtistName = panel_.artistName.text.empty() ? "Unkonwn" : tagText(panel_.artistName.text);

    // The channel choice reaches the engine (1 mono, 2 stereo, 0 as the source).
    const int channels = integerOf(lookup(setup_.section, "AudioChannel", panel_.audioChannel));
    set.AudioChannels = channels == 1 || channels == 2 ? channels : 0;

    if (isDvdFileTarget(setup_.target)) {
        const bool ntsc = panel_.dvdNtsc.checked;
        set.VideoFrameRate = ntsc ? "30000/1001" : "25";
        set.AudioBitrate = "192";
        set.AudioSampleRate = "48000";
        set.AudioCodec = "ac3";
        set.VideoFormat = "dvd";
        set.AudioVolume = "2";
        set.VideoBitRate = "5000";
        set.ProfileResolution = ntsc ? "720:480" : "720:576";
        set.OutFileFormat = "dvd";
    } else if (panel_.resolution.visible) {
        set.ProfileResolution = lookupEither(section, formatSection, "VideoResolution", panel_.resolution);
        if (set.ProfileResolution == NoDefinition)
            set.ProfileResolution = panel_.resolution.text();
    } else {
        set.ProfileResolution = panel_.videoWidth.text + ":" + panel_.videoHeight.text;
    }
}

bool ParameterAssembly::PrepareClip(const std::vector<TVideoInfo*>& clips, int index,
                                    EngineParameterSet& set) const {
    if (index < 0 || index >= static_cast<int>(clips.size()))
        return false;
    TVideoInfo& clip = *clips[index];
    set.ClipIndex = index;

    set.InputFiles = clip.SourcePaths();
    int start = 0, segment = 0;
    if (set.InputFiles.size() <= 1) {
        start = clip.StartTime;
        segment = clip.EndTime - clip.StartTime;
        if (segment == 0)
            segment = clip.Duration;
    } else {
        segment = clip.Duration;
    }
    set.StartSecond = start;
    set.ProgressSeconds = segment;
    set.StartTime = std::to_string(start);
    int duration = segment;
    if (setup_.minDuration > 0 && segment < setup_.minDuration)
        duration = setup_.minDuration;
    set.Duration = clip.EndTime >= clip.Duration - 2 ? "0" : std::to_string(duration);

    set.DVDTitle = "-1";
    set.GenreName = "MyVideo";
    const std::string fileName = std::filesystem::path(clip.FirstSourcePath()).filename().string();
    set.AlbumName =
        tagText(panel_.displayName.text.empty() ? fileName : panel_.displayName.text + "_" + fileName);

    if (clip.ContainerKind != Container::Matroska) {
        set.AudioLanguage = clip.AudioRows().size() > 1 ? std::to_string(clip.SelectedAudioId) : "-1";
    } else {
        set.AudioLanguage = "0";
        const auto& rows = clip.AudioRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i]->Checked) {
                set.AudioLanguage = std::to_string(i);
                break;
            }
    }
    if (!clip.Subtitles || clip.SubtitleIndex >= static_cast<int>(clip.Subtitles->size()))
        set.SubtitleLanguage = "-1";
    else if (clip.SubtitleIndex < 0)
        set.SubtitleLanguage = "0";
    else
        set.SubtitleLanguage = std::to_string(clip.SubtitleIndex);

    set.CropWidth = std::to_string(clip.CropW);
    set.CropHeight = std::to_string(clip.CropH);
    set.CropX = std::to_string(clip.CropX);
    set.CropY = std::to_string(clip.CropY);
    set.CropChanged = clip.CropW == clip.Width && clip.CropH == clip.Height ? 0 : 1;

    frameAndPicture(clip, set);
    frameRate(clip, set);

    set.IsTransportStream = clip.ContainerKind == Container::TransportStream ? 1 : 0;
    set.VideoStreamArg =
        clip.ContainerKind == Container::Matroska ? 0 : (clip.VideoStreamId == 0 ? -1 : clip.VideoStreamId);

    set.OutputName = UniqueOutputPath(setup_.outputFolder, SanitizeOutputName(clip.OutputName));
    clip.OutputPath = set.OutputName;
    return true;
}

void ParameterAssembly::frameAndPicture(const TVideoInfo& clip, EngineParameterSet& set) const {
    const bool aspectCodeKnown = clip.AspectCode >= 0 && clip.AspectCode <= 4;
    const float ratio = aspectCodeKnown ? aspectRatioOfCode(clip.AspectCode) : 0.0f;
    int sourceWidth = clip.Width, sourceHeight = clip.Height;
    if (clip.UseAspectCode && ratio > 0)
        sourceWidth = static_cast<int>(static_cast<float>(clip.Height) * ratio);

    if (setup_.target == Target::MPEG) {
        static const char* const aspects[] = {"4:3", "16:9", "1:1", "2.21:1"};
        set.DvdStandard = 0;
        set.VideoAspect = clip.AspectCode >= 0 && clip.AspectCode <= 3
                              ? aspects[clip.AspectCode]
                              : std::to_string(clip.Width) + "/" + std::to_string(clip.Height);
        const int mode = set.ProfileAspectMode;
        if (mode == 0) {
            set.VideoResolution = set.Out_Size_X_Y_BeforPad = set.ProfileResolution;
        } else if (mode == 1) {
            set.VideoResolution = set.Out_Size_X_Y_BeforPad = sizeText(clip.Width, clip.Height);
        } else if (mode == 2) {
            set.VideoResolution = set.ProfileResolution;
            const int frameWidth = integerOf(panel_.videoWidth.text),
                      frameHeight = integerOf(panel_.videoHeight.text);
            const double s = sourceHeight > 0 ? static_cast<double>(sourceWidth) / sourceHeight : 1.0;
            int w = frameWidth, h = frameHeight;
            if (frameHeight > 0 && s > 0 && static_cast<double>(frameWidth) / frameHeight > s)
                w = std::min(up4(static_cast<int>(frameHeight * s)), frameWidth);
            else if (s > 0)
                h = std::min(up4(static_cast<int>(frameWidth / s)), frameHeight);
            set.Out_Size_X_Y_BeforPad = sizeText(w, h);
        } else if (mode >= 11 && mode <= 18) {
            const bool ntsc = mode % 2 == 1;
            set.DvdStandard = ntsc ? 1 : 2;
            const int frameWidth = mode == 13 || mode == 14 ? 480 : (mode == 15 || mode == 16 ? 352 : 720);
            const int frameHeight = mode == 15 || mode == 16 ? (ntsc ? 240 : 288) : (ntsc ? 480 : 576);
            const bool wide = mode == 11 || mode == 12;
            set.VideoAspect = wide ? "16:9" : "4:3";
            set.VideoResolution = set.ProfileResolution;
            if (panel_.addLetterBox.checked) {
                const PictureSize picture = letterBoxFit(
                    frameWidth, frameHeight, wide ? 16.0f / 9.0f : 4.0f / 3.0f, sourceWidth, sourceHeight);
                set.Out_Size_X_Y_BeforPad = sizeText(picture.width, picture.height);
            } else {
                set.Out_Size_X_Y_BeforPad = set.VideoResolution;
            }
        } else {
            // A mode the definitions should not hold: the profile's size as it stands.
            set.VideoResolution = set.Out_Size_X_Y_BeforPad = set.ProfileResolution;
        }
        return;
    }

    if (isDvdFileTarget(setup_.target)) {
        const bool ntsc = panel_.dvdNtsc.checked, wide = panel_.dvd169.checked;
        set.DvdStandard = ntsc ? 1 : 2;
        set.VideoAspect = wide ? "16:9" : "4:3";
        set.VideoResolution = set.ProfileResolution;
        if (panel_.addLetterBoxVob.checked) {
            const PictureSize picture = letterBoxFit(720, ntsc ? 480 : 576, wide ? 16.0f / 9.0f : 4.0f / 3.0f,
                                                     sourceWidth, sourceHeight);
            set.Out_Size_X_Y_BeforPad = sizeText(picture.width, picture.height);
        } else {
            set.Out_Size_X_Y_BeforPad = set.VideoResolution;
        }
        return;
    }

    // Every other target: square pixels; a DVD standard of an earlier clip must
    // not turn an HD MPEG file into a DVD one.
    set.VideoAspect = "1:1";
    set.DvdStandard = 0;
    const int cropWidth = clip.CropW;
    int cropHeight = clip.CropH;
    if (clip.UseAspectCode && ratio > 0 && clip.Height > 0) {
        cropHeight = static_cast<int>(static_cast<double>(clip.CropH) * clip.CropW / ratio / clip.Height);
        cropHeight -= cropHeight % 4;
    }
    const int mode = set.ProfileAspectMode;
    if (mode == 1) {
        set.VideoResolution = set.Out_Size_X_Y_BeforPad = sizeText(cropWidth, cropHeight);
        return;
    }
    if (mode != 2) {
        set.VideoResolution = set.Out_Size_X_Y_BeforPad = set.ProfileResolution;
        return;
    }
    const std::string& resolution = set.ProfileResolution;
    const auto colon = resolution.find(':');
    if (colon == std::string::npos || cropHeight <= 0 || cropWidth <= 0) {
        set.VideoResolution = set.Out_Size_X_Y_BeforPad = resolution;
        return;
    }
    const int W = integerOf(resolution.substr(0, colon));
    const int H = integerOf(resolution.substr(colon + 1, 5));
    const double s = static_cast<double>(cropWidth) / cropHeight;
    std::string lower = resolution;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (lower.find("auto") != std::string::npos) {
        int w = W, h = H;
        if (W < 1)
            w = up4(static_cast<int>(H * s));
        else
            h = up4(static_cast<int>(W / s));
        set.VideoResolution = set.Out_Size_X_Y_BeforPad = sizeText(w, h);
        return;
    }
    set.VideoResolution = resolution;
    int w = W, h = H;
    if (H > 0 && static_cast<double>(W) / H > s)
        w = std::min(up4(static_cast<int>(H * s)), W);
    else
        h = std::min(up4(static_cast<int>(W / s)), H);
    if ((setup_.target == Target::DVD_ISO || setup_.target == Target::HDAVI ||
         setup_.target == Target::HDWMV) &&
        h < H) {
        h = (h + 15) / 16 * 16;
        if (h < H)
            h += 16;
        h = std::min(h, H);
    }
    set.Out_Size_X_Y_BeforPad = sizeText(w, h);
}

void ParameterAssembly::frameRate(const TVideoInfo& clip, EngineParameterSet& set) const {
    const bool plausible = isPlausibleFrameRate(clip.FrameRate);
    set.ForceSync = panel_.forceSync.checked ? 1 : 0;
    if (clip.ContainerKind == Container::Matroska) {
        set.SourceFrameRateHint = "-1";
        set.ForceSync = 1;
        // Under "Auto" the rate stays what the previous clip left (or "Auto").
        return;
    }
    if (set.FrameRateIsAuto) {
        if (clip.ContainerKind != Container::WindowsMedia)
            set.SourceFrameRateHint = set.VideoFrameRate =
                plausible ? frameRateName(clip.FrameRate) : "30000/1001";
        else {
            set.SourceFrameRateHint = "-1";
            set.VideoFrameRate = "30000/1001";
        }
        return;
    }
    if (clip.ContainerKind != Container::WindowsMedia)
        set.SourceFrameRateHint = plausible ? frameRateName(clip.FrameRate) : "30000/1001";
    else
        set.SourceFrameRateHint = "-1";
}

} // namespace quilo
