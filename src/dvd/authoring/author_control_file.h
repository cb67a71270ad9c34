// The control file that tells the authoring library how to lay the converted
// files out as a DVD-Video folder: one title per file, each playing into the
// next and the last back to the first.
#pragma once

#include <string>
#include <vector>

namespace quilo {

struct DvdDiscSettings {
    bool pal = false;       // else NTSC
    bool aspect43 = false;  // else 16:9
    bool widescreen = true; // 16:9 flag: no pan-scan
};

enum AuthorResult {
    AuthorMissingFile = 0,
    AuthorDone = 1,
    AuthorLibraryUnusable = 2,
    AuthorTooManyClips = -1
};

struct AuthorControlFile {
    int result = AuthorDone;
    std::string dvdFolder;   // where the authoring library writes VIDEO_TS
    std::string path;        // "author.xml" in the data folder
    long totalMegabytes = 0; // the 100 % mark of the authoring progress
};

// "DVD_DISC" in the output folder, or DVD_DISC_N for the first N whose folder does not exist.
std::string ChooseDvdFolder(const std::string& outputFolder);

// The lines of the control file (without line ends) for the converted files in
// clip order; adds each listed file's size in whole megabytes to `totalMegabytes`
// and reports a missing file.
std::vector<std::string> BuildAuthorLines(const std::string& dvdFolder, const DvdDiscSettings& settings,
                                          const std::vector<std::string>& outputList, long& totalMegabytes,
                                          bool& fileMissing);

// Writes "author.xml" into the data folder with CR LF line ends. `clipIndex` is the
// job's clip index: above 99 means the job had too many clips for a disc. The
// library writes into `authorInto` when given, which becomes the DVD folder later.
AuthorControlFile WriteAuthorControlFile(const std::string& dataFolder, const std::string& outputFolder,
                                         const std::vector<std::string>& outputList, int clipIndex,
                                         const DvdDiscSettings& settings, const std::string& authorInto = {});

} // namespace quilo
