// quilo-convert: the converter without windows. It loads the files as the
// windowed program does, restores the last used settings, and converts every
// clip with the target's settings.
#include "cli/cli_arguments.h"
#include "cli/console_links.h"
#include "cli/console_prompter.h"
#include "conversion/converter_session.h"
#include "conversion/engine_api.h"
#include "conversion/engine_log.h"
#include "conversion/job_runner.h"
#include "downloader/add_link.h"
#include "platform/program_folders.h"
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
// line every tenth of the clip or of the whole job otherwise. Each line tells
// the running stage (the clip, the authoring, the burn) and the whole job.
class ProgressPrinter : public JobObserver {
public:
    explicit ProgressPrinter(bool terminal) : terminal_(terminal) {}

    void StageStarted(JobStage stage) override {
        if (stage != JobStage::Author && stage != JobStage::Burn)
            return;
        std::lock_guard lock(lock_);
        endLine();
        startStage();
        std::cerr << (stage == JobStage::Author ? "quilo-convert: authoring the DVD folder\n"
                                                : "quilo-convert: burning the DVD\n");
    }
    void StagePercent(JobStage stage, int percent) override {
        if (stage != JobStage::Author && stage != JobStage::Burn)
            return;
        std::lock_guard lock(lock_);
        stageLine_ = (stage == JobStage::Author ? "authoring " : "burning ") + std::to_string(percent) + "%";
        stageTenth_ = percent / 10;
        show();
    }
    void ClipStarted(const JobProgress& progress) override {
        std::lock_guard lock(lock_);
        endLine();
        startStage();
        std::cerr << "[" << progress.clip + 1 << "/" << progress.clipCount << "] " << progress.clipName
                  << " -> " << progress.destinationName << " (" << progress.length << ")\n";
    }
    // The job's figures of the same tick follow at once and print the line.
    void ConversionProgress(const JobProgress& progress) override {
        std::lock_guard lock(lock_);
        stageLine_ = std::to_string(progress.percent) + "%  fps " + progress.fps + "  remaining " +
                     progress.remainingTime;
        stageTenth_ = progress.percent / 10;
    }
    void JobProgressed(const JobTotals& totals) override {
        std::lock_guard lock(lock_);
        jobLine_ = "job " + std::to_string(totals.percent) + "%  job remaining " + totals.remainingTime;
        jobTenth_ = totals.percent / 10;
        show();
    }
    // The job whose failed clips carry their reasons; ClipEnded comes from its worker thread.
    void watch(const ConversionJob& job) { job_ = &job; }
    void ClipEnded(int, EngineResult result) override {
        std::lock_guard lock(lock_);
        endLine();
        startStage();
        // A failure says why in one line.
        const std::string reason =
            job_ && !job_->unsupported().empty() ? job_->unsupported().back().reason : LastEngineFailure();
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
    void startStage() {
        stageLine_.clear();
        stageTenth_ = printedStageTenth_ = -1;
    }
    void show() {
        const std::string line =
            "  " + stageLine_ + (stageLine_.empty() || jobLine_.empty() ? "" : "  ") + jobLine_;
        if (terminal_) {
            std::cerr << "\r" << line << "\x1b[K" << std::flush;
            open_ = true;
            return;
        }
        if (stageTenth_ == printedStageTenth_ && jobTenth_ == printedJobTenth_)
            return;
        printedStageTenth_ = stageTenth_;
        printedJobTenth_ = jobTenth_;
        std::cerr << line << "\n";
    }
    bool terminal_;
    bool open_ = false;
    std::string stageLine_, jobLine_;
    int stageTenth_ = -1, printedStageTenth_ = -1;
    int jobTenth_ = -1, printedJobTenth_ = -1;
    std::mutex lock_;
    const ConversionJob* job_ = nullptr;
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
bool PrepareBurner(BurnerControl& burner, const std::string& libraryFolder, const std::string& address,
                   const QuiloWindowPort* window, Prompter& prompter) {
    if (!CDevice::LoadDiscLibrary(libraryFolder)) {
        std::cerr << "quilo-convert: the disc library " << libraryFolder << DiscLibraryName
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

    const ProgramFolders& program = ThisProgramFolders();
    ProductIdentity identity;
    if (!LoadProductIdentity(program.files + ProductIdentityFileName, identity))
        return fail("the installation is damaged (" + program.files + ProductIdentityFileName +
                        "); please re-install the converter",
                    ExitUnusable);
    const std::string dataFolder = EnsureDataFolder(program.files, identity.displayProductName);

    ConsolePrompter prompter(std::cerr);
    FrameRateChoice chooser([](FrameRateChoice& choice) { choice.SetCalculate(true); });
    ConsoleNotices notices;
    ConverterSession session({program, dataFolder, prompter, chooser, &notices});
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
        return fail("the profile definitions " + program.files + "PfDef.dll cannot be read", ExitUnusable);

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

    // Every clip needs the engine: one that cannot be used is said once, before any file.
    EngineLibrary engine;
    if (!engine.Load(EngineLibraryPath(program.libraries)))
        return fail("the conversion engine cannot be used: " + engine.error(), ExitUnusable);
    engine.Unload();

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
    ConsoleLinks consoleLinks(session, program.libraries, prompter, std::cerr, interrupted);
    const int analysedLinks = links.empty() ? 0 : consoleLinks.Analyse(links);
    if (interrupted)
        return fail("stopped", ExitSomeFailed);
    const int localClips = session.clips().Count();
    const int loaded = localClips + analysedLinks;
    if (loaded == 0)
        return fail("none of the files can be converted", ExitSomeFailed);

    // Like the start button: the settings of this job become the last used ones.
    panel.SavePanel();
    JobInputs inputs = session.MakeJobInputs(arguments.outputFolder);
    // The links are downloaded one at a time as the job comes to them.
    if (analysedLinks > 0)
        inputs.feed = consoleLinks.Feed();
    const int count = loaded;
    std::cerr << "quilo-convert: " << count << " clip(s) to " << targetIdentifier(panel.currentTarget())
              << " in " << inputs.settings.outputFolder << "\n";
    const TargetTypeId target = panel.currentTarget();
    const bool dvdTarget = authorsDvd(target);
    if (!drive.empty() && target != Target::DVD_Disc)
        return fail("--drive is only for /DVD_Disc", ExitUsage);
    ProgressPrinter printer(isatty(STDERR_FILENO) != 0);
    JobRunner runner(std::move(inputs), session.userLog(), printer);
    printer.watch(runner.conversion());
    BurnerControl burner;
    DecliningPrompter burnPrompter(prompter);
    if (!drive.empty()) {
        if (!PrepareBurner(burner, program.libraries, drive, runner.burnerNotices(), burnPrompter))
            return ExitSomeFailed;
        runner.SetBurnStep(burner, burnPrompter);
    }

    runner.Start();
    // Ctrl-C is noticed between short waits and becomes the job's stop.
    while (!runner.WaitFor(std::chrono::milliseconds(50))) {
        if (interrupted && !runner.conversion().stopRequested())
            runner.RequestStop();
        consoleLinks.Serve();
    }
    consoleLinks.Settle();
    const JobResult jobResult = runner.result();
    const ConversionJob& job = runner.conversion();
    session.JobEnded(job);
    const std::vector<EngineResult>& results = job.clipResults();
    const bool linksConverted =
        links.empty() || consoleLinks.Finish(std::vector<EngineResult>(
                             results.begin() + std::min<size_t>(localClips, results.size()), results.end()));

    if (target == Target::DVD_Disc && drive.empty() && !runner.dvdFolder().empty())
        std::cerr << "quilo-convert: writing to a disc is not available in this version; the DVD folder is "
                  << runner.dvdFolder() << "\n";
    if (jobResult == JobResult::EngineUnusable)
        return fail(dvdTarget && job.lastEngineError().empty()
                        ? "the authoring library cannot be used: " + runner.failureReason()
                        : "the conversion engine cannot be used: " + job.lastEngineError(),
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
            return fail(jobResult == JobResult::Stopped ? "stopped; no DVD folder was made"
                        : !runner.failureReason().empty()
                            ? runner.failureReason()
                            : "the DVD folder could not be made; see tamberlog.log in " + dataFolder,
                        ExitSomeFailed);
        std::cout << WithTrailingSlash(runner.dvdFolder()) << "\n";
        return loaded == static_cast<int>(asked) && linksConverted ? ExitConverted : ExitSomeFailed;
    }
    bool allConverted = !job.stopRequested() && loaded == static_cast<int>(asked) && linksConverted;
    for (int i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i);
        // A clip stopped before its first frame made no file.
        std::error_code missing;
        if (at < results.size() && results[at] == EngineResult::Converted && at < job.outputs().size() &&
            std::filesystem::exists(job.outputs()[at], missing))
            std::cout << job.outputs()[at] << "\n";
        else
            allConverted = false;
    }
    if (jobResult != JobResult::Finished && jobResult != JobResult::Stopped)
        allConverted = false;
    if (!runner.failureReason().empty())
        return fail(runner.failureReason(), ExitSomeFailed);
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
