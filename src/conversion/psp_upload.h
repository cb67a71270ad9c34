// Copying a job's files onto a PSP connected as a removable volume, into the
// video folders the options name.
#pragma once

#include "media/clip_record.h"
#include "platform/mounted_volumes.h"
#include "platform/prompter.h"
#include "profiles/option_settings.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quilo {

// The first root on which root + uploadFolder is an existing folder.
std::optional<std::string> FindPspVolume(const std::vector<std::string>& roots,
                                         const std::string& uploadFolder);

struct UploadProgress {
    std::function<void(const std::string& status)> status; // the status line
    std::function<void(int percent)> percent;              // the progress bar
};

// Copies the output of every checked clip from the job's folder to the PSP.
// False when no PSP is found (after saying so).
bool UploadToPsp(const std::vector<TVideoInfo*>& clips, const std::string& jobFolder,
                 const std::vector<std::string>& volumeRoots, const OptionSettings& options,
                 Prompter& prompter, const UploadProgress& progress);

// Copies in large blocks, reporting percent after each; the destination is
// written under a temporary name and renamed, so a broken copy leaves no
// half file behind. False when the copy failed.
bool CopyWithProgress(const std::string& source, const std::string& destination,
                      const std::function<void(int percent)>& percent);

} // namespace quilo
