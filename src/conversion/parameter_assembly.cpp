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

constexpr int TagLimit = 50;

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

int ClipSegmentSeconds(const TVideoInfo& clip) {
    // A clip of several files is converted whole.
    if (clip.SourcePaths().size() > 1)
        return clip.Duration;
    const int segment = clip.EndTime - clip.StartTime;
    return segment == 0 ? clip.Duration : segment;
}

int EngineThreadCount(int coreIndex) {
    return std::clamp(coreIndex + 3, 4, 8);
}

ParameterAssembly::ParameterAssembly(JobSettings settings) : settings_(std::move(settings)) {}

void ParameterAssembly::ReadProfileValues(EngineParameterSet& set) const {
    const ProfileChoices& profile = settings_.profile;
    set.OutFileFormat = profile.container;
    set.VideoFrameRate = profile.frameRate;
    set.AudioBitrate = profile.audioBitRate;
    set.AudioSampleRate = profile.audioSampleRate;
    set.AudioCodec = profile.audioCodec;
    set.VideoFormat = profile.videoCodec;
    set.ProfileAspectMode = profile.aspectMode;
    set.AudioChannels = profile.audioChannels;

    set.FrameRateIsAuto = set.VideoFrameRate == "Auto";
    set.HighQuality = settings_.highQuality ? 1 : 0;
    set.VideoBitRate = std::to_string(settings_.videoBitRate);
    set.AudioVolume = std::to_string(settings_.volume);
    set.ArtistName = settings_.artistName.empty() ? "Unkonwn" : tagText(settings_.artistName);

    if (isDvdFileTarget(settings_.target)) {
        const bool ntsc = settings_.dvd.ntsc;
        set.VideoFrameRate = ntsc ? "30000/1001" : "25";
        set.AudioBitrate = "192";
        set.AudioSampleRate = "48000";
        set.AudioCodec = "ac3";
        set.VideoFormat = "dvd";
        set.AudioVolume = "2";
        set.VideoBitRate = "5000";
        set.ProfileResolution = ntsc ? "720:480" : "720:576";
        set.OutFileFormat = "dvd";
    } else {
        set.ProfileResolution = profile.resolution;
    }
}

bool ParameterAssembly::PrepareClip(const std::vector<TVideoInfo*>& clips, int index,
                                    EngineParameterSet& set) const {
    if (index < 0 || index >= static_cast<int>(clips.size()))
        return false;
    TVideoInfo& clip = *clips[index];
    set.ClipIndex = index;

    set.InputFiles = clip.SourcePaths();
    const int start = set.InputFiles.size() <= 1 ? clip.StartTime : 0;
    const int segment = ClipSegmentSeconds(clip);
    set.StartSecond = start;
    set.ProgressSeconds = segment;
    set.StartTime = std::to_string(start);
    int duration = segment;
    if (settings_.minDuration > 0 && segment < settings_.minDuration)
        duration = settings_.minDuration;
    set.Duration = clip.EndTime >= clip.Duration - 2 ? "0" : std::to_string(duration);

    set.DVDTitle = "-1";
    set.GenreName = "MyVideo";
    const std::string fileName = std::filesystem::path(clip.FirstSourcePath()).filename().string();
    set.AlbumName =
        tagText(settings_.displayName.empty() ? fileName : settings_.displayName + "_" + fileName);

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

    set.OutputName = UniqueOutputPath(settings_.outputFolder, SanitizeOutputName(clip.OutputName));
    clip.OutputPath = set.OutputName;
    return true;
}

void ParameterAssembly::frameAndPicture(const TVideoInfo& clip, EngineParameterSet& set) const {
    const bool aspectCodeKnown = clip.AspectCode >= 0 && clip.AspectCode <= 4;
    const float ratio = aspectCodeKnown ? aspectRatioOfCode(clip.AspectCode) : 0.0f;
    int sourceWidth = clip.Width, sourceHeight = clip.Height;
    if (clip.UseAspectCode && ratio > 0)
        sourceWidth = static_cast<int>(static_cast<float>(clip.Height) * ratio);

    if (settings_.target == Target::MPEG) {
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
            const int frameWidth = settings_.frameWidth, frameHeight = settings_.frameHeight;
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
            if (settings_.addLetterBox) {
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

    if (isDvdFileTarget(settings_.target)) {
        const bool ntsc = settings_.dvd.ntsc, wide = settings_.dvd.widescreen;
        set.DvdStandard = ntsc ? 1 : 2;
        set.VideoAspect = wide ? "16:9" : "4:3";
        set.VideoResolution = set.ProfileResolution;
        if (settings_.addLetterBoxVob) {
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
    if ((settings_.target == Target::DVD_ISO || settings_.target == Target::HDAVI ||
         settings_.target == Target::HDWMV) &&
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
    set.ForceSync = settings_.forceSync ? 1 : 0;
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
