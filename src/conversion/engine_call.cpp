#include "conversion/engine_call.h"

#include "conversion/parameter_assembly.h"

#include <string_view>
#include <vector>

namespace quilo {
namespace {

constexpr int Magic = 20051124;
constexpr int ModeArgument = 2;

// What every argument layout draws from.
struct EngineArguments {
    const EngineParameterSet& set;
    const QuiloWindowPort* window;
    const char* const* files;
    int count;
};

// The argument layouts of the conversion entry points: the standard list
// (head, picture, tail) and the places where some insert or leave out parts.
// `Slot` is the entry point's pointer in the EngineApi.
#define HEAD a.window, ModeArgument, a.files, a.count, s.DVDTitle.c_str(), s.StartTime.c_str()
#define PICTURE_WITH(genre)                                                                                  \
    s.AudioSampleRate.c_str(), s.VideoAspect.c_str(), s.VideoFormat.c_str(), s.OutFileFormat.c_str(),        \
        s.VideoBitRate.c_str(), s.AudioBitrate.c_str(), s.Out_Size_X_Y_BeforPad.c_str(),                     \
        s.VideoResolution.c_str(), s.AlbumName.c_str(), s.ArtistName.c_str(), genre
#define PICTURE PICTURE_WITH(s.GenreName.c_str())
#define TAIL                                                                                                 \
    s.VideoFrameRate.c_str(), s.AudioLanguage.c_str(), s.SubtitleLanguage.c_str(), s.OutputName.c_str(),     \
        s.AudioVolume.c_str(), s.Duration.c_str()
#define L HEAD, PICTURE, TAIL
#define AUDIO s.AudioCodec.c_str()
#define LAYOUT(layout, ...)                                                                                  \
    template <auto Slot> int layout(const EngineApi& api, const EngineArguments& a) {                        \
        const EngineParameterSet& s = a.set;                                                                 \
        /* A table of the tests' own may leave an entry point out. */                                        \
        return api.*Slot ? (api.*Slot)(__VA_ARGS__) : -1;                                                    \
    }

LAYOUT(audioCodecAfterHead, HEAD, AUDIO, PICTURE, TAIL, s.HighQuality, Magic)
LAYOUT(standard, L, s.HighQuality, Magic)
LAYOUT(standardWithAudioCodec, L, s.HighQuality, AUDIO, Magic)
LAYOUT(standardWithDvdStandard, L, s.HighQuality, s.DvdStandard, AUDIO, Magic)
LAYOUT(standardWithoutQuality, L, AUDIO, Magic)
LAYOUT(standardOnly, L, Magic)
LAYOUT(unknownGenre, HEAD, PICTURE_WITH("Unknown"), TAIL, Magic)
LAYOUT(psp, HEAD, s.AudioSampleRate.c_str(), s.VideoAspect.c_str(), s.VideoFormat.c_str(),
       s.VideoBitRate.c_str(), s.AudioBitrate.c_str(), s.Out_Size_X_Y_BeforPad.c_str(),
       s.VideoResolution.c_str(), s.AlbumName.c_str(), TAIL, Magic)
LAYOUT(audioOnly, HEAD, s.AudioSampleRate.c_str(), s.AudioBitrate.c_str(), s.AlbumName.c_str(),
       s.ArtistName.c_str(), s.GenreName.c_str(), s.AudioLanguage.c_str(), s.OutputName.c_str(),
       s.AudioVolume.c_str(), s.Duration.c_str(), AUDIO, Magic)

#undef LAYOUT
#undef AUDIO
#undef L
#undef TAIL
#undef PICTURE
#undef PICTURE_WITH
#undef HEAD

struct EntryPoint {
    std::string_view name;
    int (*call)(const EngineApi&, const EngineArguments&);
};

#define ENTRY(layout, name)                                                                                  \
    EntryPoint {                                                                                             \
#name, &layout < &EngineApi::name>                                                                   \
    }
constexpr EntryPoint EntryPoints[] = {
    ENTRY(audioCodecAfterHead, X_SetPar_D2AVI),
    ENTRY(audioCodecAfterHead, X_TO_HD_AVI),
    ENTRY(standard, X_SetPar_D2IMP4),
    ENTRY(standard, X_SetPar_D2QTMOV),
    ENTRY(standard, X_SetPar_D2FLV),
    ENTRY(standardWithAudioCodec, X_SetPar_D2WMV),
    ENTRY(standardWithAudioCodec, X_TO_HD_AVC),
    ENTRY(standardWithAudioCodec, X_TO_HD_MP4),
    ENTRY(standardWithAudioCodec, X_TO_HD_H264),
    ENTRY(standardWithAudioCodec, X_TO_HD_MOV),
    ENTRY(standardWithAudioCodec, X_TO_HD_WMV),
    ENTRY(standardWithAudioCodec, X_TO_HD_Mobile),
    ENTRY(standardWithAudioCodec, X_TO_HD_PS3),
    ENTRY(standardWithAudioCodec, X_TO_HD_XBOX),
    ENTRY(standardWithAudioCodec, X_TO_HD_ZUNE),
    ENTRY(standardWithDvdStandard, X_SetPar_D2MPEG),
    ENTRY(standardWithDvdStandard, X_TO_HD_MPEG),
    ENTRY(standardWithDvdStandard, X_TO_HD_MPEG2TS),
    ENTRY(standardWithoutQuality, X_TO_HD_APPLETV),
    ENTRY(standardOnly, X_SetPar_D2IPOD_VIDEO),
    ENTRY(standardOnly, X_SetPar_D2IPHONE_VIDEO),
    ENTRY(standardOnly, X_SetPar_D2APPLETV_VIDEO),
    ENTRY(standardOnly, X_SetPar_D2ZUNE_VIDEO),
    ENTRY(unknownGenre, X_SetPar_D2PDA_VIDEO),
    ENTRY(psp, X_SetPar_D2PSP),
    ENTRY(audioOnly, X_SetPar_D2IPOD_MP3),
};
#undef ENTRY

const EntryPoint* entryPointNamed(std::string_view name) {
    for (const EntryPoint& entry : EntryPoints)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

// A target's entry point, for the clips whose values match the rule (an empty
// condition always matches), with the values the entry point forces. The
// first matching rule of the target counts; a target without one has no entry
// point.
struct TargetRule {
    TargetTypeId target;
    std::string_view entry;
    std::string_view whenVideoFormat = {};
    std::string_view whenContainer = {};
    std::string_view videoFormat = {};
    std::string_view container = {};
};

constexpr TargetRule TargetRules[] = {
    {Target::AVI, "X_SetPar_D2AVI"},
    {Target::MP4, "X_SetPar_D2IMP4"},
    {Target::AVC, "X_TO_HD_AVC"},
    {Target::MPEG, "X_SetPar_D2MPEG"},
    {Target::WMV, "X_SetPar_D2WMV"},
    {Target::MOV, "X_SetPar_D2QTMOV"},
    {Target::Youtube, "X_SetPar_D2IMP4", "mpeg4"},
    {Target::Youtube, "X_TO_HD_AVC", "h264"},
    {Target::Youtube, "X_TO_HD_MPEG", "mpeg2", {}, "mpeg2", "mpeg2"},
    {Target::Youtube, "X_SetPar_D2FLV", "flv"},
    {Target::VOB_File, "X_SetPar_D2MPEG", {}, {}, {}, "dvd"},
    {Target::DVD_Folder, "X_SetPar_D2MPEG", {}, {}, {}, "dvd"},
    {Target::DVD_Disc, "X_SetPar_D2MPEG", {}, {}, {}, "dvd"},
    {Target::HDAVI, "X_TO_HD_AVI"},
    {Target::HDMP4, "X_TO_HD_AVC", "h264"},
    {Target::HDMP4, "X_TO_HD_MP4"},
    {Target::HDMPEG, "X_TO_HD_MPEG", {}, {}, "mpeg2", "mpeg2"},
    // The transport stream carries MPEG-2 video: "mpeg2ts" names the container only.
    {Target::HDTS, "X_TO_HD_MPEG2TS", {}, {}, "mpeg2", "mpeg2ts"},
    {Target::HDWMV, "X_TO_HD_WMV"},
    {Target::HDMOV, "X_TO_HD_MOV"},
    {Target::HDYoutube, "X_TO_HD_MP4", "mpeg4"},
    {Target::HDYoutube, "X_TO_HD_H264"},
    {Target::iPad, "X_SetPar_D2IPOD_VIDEO", {}, {}, {}, "ipod"},
    {Target::iPod, "X_SetPar_D2IPOD_VIDEO", {}, {}, {}, "ipod"},
    {Target::iPhone, "X_SetPar_D2IPHONE_VIDEO", {}, {}, {}, "ipod"},
    {Target::AppleTV, "X_SetPar_D2APPLETV_VIDEO", {}, {}, {}, "ipod"},
    {Target::AppleTV_HD, "X_TO_HD_APPLETV", {}, {}, {}, "ipod"},
    {Target::PSP, "X_SetPar_D2PSP"},
    {Target::PS3, "X_TO_HD_PS3"},
    {Target::PS3_HD, "X_TO_HD_PS3"},
    {Target::Xbox, "X_TO_HD_XBOX", {}, "mov", {}, "mp4"},
    {Target::Xbox, "X_TO_HD_XBOX"},
    {Target::Xbox_HD, "X_TO_HD_XBOX", {}, "mov", {}, "mp4"},
    {Target::Xbox_HD, "X_TO_HD_XBOX"},
    {Target::Zune, "X_SetPar_D2WMV", {}, "asf"},
    {Target::Zune, "X_SetPar_D2ZUNE_VIDEO"},
    {Target::Zune_HD, "X_TO_HD_ZUNE"},
    {Target::PDA, "X_SetPar_D2PDA_VIDEO"},
    {Target::BlackBerry, "X_TO_HD_Mobile"},
    {Target::General, "X_TO_HD_Mobile"},
    {Target::ZEN, "X_TO_HD_Mobile"},
    {Target::Nokia, "X_TO_HD_Mobile"},
    {Target::Android, "X_TO_HD_Mobile"},
    {Target::AAC, "X_SetPar_D2IPOD_MP3"},
    {Target::AC3, "X_SetPar_D2IPOD_MP3"},
    {Target::M4A, "X_SetPar_D2IPOD_MP3"},
    {Target::MP3, "X_SetPar_D2IPOD_MP3"},
    {Target::OGG, "X_SetPar_D2IPOD_MP3"},
    {Target::WMA, "X_SetPar_D2IPOD_MP3"},
    {Target::WAV, "X_SetPar_D2IPOD_MP3"},
};

const EntryPoint* chooseEntryPoint(TargetTypeId target, EngineParameterSet& set) {
    for (const TargetRule& rule : TargetRules) {
        if (rule.target != target ||
            (!rule.whenVideoFormat.empty() && rule.whenVideoFormat != set.VideoFormat) ||
            (!rule.whenContainer.empty() && rule.whenContainer != set.OutFileFormat))
            continue;
        if (!rule.videoFormat.empty())
            set.VideoFormat = rule.videoFormat;
        if (!rule.container.empty())
            set.OutFileFormat = rule.container;
        return entryPointNamed(rule.entry);
    }
    return nullptr;
}

} // namespace

std::string ChooseEntryPoint(TargetTypeId target, EngineParameterSet& set) {
    const EntryPoint* entry = chooseEntryPoint(target, set);
    return entry ? std::string(entry->name) : std::string();
}

EngineResult CallEngine(const EngineApi& api, const QuiloWindowPort* window, const EngineParameterSet& logged,
                        const EngineCallSettings& settings, const std::function<void()>& beforeConversion) {
    EngineParameterSet set = logged;
    const EntryPoint* entry = chooseEntryPoint(settings.target, set);
    if (!entry)
        return EngineResultOf(-1);

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
    return EngineResultOf(entry->call(api, {set, window, files.data(), static_cast<int>(files.size())}));
}

} // namespace quilo
