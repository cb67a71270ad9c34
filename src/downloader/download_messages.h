// What the downloader library reports, as copies the handlers may keep.
#pragma once

#include <string>
#include <vector>

namespace quilo {

inline constexpr const char* DownloaderLibraryName = "libvideodl.so";
inline constexpr const char* DownloaderLoadErrorText = "Load dll Error!\nPlease re-install software!";

// Texts the library reports that the system acts on.
inline constexpr const char* StatusUserStop = "UserStop";
inline constexpr const char* ErrorNotSupported = "QUVI_NOSUPPORT";
inline constexpr const char* ErrorGiveUp = "give up trying.";

// One video file an analysis found.
struct CsvMessage {
    std::string fileName; // a single path component, formed by the name format
    std::string title;
    double totalSize = 0; // bytes; 0 when unknown
    std::string mediaUrl;
    std::string format; // the container, as its extension
};

// Progress of one file's download.
struct ProgressMessage {
    std::string fileName;
    int percent = 0;
    double bytesDownloaded = 0;
    double totalBytes = 0; // the byte count, rate and time are only meaningful when this is above 0
    double rate = 0;
    std::string rateUnit;
    std::string remainingTime;
};

// The argument vectors of the two kinds of run; item 0 is a program name the library ignores.
std::vector<std::string> AnalysisArguments(const std::string& pageUrl);
std::vector<std::string> DownloadArguments(const std::string& pageUrl);
// What a download job hands a task to start its download; the task adds its page.
std::vector<std::string> DownloadStartArguments();

} // namespace quilo
