// The DVD step of a job: the converted files become a DVD-Video folder through
// the authoring library, with the progress the window shows meanwhile.
#pragma once

#include "authoring.h"
#include "dvd/authoring/author_control_file.h"
#include "platform/library_binding.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace quilo {

inline constexpr const char* AuthoringLibraryName = "libauthoring.so";

// What an authoring calls in the authoring library.
struct AuthoringApi {
    decltype(&::setreg) setreg = nullptr;
    decltype(&::getVOBsMB) getVOBsMB = nullptr;
    decltype(&::author_main) author_main = nullptr;
    decltype(&::authoring_set_log_callback) authoring_set_log_callback = nullptr;

    static std::vector<LibraryName> Names(AuthoringApi& api);
    // authoring_version must answer AUTHORING_ABI_VERSION.
    static LibraryVersion Version();
};
// Result of an authoring the tool reported as failed: the converted files stay.
inline constexpr int AuthorFailed = -1;

class DvdAuthoring {
public:
    DvdAuthoring(std::string libraryFolder, std::string dataFolder);

    // Writes the control file and runs the authoring. 1 authored, 0 a converted
    // file is missing, -1 too many clips or the authoring failed, 2 the
    // authoring library is unusable. `clipCount` is the number of clips the job had.
    int AuthorDvd(const std::string& outputFolder, const std::vector<std::string>& outputs, int clipCount,
                  const DvdDiscSettings& settings);

    // The progress timer's percent, 0 … 100; 0 while nothing is authored or when
    // the files total less than a megabyte. Safe from any thread.
    int ProgressPercent() const;
    bool running() const {
        std::lock_guard lock(progressLock_);
        return written_ != nullptr;
    }
    // The folder the last authoring wrote (it holds VIDEO_TS).
    const std::string& dvdFolder() const { return dvdFolder_; }
    // Why the library was unusable at the last authoring; empty when it was not.
    const std::string& libraryError() const { return libraryError_; }

private:
    std::string libraryFolder_;
    std::string dataFolder_;
    std::string dvdFolder_;
    std::string libraryError_;
    std::atomic<long> totalMegabytes_{0};
    mutable std::mutex progressLock_;
    int* written_ = nullptr; // the library's megabyte counter while it authors
};

} // namespace quilo
