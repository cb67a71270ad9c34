#include "conversion/engine_call.h"

#include "conversion/parameter_assembly.h"

#include <vector>

namespace quilo {
namespace {

constexpr int Magic = 20051124;
constexpr int ModeArgument = 2;

} // namespace

std::string ChooseEntryPoint(TargetTypeId target, EngineParameterSet& set) {
    const std::string& codec = set.VideoFormat;
    switch (target) {
    case Target::AVI:
        return "X_SetPar_D2AVI";
    case Target::MP4:
        return "X_SetPar_D2IMP4";
    case Target::AVC:
        return "X_TO_HD_AVC";
    case Target::MPEG:
        return "X_SetPar_D2MPEG";
    case Target::WMV:
        return "X_SetPar_D2WMV";
    case Target::MOV:
        return "X_SetPar_D2QTMOV";
    case Target::Youtube:
        if (codec == "mpeg4")
            return "X_SetPar_D2IMP4";
        if (codec == "h264")
            return "X_TO_HD_AVC";
        if (codec == "mpeg2") {
            set.VideoFormat = set.OutFileFormat = "mpeg2";
            return "X_TO_HD_MPEG";
        }
        if (codec == "flv")
            return "X_SetPar_D2FLV";
        return {};
    case Target::VOB_File:
    case Target::DVD_Folder:
    case Target::DVD_Disc:
        set.OutFileFormat = "dvd";
        return "X_SetPar_D2MPEG";
    case Target::HDAVI:
        return "X_TO_HD_AVI";
    case Target::HDMP4:
        return codec == "h264" ? "X_TO_HD_AVC" : "X_TO_HD_MP4";
    case Target::HDMPEG:
        set.VideoFormat = set.OutFileFormat = "mpeg2";
        return "X_TO_HD_MPEG";
    case Target::HDTS:
        // The transport stream carries MPEG-2 video: "mpeg2ts" names the container only.
        set.VideoFormat = "mpeg2";
        set.OutFileFormat = "mpeg2ts";
        return "X_TO_HD_MPEG2TS";
    case Target::HDWMV:
        return "X_TO_HD_WMV";
    case Target::HDMOV:
        return "X_TO_HD_MOV";
    case Target::HDYoutube:
        return codec == "mpeg4" ? "X_TO_HD_MP4" : "X_TO_HD_H264";
    case Target::iPad:
    case Target::iPod:
        set.OutFileFormat = "ipod";
        return "X_SetPar_D2IPOD_VIDEO";
    case Target::iPhone:
        set.OutFileFormat = "ipod";
        return "X_SetPar_D2IPHONE_VIDEO";
    case Target::AppleTV:
        set.OutFileFormat = "ipod";
        return "X_SetPar_D2APPLETV_VIDEO";
    case Target::AppleTV_HD:
        set.OutFileFormat = "ipod";
        return "X_TO_HD_APPLETV";
    case Target::PSP:
        return "X_SetPar_D2PSP";
    case Target::PS3:
    case Target::PS3_HD:
        return "X_TO_HD_PS3";
    case Target::Xbox:
    case Target::Xbox_HD:
        if (set.OutFileFormat == "mov")
            set.OutFileFormat = "mp4";
        return "X_TO_HD_XBOX";
    case Target::Zune:
        return set.OutFileFormat == "asf" ? "X_SetPar_D2WMV" : "X_SetPar_D2ZUNE_VIDEO";
    case Target::Zune_HD:
        return "X_TO_HD_ZUNE";
    case Target::PDA:
        return "X_SetPar_D2PDA_VIDEO";
    case Target::BlackBerry:
    case Target::General:
    case Target::ZEN:
    case Target::Nokia:
    case Target::Android:
        return "X_TO_HD_Mobile";
    default:
        if (isAudioTarget(target))
            return "X_SetPar_D2IPOD_MP3";
        return {};
    }
}

namespace {

int runEngine(const EngineApi& api, const QuiloWindowPort* window, const EngineParameterSet& logged,
              const EngineCallSettings& settings, const std::function<void()>& beforeConversion) {
    EngineParameterSet set = logged;
    const std::string entry = ChooseEntryPoint(settings.target, set);
    if (entry.empty())
        return -1;

    api.X_SetPar_Global(EngineThreadCount(settings.coreIndex), settings.deinterlace ? 1 : 0, 0, set.ForceSync,
                        set.IsTransportStream, set.VideoStreamArg);
    api.X_Global_Set_Crop(set.CropChanged, set.CropWidth.c_str(), set.CropHeight.c_str(), set.CropX.c_str(),
                          set.CropY.c_str());
    api.X_Global_CMD(settings.tempFilePath.c_str(), set.SourceFrameRateHint.c_str(), 1);
    api.X_SetPar_AudioChannels(set.AudioChannels);
    if (beforeConversion)
        beforeConversion();

    std::vector<const char*> files;
    for (const auto& file : set.InputFiles)
        files.push_back(file.c_str());
    const char* const* fileArray = files.data();
    const int count = static_cast<int>(files.size());

    // The standard list, with the parts some entry points change.
#define HEAD window, ModeArgument, fileArray, count, set.DVDTitle.c_str(), set.StartTime.c_str()
#define PICTURE_WITH(genre)                                                                                  \
    set.AudioSampleRate.c_str(), set.VideoAspect.c_str(), set.VideoFormat.c_str(),                           \
        set.OutFileFormat.c_str(), set.VideoBitRate.c_str(), set.AudioBitrate.c_str(),                       \
        set.Out_Size_X_Y_BeforPad.c_str(), set.VideoResolution.c_str(), set.AlbumName.c_str(),               \
        set.ArtistName.c_str(), genre
#define PICTURE PICTURE_WITH(set.GenreName.c_str())
#define TAIL                                                                                                 \
    set.VideoFrameRate.c_str(), set.AudioLanguage.c_str(), set.SubtitleLanguage.c_str(),                     \
        set.OutputName.c_str(), set.AudioVolume.c_str(), set.Duration.c_str()
#define L HEAD, PICTURE, TAIL
    const char* audio = set.AudioCodec.c_str();
    const int hq = set.HighQuality;

    if (entry == "X_SetPar_D2AVI")
        return api.X_SetPar_D2AVI(HEAD, audio, PICTURE, TAIL, hq, Magic);
    if (entry == "X_TO_HD_AVI")
        return api.X_TO_HD_AVI(HEAD, audio, PICTURE, TAIL, hq, Magic);
    if (entry == "X_SetPar_D2IMP4")
        return api.X_SetPar_D2IMP4(L, hq, Magic);
    if (entry == "X_SetPar_D2QTMOV")
        return api.X_SetPar_D2QTMOV(L, hq, Magic);
    if (entry == "X_SetPar_D2FLV")
        return api.X_SetPar_D2FLV(L, hq, Magic);
    if (entry == "X_SetPar_D2WMV")
        return api.X_SetPar_D2WMV(L, hq, audio, Magic);
    if (entry == "X_TO_HD_AVC")
        return api.X_TO_HD_AVC(L, hq, audio, Magic);
    if (entry == "X_TO_HD_MP4")
        return api.X_TO_HD_MP4(L, hq, audio, Magic);
    if (entry == "X_TO_HD_H264")
        return api.X_TO_HD_H264(L, hq, audio, Magic);
    if (entry == "X_TO_HD_MOV")
        return api.X_TO_HD_MOV(L, hq, audio, Magic);
    if (entry == "X_TO_HD_WMV")
        return api.X_TO_HD_WMV(L, hq, audio, Magic);
    if (entry == "X_TO_HD_Mobile")
        return api.X_TO_HD_Mobile(L, hq, audio, Magic);
    if (entry == "X_TO_HD_PS3")
        return api.X_TO_HD_PS3(L, hq, audio, Magic);
    if (entry == "X_TO_HD_XBOX")
        return api.X_TO_HD_XBOX(L, hq, audio, Magic);
    if (entry == "X_TO_HD_ZUNE")
        return api.X_TO_HD_ZUNE(L, hq, audio, Magic);
    if (entry == "X_SetPar_D2MPEG")
        return api.X_SetPar_D2MPEG(L, hq, set.DvdStandard, audio, Magic);
    if (entry == "X_TO_HD_MPEG")
        return api.X_TO_HD_MPEG(L, hq, set.DvdStandard, audio, Magic);
    if (entry == "X_TO_HD_MPEG2TS")
        return api.X_TO_HD_MPEG2TS(L, hq, set.DvdStandard, audio, Magic);
    if (entry == "X_TO_HD_APPLETV")
        return api.X_TO_HD_APPLETV(L, audio, Magic);
    if (entry == "X_SetPar_D2IPOD_VIDEO")
        return api.X_SetPar_D2IPOD_VIDEO(L, Magic);
    if (entry == "X_SetPar_D2IPHONE_VIDEO")
        return api.X_SetPar_D2IPHONE_VIDEO(L, Magic);
    if (entry == "X_SetPar_D2APPLETV_VIDEO")
        return api.X_SetPar_D2APPLETV_VIDEO(L, Magic);
    if (entry == "X_SetPar_D2ZUNE_VIDEO")
        return api.X_SetPar_D2ZUNE_VIDEO(L, Magic);
    if (entry == "X_SetPar_D2PDA_VIDEO")
        return api.X_SetPar_D2PDA_VIDEO(HEAD, PICTURE_WITH("Unknown"), TAIL, Magic);
    if (entry == "X_SetPar_D2PSP")
        return api.X_SetPar_D2PSP(HEAD, set.AudioSampleRate.c_str(), set.VideoAspect.c_str(),
                                  set.VideoFormat.c_str(), set.VideoBitRate.c_str(), set.AudioBitrate.c_str(),
                                  set.Out_Size_X_Y_BeforPad.c_str(), set.VideoResolution.c_str(),
                                  set.AlbumName.c_str(), TAIL, Magic);
    if (entry == "X_SetPar_D2IPOD_MP3")
        return api.X_SetPar_D2IPOD_MP3(HEAD, set.AudioSampleRate.c_str(), set.AudioBitrate.c_str(),
                                       set.AlbumName.c_str(), set.ArtistName.c_str(), set.GenreName.c_str(),
                                       set.AudioLanguage.c_str(), set.OutputName.c_str(),
                                       set.AudioVolume.c_str(), set.Duration.c_str(), audio, Magic);
#undef L
#undef TAIL
#undef PICTURE
#undef PICTURE_WITH
#undef HEAD
    return -1;
}

} // namespace

EngineResult CallEngine(const EngineApi& api, const QuiloWindowPort* window, const EngineParameterSet& set,
                        const EngineCallSettings& settings, const std::function<void()>& beforeConversion) {
    return EngineResultOf(runEngine(api, window, set, settings, beforeConversion));
}

} // namespace quilo
