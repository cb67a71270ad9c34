#include "media/media_info.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace quilo {

namespace {

// The library turns 8-bit texts into wide ones with the thread's character
// set; file names on this system are UTF-8 whatever the process locale says.
class Utf8Texts {
public:
    Utf8Texts() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (utf8)
            previous_ = uselocale(utf8);
    }
    ~Utf8Texts() {
        if (previous_)
            uselocale(previous_);
    }
    Utf8Texts(const Utf8Texts&) = delete;
    Utf8Texts& operator=(const Utf8Texts&) = delete;

private:
    locale_t previous_ = nullptr;
};

template <typename F>
bool bind(const SharedLibrary& library, F& slot, const char* name, std::string& missing) {
    slot = library.function<F>(name);
    if (!slot) {
        if (!missing.empty())
            missing += ", ";
        missing += name;
    }
    return slot != nullptr;
}

} // namespace

void InsertAudioStream(TAudioList& list, TAudioStream stream) {
    const auto at = std::find_if(list.begin(), list.end(),
                                 [&](const TAudioStream& other) { return other.Id >= stream.Id; });
    list.insert(at, std::move(stream));
}

MediaInfoBinding::MediaInfoBinding(std::string libraryName) : libraryName_(std::move(libraryName)) {}

bool MediaInfoBinding::MediaInfoLoad() {
    std::lock_guard lock(mutex_);
    if (users_ > 0) {
        ++users_;
        return true;
    }
    if (!library_.load(libraryName_)) {
        error_ = library_.error();
        return false;
    }
    MediaInfoApi api;
    std::string missing;
    const SharedLibrary& lib = library_;
    bind(lib, api.New, "MediaInfoA_New", missing);
    bind(lib, api.ListNew, "MediaInfoListA_New", missing);
    bind(lib, api.Delete, "MediaInfoA_Delete", missing);
    bind(lib, api.ListDelete, "MediaInfoListA_Delete", missing);
    bind(lib, api.Open, "MediaInfoA_Open", missing);
    bind(lib, api.ListOpen, "MediaInfoListA_Open", missing);
    bind(lib, api.OpenBufferInit, "MediaInfoA_Open_Buffer_Init", missing);
    bind(lib, api.OpenBufferContinue, "MediaInfoA_Open_Buffer_Continue", missing);
    bind(lib, api.OpenBufferContinueGoToGet, "MediaInfoA_Open_Buffer_Continue_GoTo_Get", missing);
    bind(lib, api.OpenBufferFinalize, "MediaInfoA_Open_Buffer_Finalize", missing);
    bind(lib, api.Close, "MediaInfoA_Close", missing);
    bind(lib, api.ListClose, "MediaInfoListA_Close", missing);
    bind(lib, api.Inform, "MediaInfoA_Inform", missing);
    bind(lib, api.ListInform, "MediaInfoListA_Inform", missing);
    bind(lib, api.GetI, "MediaInfoA_GetI", missing);
    bind(lib, api.ListGetI, "MediaInfoListA_GetI", missing);
    bind(lib, api.Get, "MediaInfoA_Get", missing);
    bind(lib, api.ListGet, "MediaInfoListA_Get", missing);
    bind(lib, api.Option, "MediaInfoA_Option", missing);
    bind(lib, api.ListOption, "MediaInfoListA_Option", missing);
    bind(lib, api.StateGet, "MediaInfoA_State_Get", missing);
    bind(lib, api.ListStateGet, "MediaInfoListA_State_Get", missing);
    bind(lib, api.CountGet, "MediaInfoA_Count_Get", missing);
    bind(lib, api.ListCountGet, "MediaInfoListA_Count_Get", missing);
    bind(lib, api.ListCountGetFiles, "MediaInfoListA_Count_Get_Files", missing);
    if (!missing.empty()) {
        error_ = libraryName_ + " lacks " + missing;
        library_.unload();
        return false;
    }
    api_ = api;
    error_.clear();
    users_ = 1;
    return true;
}

void MediaInfoBinding::MediaInfoUnload() {
    std::lock_guard lock(mutex_);
    if (users_ == 0)
        return;
    if (--users_ == 0) {
        api_ = MediaInfoApi{};
        library_.unload();
    }
}

int MediaInfoBinding::users() const {
    std::lock_guard lock(mutex_);
    return users_;
}

bool MediaInfoBinding::loaded() const {
    std::lock_guard lock(mutex_);
    return users_ > 0;
}

std::string MediaInfoBinding::error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

MediaInfoBinding& SharedMediaInfo() {
    static MediaInfoBinding binding;
    return binding;
}

MediaInfoFile::MediaInfoFile(MediaInfoBinding& binding) : binding_(binding) {}

MediaInfoFile::~MediaInfoFile() {
    close();
}

bool MediaInfoFile::open(const std::string& path) {
    close();
    if (!binding_.loaded())
        return false;
    Utf8Texts utf8;
    handle_ = binding_.api().New();
    if (!handle_)
        return false;
    return binding_.api().Open(handle_, path.c_str()) != 0;
}

std::string MediaInfoFile::get(MediaStreamKind kind, int streamNumber, const char* parameter) const {
    if (!binding_.loaded())
        return MediaInfoMissingText;
    if (!handle_)
        return {};
    constexpr int InfoText = 1, InfoName = 0;
    Utf8Texts utf8;
    // The answer lives in a buffer the next query overwrites: copy it at once.
    const char* answer = binding_.api().Get(handle_, static_cast<int>(kind),
                                            static_cast<size_t>(streamNumber), parameter, InfoText, InfoName);
    return answer ? std::string(answer) : std::string();
}

void MediaInfoFile::close() {
    if (!handle_)
        return;
    binding_.api().Close(handle_);
    binding_.api().Delete(handle_);
    handle_ = nullptr;
}

int ParseMediaInteger(const std::string& text) {
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

double ParseMediaDecimal(const std::string& text) {
    // Qt programs adopt the user's locale, where "29.970" could read as 29.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const double value = c ? strtod_l(text.c_str(), nullptr, c) : std::strtod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

namespace {

int truncateToInt(double value) {
    if (!(value > static_cast<double>(INT_MIN) && value < static_cast<double>(INT_MAX)))
        return 0;
    return static_cast<int>(value);
}

} // namespace

void ProbeMedia(MediaInfoBinding& binding, const std::string& path, TMediaInfo& info) {
    info = TMediaInfo{};
    // The first probe loads the library; it stays loaded for the process.
    if (!binding.loaded())
        binding.MediaInfoLoad();

    MediaInfoFile file(binding);
    file.open(path);
    using K = MediaStreamKind;
    info.FormatName = file.get(K::General, 0, "Format");

    TVideoStream& video = info.Video;
    video.Id = truncateToInt(ParseMediaDecimal(file.get(K::Video, 0, "ID")));
    video.Width = ParseMediaInteger(file.get(K::Video, 0, "Width"));
    video.Height = ParseMediaInteger(file.get(K::Video, 0, "Height"));
    video.Duration = ParseMediaInteger(file.get(K::Video, 0, "Duration"));
    video.FrameRate = static_cast<float>(ParseMediaDecimal(file.get(K::Video, 0, "FrameRate")));
    video.CodecText = file.get(K::Video, 0, "Codec/String");
    video.AspectText = file.get(K::Video, 0, "DisplayAspectRatio/String");
    video.DurationText = file.get(K::Video, 0, "Duration/String");

    const int count = std::max(0, ParseMediaInteger(file.get(K::Audio, 0, "StreamCount")));
    for (int i = 0; i < count; ++i) {
        TAudioStream audio;
        audio.Id = ParseMediaInteger(file.get(K::Audio, i, "ID"));
        audio.SamplingRate = ParseMediaInteger(file.get(K::Audio, i, "SamplingRate"));
        audio.BitRate = ParseMediaInteger(file.get(K::Audio, i, "BitRate"));
        audio.Channels = ParseMediaInteger(file.get(K::Audio, i, "Channel(s)"));
        audio.Duration = ParseMediaInteger(file.get(K::Audio, i, "Duration"));
        (void)file.get(K::Audio, i, "Codec");
        audio.CodecText = file.get(K::Audio, i, "Format");
        audio.Language = file.get(K::Audio, i, "Language/String");
        audio.DurationText = file.get(K::Audio, i, "Duration/String");
        if (audio.CodecText == "MPA1L3")
            audio.CodecText = "MP3";
        else if (audio.CodecText == "MPA1L2")
            audio.CodecText = "MP2";
        if (audio.Id == 0)
            audio.Id = -1;
        InsertAudioStream(info.Audio, std::move(audio));
    }
    file.close();
}

void ProbeMedia(const std::string& path, TMediaInfo& info) {
    ProbeMedia(SharedMediaInfo(), path, info);
}

} // namespace quilo
