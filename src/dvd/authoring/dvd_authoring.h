// The DVD step of a job: the converted files become a DVD-Video folder through
// the authoring library, with the progress the window shows meanwhile.
#pragma once

#include "dvd/authoring/author_control_file.h"
#include "platform/library_loader.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace quilo {

inline constexpr const char* AuthoringLibraryName = "libauthoring.so";
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

private:
    std::string libraryFolder_;
    std::string dataFolder_;
    std::string dvdFolder_;
    std::atomic<long> totalMegabytes_{0};
    mutable std::mutex progressLock_;
    int* written_ = nullptr; // the library's megabyte counter while it authors
};

} // namespace quilo
