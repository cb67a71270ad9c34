#include "media/media_info.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string_view>

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

// "MediaInfoLib - v23.04" gives "23.04"; another answer is no version at all.
constexpr std::string_view VersionPrefix = "MediaInfoLib - v";

bool atLeastVersion(const std::string& version, int major, int minor) {
    int foundMajor = 0, foundMinor = 0;
    if (std::sscanf(version.c_str(), "%d.%d", &foundMajor, &foundMinor) != 2)
        return false;
    return foundMajor > major || (foundMajor == major && foundMinor >= minor);
}

} // namespace

void InsertAudioStream(TAudioList& list, TAudioStream stream) {
    const auto at = std::find_if(list.begin(), list.end(),
                                 [&](const TAudioStream& other) { return other.Id >= stream.Id; });
    list.insert(at, std::move(stream));
}

MediaInfoBinding::MediaInfoBinding(std::string libraryName) : libraryName_(std::move(libraryName)) {}

std::vector<LibraryName> MediaInfoApi::Names(MediaInfoApi& api) {
    return {
#define QUILO_MEDIAINFO_NAME(member, name, type) BindName(#name, api.member),
        QUILO_MEDIAINFO_NAMES(QUILO_MEDIAINFO_NAME)
#undef QUILO_MEDIAINFO_NAME
    };
}

LibraryVersion MediaInfoApi::Version() {
    return {"MediaInfoA_Option", "0.7 or later",
            [](void* address, const SharedLibrary& library) -> std::string {
                decltype(MediaInfoApi::Option) option = nullptr;
                std::memcpy(&option, &address, sizeof address);
                decltype(MediaInfoApi::New) open = nullptr;
                decltype(MediaInfoApi::Delete) close = nullptr;
                void* const openAddress = library.symbol("MediaInfoA_New");
                void* const closeAddress = library.symbol("MediaInfoA_Delete");
                std::memcpy(&open, &openAddress, sizeof openAddress);
                std::memcpy(&close, &closeAddress, sizeof closeAddress);
                if (!open || !close)
                    return "unknown";
                // Asked of a handle of its own: the answer's buffer goes with the handle,
                // where one asked without a handle stays until the process ends.
                void* handle = open();
                const char* answer = handle ? option(handle, "Info_Version", "") : nullptr;
                const std::string text = answer ? answer : "";
                if (handle)
                    close(handle);
                return text.starts_with(VersionPrefix) ? text.substr(VersionPrefix.size()) : "unknown";
            },
            [](const std::string& found) { return atLeastVersion(found, 0, 7); }};
}

bool MediaInfoBinding::MediaInfoLoad() {
    std::lock_guard lock(mutex_);
    if (users_ > 0) {
        ++users_;
        return true;
    }
    if (!library_.Load(libraryName_))
        return false;
    users_ = 1;
    return true;
}

void MediaInfoBinding::MediaInfoUnload() {
    std::lock_guard lock(mutex_);
    if (users_ == 0)
        return;
    if (--users_ == 0)
        library_.Unload();
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
    return library_.error();
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
