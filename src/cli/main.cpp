// quilo-convert: the converter without windows. It loads the files as the
// windowed program does, restores the last used settings, and converts every
// clip with the target's settings.
#include "cli/cli_arguments.h"
#include "cli/console_prompter.h"
#include "conversion/converter_session.h"
#include "dvd/dvd_authoring.h"
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
#include <thread>
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
class ProgressPrinter {
public:
    explicit ProgressPrinter(bool terminal) : terminal_(terminal) {}

    void clipStarted(int index, int count, const JobProgress& progress) {
        std::lock_guard lock(lock_);
        endLine();
        header_ = "[" + std::to_string(index + 1) + "/" + std::to_string(count) + "] " + progress.clipName;
        lastTenth_ = -1;
        std::cerr << header_ << " -> " << progress.destinationName << " (" << progress.length << ")\n";
    }
    void tick(const JobProgress& progress) {
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
    void clipEnded(const std::string& outcome) {
        std::lock_guard lock(lock_);
        endLine();
        std::cerr << "  " << outcome << "\n";
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

int listTargets() {
    for (TargetTypeId id = 0; id < TargetCount; ++id)
        std::cout << targetIdentifier(id) << "\n";
    return ExitConverted;
}

int run(const CliArguments& arguments) {
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
    for (const auto& file : arguments.files)
        files.push_back(absolutePath(file));
    const size_t asked = files.size();
    session.loader().AddLocalFiles(std::move(files));
    const int loaded = session.clips().Count();
    if (loaded == 0)
        return fail("none of the files can be converted", ExitSomeFailed);

    // Like the start button: the settings of this job become the last used ones.
    panel.SavePanel();
    JobInputs inputs = session.MakeJobInputs(arguments.outputFolder);
    const int count = static_cast<int>(inputs.clips.size());
    std::cerr << "quilo-convert: " << count << " clip(s) to " << targetIdentifier(panel.currentTarget())
              << " in " << inputs.setup.outputFolder << "\n";
    const std::string jobFolder = inputs.setup.outputFolder;
    const TargetTypeId target = panel.currentTarget();
    const bool dvdTarget = target == Target::DVD_Folder || target == Target::DVD_Disc;
    ConversionJob job(std::move(inputs), session.userLog());
    DvdAuthoring authoring(programFolder, dataFolder);
    job.dvdStep = [&] {
        std::cerr << "quilo-convert: authoring the DVD folder\n";
        const int authored =
            authoring.AuthorDvd(jobFolder, job.outputs(), count, DvdSettingsOf(panel.controls()));
        if (authored == AuthorDone && target == Target::DVD_Disc) {
            std::cerr
                << "quilo-convert: writing to a disc is not available in this version; the DVD folder is "
                << authoring.dvdFolder() << "\n";
            return JobResult::Failed;
        }
        return authored;
    };
    ProgressPrinter printer(isatty(STDERR_FILENO) != 0);
    std::vector<int> results(static_cast<size_t>(count), JobResult::Failed);
    job.onClipStart = [&](const JobProgress& progress) {
        printer.clipStarted(static_cast<int>(job.outputs().size()) - 1, count, progress);
    };
    job.onClipEnd = [&](int index, int result) {
        results[static_cast<size_t>(index)] = result;
        printer.clipEnded(result == 0                           ? (job.stopRequested() ? "stopped" : "done")
                          : result == JobResult::EngineUnusable ? "engine unusable"
                                                                : "failed");
    };

    catchInterrupts();
    int jobResult = JobResult::Failed;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        jobResult = job.Run();
        finished = true;
    });
    // The progress timer: every 500 ms, watching for Ctrl-C in between.
    for (int waited = 0; !finished; waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (interrupted && !job.stopRequested())
            job.RequestStop();
        if (waited % 500 == 0 && job.engineLoaded())
            printer.tick(job.Tick());
        else if (waited % 500 == 0 && authoring.running())
            printer.authoring(authoring.ProgressPercent());
    }
    worker.join();

    if (jobResult == JobResult::EngineUnusable)
        return fail(dvdTarget && job.lastEngineError().empty()
                        ? "the authoring library " + programFolder + AuthoringLibraryName +
                              " cannot be loaded"
                        : "the conversion engine cannot be loaded: " + job.lastEngineError(),
                    ExitUnusable);
    if (dvdTarget) {
        if (jobResult != JobResult::Finished)
            return fail(jobResult == JobResult::Stopped
                            ? "stopped; no DVD folder was made"
                            : "the DVD folder could not be made; see tamberlog.log in " + dataFolder,
                        ExitSomeFailed);
        std::cout << WithTrailingSlash(authoring.dvdFolder()) << "\n";
        return loaded == static_cast<int>(asked) ? ExitConverted : ExitSomeFailed;
    }
    bool allConverted = !job.stopRequested() && loaded == static_cast<int>(asked);
    for (int i = 0; i < count; ++i) {
        if (results[static_cast<size_t>(i)] == 0 && i < static_cast<int>(job.outputs().size()))
            std::cout << job.outputs()[static_cast<size_t>(i)] << "\n";
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
