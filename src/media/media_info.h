// Media analysis through the system's MediaInfo library, loaded at run time and
// bound by name.
#pragma once

#include "media/media_types.h"
#include "platform/library_loader.h"

#include <cstddef>
#include <mutex>
#include <string>

namespace quilo {

// The answer to every text query while the library cannot be loaded.
inline constexpr const char* MediaInfoMissingText = "Unable to load MediaInfo.dll";

// The library's C interface in its 8-bit form. Stream and info kinds are the
// library's enumerations, passed as ints.
struct MediaInfoApi {
    void* (*New)() = nullptr;
    void* (*ListNew)() = nullptr;
    void (*Delete)(void*) = nullptr;
    void (*ListDelete)(void*) = nullptr;
    size_t (*Open)(void*, const char*) = nullptr;
    size_t (*ListOpen)(void*, const char*, int) = nullptr;
    size_t (*OpenBufferInit)(void*, unsigned long long, unsigned long long) = nullptr;
    size_t (*OpenBufferContinue)(void*, unsigned char*, size_t) = nullptr;
    unsigned long long (*OpenBufferContinueGoToGet)(void*) = nullptr;
    size_t (*OpenBufferFinalize)(void*) = nullptr;
    void (*Close)(void*) = nullptr;
    void (*ListClose)(void*, size_t) = nullptr;
    const char* (*Inform)(void*, size_t) = nullptr;
    const char* (*ListInform)(void*, size_t, size_t) = nullptr;
    const char* (*GetI)(void*, int, size_t, size_t, int) = nullptr;
    const char* (*ListGetI)(void*, size_t, int, size_t, size_t, int) = nullptr;
    const char* (*Get)(void*, int, size_t, const char*, int, int) = nullptr;
    const char* (*ListGet)(void*, size_t, int, size_t, const char*, int, int) = nullptr;
    const char* (*Option)(void*, const char*, const char*) = nullptr;
    const char* (*ListOption)(void*, const char*, const char*) = nullptr;
    size_t (*StateGet)(void*) = nullptr;
    size_t (*ListStateGet)(void*) = nullptr;
    size_t (*CountGet)(void*, int, size_t) = nullptr;
    size_t (*ListCountGet)(void*, size_t, int, size_t) = nullptr;
    size_t (*ListCountGetFiles)(void*) = nullptr;
};

enum class MediaStreamKind { General = 0, Video = 1, Audio = 2 };

// The library and its users. The first user loads it; it is freed only when the
// last user leaves. Safe to share between threads.
class MediaInfoBinding {
public:
    static constexpr const char* DefaultLibraryName = "libmediainfo.so.0";
    static constexpr int BoundNameCount = 25;

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
    const MediaInfoApi& api() const { return api_; }

private:
    std::string libraryName_;
    mutable std::mutex mutex_;
    SharedLibrary library_;
    MediaInfoApi api_;
    int users_ = 0;
    std::string error_;
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
