#include "dvd/authoring/dvd_authoring.h"

#include "authoring.h"
#include "conversion/engine_log.h"
#include "conversion/partial_outputs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quilo {

DvdAuthoring::DvdAuthoring(std::string libraryFolder, std::string dataFolder)
    : libraryFolder_(std::move(libraryFolder)), dataFolder_(std::move(dataFolder)) {}

int DvdAuthoring::AuthorDvd(const std::string& outputFolder, const std::vector<std::string>& outputs,
                            int clipCount, const DvdDiscSettings& settings) {
    // Authored under a temporary name: a killed or failed run leaves no DVD
    // folder that looks finished, and the next run removes what it left.
    PartialOutputs partial(outputFolder);
    std::string ignoredReason;
    const std::string workFolder = partial.TemporaryPath(outputFolder + "DVD_DISC", ignoredReason);
    // The job's clip index ends one past its last clip.
    const AuthorControlFile control =
        WriteAuthorControlFile(dataFolder_, outputFolder, outputs, clipCount, settings, workFolder);
    dvdFolder_ = control.dvdFolder;
    if (control.result != AuthorDone)
        return control.result;

    SharedLibrary library;
    std::error_code error;
    if (!library.load(libraryFolder_ + AuthoringLibraryName) ||
        !library.missing({"setreg", "getVOBsMB", "author_main", "authoring_set_log_callback"}).empty()) {
        std::filesystem::remove(control.path, error);
        return AuthorLibraryUnusable;
    }
    const auto setreg = library.function<decltype(&::setreg)>("setreg");
    const auto getVOBsMB = library.function<decltype(&::getVOBsMB)>("getVOBsMB");
    const auto authorMain = library.function<decltype(&::author_main)>("author_main");
    const auto setLog =
        library.function<decltype(&::authoring_set_log_callback)>("authoring_set_log_callback");

    // The tool's report goes to the engine log, where a failure can be read afterwards.
    OpenEngineLog(dataFolder_);
    setLog(EngineLogCallback);
    setreg(20051124);
    totalMegabytes_ = control.totalMegabytes;
    {
        std::lock_guard lock(progressLock_);
        written_ = getVOBsMB();
    }
    const int authored = std::filesystem::exists(control.path, error) ? authorMain(control.path.c_str()) : -1;
    {
        // The counter lives in the library: nobody may read it once it is unloaded.
        std::lock_guard lock(progressLock_);
        written_ = nullptr;
    }
    setLog(nullptr);
    CloseEngineLog();
    library.unload();

    std::filesystem::remove(control.path, error);
    std::string renameError;
    if (authored != 0 || (!workFolder.empty() && !partial.Keep(workFolder, dvdFolder_, renameError)))
        return AuthorFailed; // keep the converted files: they are the user's work
    for (const auto& output : outputs)
        std::filesystem::remove(output, error);
    return AuthorDone;
}

int DvdAuthoring::ProgressPercent() const {
    std::lock_guard lock(progressLock_);
    const long total = totalMegabytes_.load();
    if (!written_ || total <= 0)
        return 0;
    const long done = std::atomic_ref<int>(*written_).load();
    return static_cast<int>(std::clamp(done * 100 / total, 0L, 100L));
}

} // namespace quilo
