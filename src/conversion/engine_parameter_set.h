// Everything one call of a conversion entry point needs. The text members'
// names are also the keys under which the user log records a clip.
#pragma once

#include <string>
#include <vector>

namespace quilo {

struct EngineParameterSet {
    std::string DVDTitle = "-1";
    std::string StartTime;
    std::string Duration;
    std::string AudioSampleRate;
    std::string VideoAspect;
    std::string OutFileFormat;
    std::string VideoFormat;
    std::string VideoBitRate;
    std::string AudioBitrate;
    std::string Out_Size_X_Y_BeforPad;
    std::string VideoResolution;
    std::string AlbumName;
    std::string ArtistName;
    std::string GenreName = "MyVideo";
    std::string VideoFrameRate;
    std::string AudioLanguage;
    std::string SubtitleLanguage;
    std::string OutputName;
    std::string AudioVolume;
    std::string AudioCodec;
    std::string CropWidth;
    std::string CropHeight;
    std::string CropX;
    std::string CropY;

    std::vector<std::string> InputFiles;
    std::string SourceFrameRateHint;
    std::string ProfileResolution;
    int HighQuality = 0;
    int DvdStandard = 0; // 0 none, 1 NTSC, 2 PAL
    int CropChanged = 0;
    int ForceSync = 0;
    int IsTransportStream = 0;
    int VideoStreamArg = 0;
    int ProfileAspectMode = 0;
    int AudioChannels = 0; // 0 = as the source
    bool FrameRateIsAuto = false;

    // For the progress display.
    int StartSecond = 0;
    int ProgressSeconds = 0;
    int ClipIndex = 0;

    // The logged members in the order the user log records them.
    std::vector<std::pair<const char*, const std::string*>> loggedMembers() const;
};

} // namespace quilo
