#include "dvd/authoring/dvd_authoring.h"

#include "conversion/engine_log.h"
#include "conversion/partial_outputs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quilo {

std::vector<LibraryName> AuthoringApi::Names(AuthoringApi& api) {
    return {BindName("setreg", api.setreg), BindName("getVOBsMB", api.getVOBsMB),
            BindName("author_main", api.author_main),
            BindName("authoring_set_log_callback", api.authoring_set_log_callback)};
}

LibraryVersion AuthoringApi::Version() {
    return NumberedVersion("authoring_version", AUTHORING_ABI_VERSION);
}

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

    std::error_code error;
    RuntimeLibrary<AuthoringApi> library;
    libraryError_.clear();
    if (!library.Load(libraryFolder_ + AuthoringLibraryName)) {
        libraryError_ = library.error();
        // Told where the tool's report would have been.
        OpenEngineLog(dataFolder_);
        EngineLogCallback((libraryError_ + "\n").c_str());
        CloseEngineLog();
        std::filesystem::remove(control.path, error);
        return AuthorLibraryUnusable;
    }
    const AuthoringApi& api = library.api();

    // The tool's report goes to the engine log, where a failure can be read afterwards.
    OpenEngineLog(dataFolder_);
    api.authoring_set_log_callback(EngineLogCallback);
    api.setreg(20051124);
    totalMegabytes_ = control.totalMegabytes;
    {
        std::lock_guard lock(progressLock_);
        written_ = api.getVOBsMB();
    }
    const int authored =
        std::filesystem::exists(control.path, error) ? api.author_main(control.path.c_str()) : -1;
    {
        // The counter lives in the library: nobody may read it once it is unloaded.
        std::lock_guard lock(progressLock_);
        written_ = nullptr;
    }
    api.authoring_set_log_callback(nullptr);
    CloseEngineLog();
    library.Unload();

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
