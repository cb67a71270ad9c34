#include "conversion/engine_parameter_set.h"

namespace quilo {

std::vector<std::pair<const char*, const std::string*>> EngineParameterSet::loggedMembers() const {
    return {{"DVDTitle", &DVDTitle},
            {"StartTime", &StartTime},
            {"AudioSampleRate", &AudioSampleRate},
            {"VideoAspect", &VideoAspect},
            {"OutFileFormat", &OutFileFormat},
            {"VideoFormat", &VideoFormat},
            {"VideoBitRate", &VideoBitRate},
            {"AudioBitrate", &AudioBitrate},
            {"Out_Size_X_Y_BeforPad", &Out_Size_X_Y_BeforPad},
            {"VideoResolution", &VideoResolution},
            {"AlbumName", &AlbumName},
            {"ArtistName", &ArtistName},
            {"GenreName", &GenreName},
            {"VideoFrameRate", &VideoFrameRate},
            {"AudioLanguage", &AudioLanguage},
            {"SubtitleLanguage", &SubtitleLanguage},
            {"OutputName", &OutputName},
            {"AudioVolume", &AudioVolume},
            {"Duration", &Duration},
            {"AudioCodec", &AudioCodec},
            {"CropWidth", &CropWidth},
            {"CropHeight", &CropHeight},
            {"CropX", &CropX},
            {"CropY", &CropY}};
}

} // namespace quilo
