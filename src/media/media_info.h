// Media analysis through the system's MediaInfo library, loaded at run time and
// bound by name.
#pragma once

#include "media/media_types.h"
#include "platform/library_binding.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

namespace quilo {

// The answer to every text query while the library cannot be loaded.
inline constexpr const char* MediaInfoMissingText = "Unable to load MediaInfo.dll";

// The library's C interface in its 8-bit form: each pointer and the name the
// library exports it by. Stream and info kinds are the library's enumerations,
// passed as ints.
#define QUILO_MEDIAINFO_NAMES(X)                                                                             \
    X(New, MediaInfoA_New, void* (*)())                                                                      \
    X(ListNew, MediaInfoListA_New, void* (*)())                                                              \
    X(Delete, MediaInfoA_Delete, void (*)(void*))                                                            \
    X(ListDelete, MediaInfoListA_Delete, void (*)(void*))                                                    \
    X(Open, MediaInfoA_Open, size_t (*)(void*, const char*))                                                 \
    X(ListOpen, MediaInfoListA_Open, size_t (*)(void*, const char*, int))                                    \
    X(OpenBufferInit, MediaInfoA_Open_Buffer_Init,                                                           \
      size_t (*)(void*, unsigned long long, unsigned long long))                                             \
    X(OpenBufferContinue, MediaInfoA_Open_Buffer_Continue, size_t (*)(void*, unsigned char*, size_t))        \
    X(OpenBufferContinueGoToGet, MediaInfoA_Open_Buffer_Continue_GoTo_Get, unsigned long long (*)(void*))    \
    X(OpenBufferFinalize, MediaInfoA_Open_Buffer_Finalize, size_t (*)(void*))                                \
    X(Close, MediaInfoA_Close, void (*)(void*))                                                              \
    X(ListClose, MediaInfoListA_Close, void (*)(void*, size_t))                                              \
    X(Inform, MediaInfoA_Inform, const char* (*)(void*, size_t))                                             \
    X(ListInform, MediaInfoListA_Inform, const char* (*)(void*, size_t, size_t))                             \
    X(GetI, MediaInfoA_GetI, const char* (*)(void*, int, size_t, size_t, int))                               \
    X(ListGetI, MediaInfoListA_GetI, const char* (*)(void*, size_t, int, size_t, size_t, int))               \
    X(Get, MediaInfoA_Get, const char* (*)(void*, int, size_t, const char*, int, int))                       \
    X(ListGet, MediaInfoListA_Get, const char* (*)(void*, size_t, int, size_t, const char*, int, int))       \
    X(Option, MediaInfoA_Option, const char* (*)(void*, const char*, const char*))                           \
    X(ListOption, MediaInfoListA_Option, const char* (*)(void*, const char*, const char*))                   \
    X(StateGet, MediaInfoA_State_Get, size_t (*)(void*))                                                     \
    X(ListStateGet, MediaInfoListA_State_Get, size_t (*)(void*))                                             \
    X(CountGet, MediaInfoA_Count_Get, size_t (*)(void*, int, size_t))                                        \
    X(ListCountGet, MediaInfoListA_Count_Get, size_t (*)(void*, size_t, int, size_t))                        \
    X(ListCountGetFiles, MediaInfoListA_Count_Get_Files, size_t (*)(void*))

struct MediaInfoApi {
#define QUILO_MEDIAINFO_POINTER(member, name, type) std::type_identity_t<type> member = nullptr;
    QUILO_MEDIAINFO_NAMES(QUILO_MEDIAINFO_POINTER)
#undef QUILO_MEDIAINFO_POINTER

    static std::vector<LibraryName> Names(MediaInfoApi& api);
    // The library has no interface number: it names its own version through the
    // "Info_Version" option, and every version since 0.7 has this interface.
    static LibraryVersion Version();
};

enum class MediaStreamKind { General = 0, Video = 1, Audio = 2 };

// The library and its users. The first user loads it; it is freed only when the
// last user leaves. Safe to share between threads.
class MediaInfoBinding {
public:
    static constexpr const char* DefaultLibraryName = "libmediainfo.so.0";

    // A bare name is searched the system's way; a path is taken as it is.
    explicit MediaInfoBinding(std::string libraryName = DefaultLibraryName);
    MediaInfoBinding(const MediaInfoBinding&) = delete;
    MediaInfoBinding& operator=(const MediaInfoBinding&) = delete;

    // Counts a user, loading the library for the first one. False (and no user
    // counted) when the library or one of its names is missing.
    bool MediaInfoLoad();
    // Drops a user; the last one frees the library.
    void MediaInfoUnload();

    int users() const;
    bool loaded() const;
    // Why the last load failed.
    std::string error() const;
    const std::string& libraryName() const { return libraryName_; }

    // Valid while at least one user is counted.
    const MediaInfoApi& api() const { return library_.api(); }

private:
    std::string libraryName_;
    mutable std::mutex mutex_;
    RuntimeLibrary<MediaInfoApi> library_;
    int users_ = 0;
};

// The binding shared by the whole process (the system's library).
MediaInfoBinding& SharedMediaInfo();

// One per-file object of the library: opening, text queries, closing. Without a
// loaded library every text query answers MediaInfoMissingText.
class MediaInfoFile {
public:
    explicit MediaInfoFile(MediaInfoBinding& binding);
    ~MediaInfoFile();
    MediaInfoFile(const MediaInfoFile&) = delete;
    MediaInfoFile& operator=(const MediaInfoFile&) = delete;

    bool open(const std::string& path);
    // A query with info kind "text" and search kind "name".
    std::string get(MediaStreamKind kind, int streamNumber, const char* parameter) const;
    void close();

private:
    MediaInfoBinding& binding_;
    void* handle_ = nullptr;
};

// atol: optional blanks and sign, then leading digits; 0 without a number.
// Limited to the int range.
int ParseMediaInteger(const std::string& text);
// strtod in the C locale, whatever the process locale is; 0 without a number.
double ParseMediaDecimal(const std::string& text);

// Loads the library on first use (it then stays loaded), opens the file and
// fills `info` from scratch. Never fails as such: an unreadable file gives empty
// texts and zero numbers.
void ProbeMedia(const std::string& path, TMediaInfo& info);
void ProbeMedia(MediaInfoBinding& binding, const std::string& path, TMediaInfo& info);

} // namespace quilo
