// quilo-convert: the converter without windows. It loads the files as the
// windowed program does, restores the last used settings, and converts every
// clip with the target's settings.
#include "cli/cli_arguments.h"
#include "cli/console_links.h"
#include "cli/console_prompter.h"
#include "conversion/converter_session.h"
#include "conversion/engine_log.h"
#include "conversion/job_runner.h"
#include "downloader/add_link.h"
#include "platform/library_loader.h"
#include "shell/application_folders.h"
#include "shell/product_identity.h"
#include "shell/text_format.h"

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <unistd.h>

namespace {

using namespace quilo;

constexpr int ExitConverted = 0, ExitSomeFailed = 1, ExitUnusable = 2, ExitUsage = 64;

std::atomic<bool> interrupted{false};

void onInterrupt(int) {
    interrupted = true;
}

void catchInterrupts() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int fail(const std::string& message, int code) {
    std::cerr << "quilo-convert: " << message << "\n";
    return code;
}

// Nothing to ask on a console: both rates are plausible, let the clip decide.
class ConsoleNotices : public ClipListNotices {
public:
    void ShowMultiAudioNotice() override {}
    bool ConfirmSwitchToLocal() override { return true; }
};

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// Progress on the error stream: one line kept up to date on a terminal, a
// line every tenth of the clip otherwise.
class ProgressPrinter : public JobObserver {
public:
    explicit ProgressPrinter(bool terminal) : terminal_(terminal) {}

    void StageStarted(JobStage stage) override {
        if (stage == JobStage::Author)
            std::cerr << "quilo-convert: authoring the DVD folder\n";
        else if (stage == JobStage::Burn)
            std::cerr << "quilo-convert: burning the DVD\n";
    }
    void StagePercent(JobStage stage, int percent) override {
        if (stage == JobStage::Author)
            authoring(percent);
        else if (stage == JobStage::Burn)
            burning(percent);
    }
    void ClipStarted(const JobProgress& progress) override {
        std::lock_guard lock(lock_);
        endLine();
        header_ = "[" + std::to_string(progress.clip + 1) + "/" + std::to_string(progress.clipCount) + "] " +
                  progress.clipName;
        lastTenth_ = -1;
        std::cerr << header_ << " -> " << progress.destinationName << " (" << progress.length << ")\n";
    }
    void ConversionProgress(const JobProgress& progress) override {
        std::lock_guard lock(lock_);
        const std::string line = "  " + std::to_string(progress.percent) + "%  fps " + progress.fps +
                                 "  remaining " + progress.remainingTime;
        if (terminal_) {
            std::cerr << "\r" << line << "\x1b[K" << std::flush;
            open_ = true;
        } else if (progress.percent / 10 != lastTenth_) {
            lastTenth_ = progress.percent / 10;
            std::cerr << line << "\n";
        }
    }
    void authoring(int percent) {
        std::lock_guard lock(lock_);
        if (terminal_) {
            std::cerr << "\r  authoring " << percent << "%\x1b[K" << std::flush;
            open_ = true;
        } else if (percent / 10 != lastTenth_) {
            lastTenth_ = percent / 10;
            std::cerr << "  authoring " << percent << "%\n";
        }
    }
    void burning(int percent) {
        std::lock_guard lock(lock_);
        if (terminal_) {
            std::cerr << "\r  burning " << percent << "%\x1b[K" << std::flush;
            open_ = true;
        } else if (percent / 10 != lastTenth_) {
            lastTenth_ = percent / 10;
            std::cerr << "  burning " << percent << "%\n";
        }
    }
    void ClipEnded(int, EngineResult result) override {
        std::lock_guard lock(lock_);
        endLine();
        // A failure says why in one line, in the engine's words.
        const std::string reason = LastEngineFailure();
        std::cerr << "  "
                  << (result == EngineResult::Converted ? (interrupted ? "stopped" : "done")
                      : result == EngineResult::Unusable
                          ? "engine unusable"
                          : "failed: " + (reason.empty() ? "no reason given" : reason) +
                                " (details in tamberlog.log)")
                  << "\n";
    }

private:
    void endLine() {
        if (open_)
            std::cerr << "\n";
        open_ = false;
    }
    bool terminal_;
    bool open_ = false;
    int lastTenth_ = -1;
    std::string header_;
    std::mutex lock_;
};

// Questions of the burn on a console: nobody can change the disc or agree to
// erase it, so every question is declined and the burn does not start.
class DecliningPrompter : public Prompter {
public:
    explicit DecliningPrompter(Prompter& shown) : shown_(shown) {}
    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override {
        shown_.ask(kind, text, PromptButtons::Ok);
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
    }

private:
    Prompter& shown_;
};

class NoDesktop : public DesktopServices {
public:
    bool openDocument(const std::string&) override { return false; }
    bool showInFileManager(const std::string&) override { return false; }
    int sendMail(const MailMessage&) override { return 0; }
    bool notify(const std::string&, const std::string&) override { return false; }
    bool powerOff() override { return false; }
};

// What the burner settings dialog does before a disc job: find the drive, check
// its disc, and keep the fastest speed. False (after saying why) when the disc
// cannot be written.
bool PrepareBurner(BurnerControl& burner, const std::string& programFolder, const std::string& address,
                   const QuiloWindowPort* window, Prompter& prompter) {
    if (!CDevice::LoadDiscLibrary(programFolder)) {
        std::cerr << "quilo-convert: the disc library " << programFolder << DiscLibraryName
                  << " cannot be loaded\n";
        return false;
    }
    if (address.rfind("/dev/sr", 0) != 0)
        CDevice::SetPseudoDrives({address});
    burner.InitBurner(window);
    burner.ScanBurners(true, true);
    int index = -1;
    const auto& drives = CDevice::Devices();
    for (size_t i = 0; i < drives.size(); ++i)
        if (drives[i].GetDeviceName() == address)
            index = static_cast<int>(i);
    switch (burner.SelectBurner(index)) {
    case BurnerUsable:
        burner.LockBurner();
        burner.SetWriteSpeed(static_cast<int>(burner.speeds().size()) - 1);
        burner.SetVolumeLabel(DefaultVolumeLabel);
        return true;
    case BurnerMissing:
        prompter.warn(
            "Cannot find your burner, cannot create DVD disc.\nPlease seletct a writable DVD driver "
            "and try again!");
        return false;
    case BurnerNeedsErase:
        std::cerr << "quilo-convert: the disc in " << address << " must be erased before burning\n";
        return false;
    default:
        std::cerr << "quilo-convert: the disc in " << address << " (" << burner.GetDiscTypeName()
                  << ") is not writable\n";
        return false;
    }
}

int listTargets() {
    for (TargetTypeId id = 0; id < TargetCount; ++id)
        std::cout << targetIdentifier(id) << "\n";
    return ExitConverted;
}

int run(const CliArguments& arguments) {
    const std::string& drive = arguments.drive;
    if (arguments.action == CliArguments::Action::Help) {
        std::cout << CliUsage;
        return ExitConverted;
    }
    if (arguments.action == CliArguments::Action::ListTargets)
        return listTargets();

    const std::string programFolder = SharedLibrary::programFolder();
    ProductIdentity identity;
    if (!LoadProductIdentity(programFolder + ProductIdentityFileName, identity))
        return fail("the installation is damaged (" + programFolder + ProductIdentityFileName +
                        "); please re-install the converter",
                    ExitUnusable);
    const std::string dataFolder = EnsureDataFolder(programFolder, identity.displayProductName);

    ConsolePrompter prompter(std::cerr);
    FrameRateChoice chooser([](FrameRateChoice& choice) { choice.SetCalculate(true); });
    ConsoleNotices notices;
    ConverterSession session({programFolder, dataFolder, prompter, chooser, &notices});
    OutputPanelModel& panel = session.panel();
    if (!session.userLog().lastConversionFinished())
        std::cerr
            << "quilo-convert: the previous conversion did not end normally; its logs are UserLog.log and "
               "tamberlog.log in "
            << dataFolder << "\n";

    panel.RestorePanel();
    if (arguments.target) {
        const TargetTypeId target = *targetByIdentifier(*arguments.target);
        if (panel.currentTarget() != target)
            panel.SelectTargetAsClicked(target);
    }
    if (!panel.definitions())
        return fail("the profile definitions " + programFolder + "PfDef.dll cannot be read", ExitUnusable);

    const MainWindowProfileList& profiles = panel.savedProfileList();
    if (arguments.action == CliArguments::Action::ListProfiles) {
        for (const SavedProfileEntry& entry : profiles.entries)
            std::cout << entry.name << "\n";
        return ExitConverted;
    }
    if (!arguments.profile.empty()) {
        int found = -1;
        for (size_t i = 0; i < profiles.entries.size(); ++i)
            if (profiles.entries[i].name == arguments.profile)
                found = static_cast<int>(i);
        if (found < 0)
            return fail("no saved profile \"" + arguments.profile + "\" for " +
                            targetIdentifier(panel.currentTarget()) + " (see --list-profiles)",
                        ExitUsage);
        panel.ChangeSavedProfile(found);
    }

    std::vector<std::string> files;
    std::vector<std::string> links;
    for (const auto& file : arguments.files) {
        if (IsWebPageAddress(file))
            links.push_back(file);
        else
            files.push_back(absolutePath(file));
    }
    const size_t asked = files.size() + links.size();
    session.loader().AddLocalFiles(std::move(files));
    catchInterrupts();
    ConsoleLinks consoleLinks(session, programFolder, prompter, std::cerr, interrupted);
    const std::vector<TVideoInfo*> linkClips =
        links.empty() ? std::vector<TVideoInfo*>{} : consoleLinks.Fetch(links);
    if (interrupted)
        return fail("stopped", ExitSomeFailed);
    const int localClips = session.clips().Count();
    const int loaded = localClips + static_cast<int>(linkClips.size());
    if (loaded == 0)
        return fail(consoleLinks.stopped() ? "stopped" : "none of the files can be converted",
                    ExitSomeFailed);

    // Like the start button: the settings of this job become the last used ones.
    panel.SavePanel();
    JobInputs inputs = session.MakeJobInputs(arguments.outputFolder);
    inputs.clips.insert(inputs.clips.end(), linkClips.begin(), linkClips.end());
    const int count = static_cast<int>(inputs.clips.size());
    std::cerr << "quilo-convert: " << count << " clip(s) to " << targetIdentifier(panel.currentTarget())
              << " in " << inputs.settings.outputFolder << "\n";
    const TargetTypeId target = panel.currentTarget();
    const bool dvdTarget = target == Target::DVD_Folder || target == Target::DVD_Disc;
    if (!drive.empty() && target != Target::DVD_Disc)
        return fail("--drive is only for /DVD_Disc", ExitUsage);
    ProgressPrinter printer(isatty(STDERR_FILENO) != 0);
    JobRunner runner(std::move(inputs), session.userLog(), printer);
    BurnerControl burner;
    DecliningPrompter burnPrompter(prompter);
    if (!drive.empty()) {
        if (!PrepareBurner(burner, programFolder, drive, runner.burnerNotices(), burnPrompter))
            return ExitSomeFailed;
        runner.SetBurnStep(burner, burnPrompter);
    }

    runner.Start();
    // Ctrl-C is noticed between short waits and becomes the job's stop.
    while (!runner.WaitFor(std::chrono::milliseconds(50)))
        if (interrupted && !runner.conversion().stopRequested())
            runner.RequestStop();
    const JobResult jobResult = runner.result();
    const ConversionJob& job = runner.conversion();
    const std::vector<EngineResult>& results = job.clipResults();
    const bool linksConverted =
        links.empty() || consoleLinks.Finish(std::vector<EngineResult>(
                             results.begin() + std::min<size_t>(localClips, results.size()), results.end()));

    if (target == Target::DVD_Disc && drive.empty() && !runner.dvdFolder().empty())
        std::cerr << "quilo-convert: writing to a disc is not available in this version; the DVD folder is "
                  << runner.dvdFolder() << "\n";
    if (jobResult == JobResult::EngineUnusable)
        return fail(dvdTarget && job.lastEngineError().empty()
                        ? "the authoring library " + programFolder + AuthoringLibraryName +
                              " cannot be loaded"
                        : "the conversion engine cannot be loaded: " + job.lastEngineError(),
                    ExitUnusable);
    if (jobResult == JobResult::BurnNotStarted || jobResult == JobResult::BurnFolderMissing ||
        jobResult == JobResult::BurnFailed) {
        NoDesktop desktop;
        runner.Finish({}, prompter, desktop);
        burner.UninitBurner();
        return ExitSomeFailed;
    }
    if (dvdTarget) {
        burner.UninitBurner();
        if (jobResult != JobResult::Finished)
            return fail(jobResult == JobResult::Stopped
                            ? "stopped; no DVD folder was made"
                            : "the DVD folder could not be made; see tamberlog.log in " + dataFolder,
                        ExitSomeFailed);
        std::cout << WithTrailingSlash(runner.dvdFolder()) << "\n";
        return loaded == static_cast<int>(asked) && linksConverted ? ExitConverted : ExitSomeFailed;
    }
    bool allConverted = !job.stopRequested() && loaded == static_cast<int>(asked) && linksConverted;
    for (int i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i);
        if (at < results.size() && results[at] == EngineResult::Converted && at < job.outputs().size())
            std::cout << job.outputs()[at] << "\n";
        else
            allConverted = false;
    }
    if (jobResult != JobResult::Finished && jobResult != JobResult::Stopped)
        allConverted = false;
    return allConverted ? ExitConverted : ExitSomeFailed;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string error;
    const auto arguments = quilo::ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!arguments) {
        std::cerr << "quilo-convert: " << error << "\n" << quilo::CliUsage;
        return ExitUsage;
    }
    return run(*arguments);
}
