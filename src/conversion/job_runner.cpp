#include "conversion/job_runner.h"

#include "conversion/engine_log.h"
#include "conversion/psp_upload.h"
#include "tranzel.h"

namespace quilo {
namespace {

constexpr auto TickInterval = std::chrono::milliseconds(500);
constexpr int TicksPerBurnStep = 2; // the burn animation moves once a second

JobResult jobResultOfAuthoring(int authored) {
    switch (authored) {
    case AuthorDone:
        return JobResult::Finished;
    case AuthorMissingFile:
        return JobResult::Stopped;
    case AuthorLibraryUnusable:
        return JobResult::EngineUnusable;
    default:
        return JobResult::Failed;
    }
}

JobResult jobResultOfBurn(int burned) {
    switch (burned) {
    case BurnResult::Burned:
        return JobResult::Finished;
    case BurnResult::FolderMissing:
        return JobResult::BurnFolderMissing;
    case BurnResult::Failed:
        return JobResult::BurnFailed;
    default:
        return JobResult::BurnNotStarted;
    }
}

// The clips of the list with their lengths, the links to come, and the DVD
// steps that follow the clips.
JobEstimate estimateOf(const JobInputs& inputs) {
    std::vector<int> segments;
    for (const TVideoInfo* clip : inputs.clips)
        segments.push_back(ClipSegmentSeconds(*clip));
    const TargetTypeId target = inputs.settings.target;
    return JobEstimate(segments, inputs.feed ? inputs.feed->ClipsToCome() : 0,
                       {authorsDvd(target), target == Target::DVD_Disc});
}

} // namespace

// What the burn step asks of the progress window: its animation and status line.
class JobRunner::BurnWindow : public BurnStepWindow {
public:
    explicit BurnWindow(JobRunner& runner) : runner_(runner) {}
    void StartBurnTimer() override {
        {
            std::lock_guard lock(runner_.lock_);
            runner_.animation_.Reset();
            runner_.burning_ = true;
        }
        runner_.observer_.StageStarted(JobStage::Burn);
    }
    void StopBurnTimer() override {
        std::lock_guard lock(runner_.lock_);
        runner_.burning_ = false;
    }
    void SetCurrentFileLabel(const std::string& text) override { runner_.observer_.StatusText(text); }

private:
    JobRunner& runner_;
};

JobRunner::JobRunner(JobInputs inputs, UserLog& log, JobObserver& observer)
    : observer_(observer),
      log_(log), enginePort_{&JobRunner::engineNotice, this}, burnerPort_{&JobRunner::burnerNotice, this},
      conversion_(std::move(inputs), log, this, &enginePort_,
                  [this] {
                      std::lock_guard lock(lock_);
                      clipConverting_ = true;
                      changed_.notify_all();
                  }),
      estimate_(estimateOf(conversion_.inputs())),
      authoring_(conversion_.inputs().libraryFolder, conversion_.inputs().dataFolder) {}

JobRunner::~JobRunner() {
    // An ended job's feed may be gone already.
    if (!ended())
        conversion_.RequestStop();
    join();
}

void JobRunner::SetBurnStep(BurnerControl& burner, Prompter& prompter) {
    burner_ = &burner;
    burnPrompter_ = &prompter;
}

void JobRunner::Start() {
    started_ = std::chrono::steady_clock::now();
    worker_ = std::thread([this] { work(); });
    ticker_ = std::thread([this] { tickUntilEnded(); });
}

void JobRunner::work() {
    JobResult result = conversion_.Run();
    std::string reason = conversion_.failureReason();
    const TargetTypeId target = settings().target;
    const bool dvd = authorsDvd(target);
    const ClipFeed* feed = conversion_.inputs().feed;
    if (dvd && result == JobResult::Finished && !conversion_.stopRequested()) {
        if (feed && !feed->Complete()) {
            result = JobResult::Failed;
            reason = "The DVD was not authored because some of its links could not be downloaded; the "
                     "converted clips are in " +
                     settings().outputFolder;
        } else if (conversion_.unsupported().empty()) {
            result = authorAndBurn();
            if (result == JobResult::EngineUnusable)
                reason = authoring_.libraryError();
        } else if (!conversion_.inputs().clips.empty()) {
            // A DVD that lacks some of its titles is not the DVD asked for.
            result = JobResult::Failed;
            reason = "The DVD was not authored because " + std::to_string(conversion_.unsupported().size()) +
                     " of its clips could not be converted; the converted clips are in " +
                     settings().outputFolder;
        }
    }
    {
        std::lock_guard lock(lock_);
        result_ = result;
        failureReason_ = reason;
    }
    if (result == JobResult::Finished) {
        std::lock_guard lock(estimateLock_);
        estimate_.Finished();
    }
    observer_.JobProgressed(totals());
    observer_.JobEnded(result);
    {
        std::lock_guard lock(lock_);
        ended_ = true;
    }
    changed_.notify_all();
}

JobResult JobRunner::authorAndBurn() {
    observer_.StageStarted(JobStage::Author);
    const DvdChoices& dvd = settings().dvd;
    const int authored = authoring_.AuthorDvd(settings().outputFolder, conversion_.outputs(),
                                              static_cast<int>(conversion_.inputs().clips.size()),
                                              {dvd.pal, dvd.fourThree, dvd.widescreen});
    if (authored == AuthorDone)
        dvdFolder_ = authoring_.dvdFolder();
    if (authored != AuthorDone || settings().target != Target::DVD_Disc)
        return jobResultOfAuthoring(authored);
    // A disc job without a drive made its folder but no disc: that is no success.
    if (!burner_)
        return JobResult::Failed;
    BurnWindow window(*this);
    return jobResultOfBurn(RunBurnStep(*burner_, dvdFolder_, *burnPrompter_, window));
}

void JobRunner::tickUntilEnded() {
    std::unique_lock lock(lock_);
    for (int tick = 1;; ++tick) {
        changed_.wait_for(lock, TickInterval, [this] { return ended_ || clipConverting_; });
        if (ended_)
            return;
        // Like the window's timer, started anew for each clip: its first
        // progress comes a full interval after the engine began.
        if (clipConverting_) {
            clipConverting_ = false;
            tick = 0;
            continue;
        }
        const bool burnStep = burning_ && tick % TicksPerBurnStep == 0;
        const std::string animation = burnStep ? animation_.Tick() : std::string();
        lock.unlock();
        if (conversion_.engineLoaded()) {
            const JobProgress progress = conversion_.Tick();
            {
                std::lock_guard estimate(estimateLock_);
                estimate_.ClipProgress(progress.clip, progress.doneSeconds);
            }
            observer_.ConversionProgress(progress);
        } else if (authoring_.running()) {
            stepPercent(JobStage::Author, authoring_.ProgressPercent());
        }
        if (burnStep)
            observer_.StatusText(animation);
        observer_.JobProgressed(totals());
        lock.lock();
    }
}

bool JobRunner::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, timeout, [this] { return ended_; });
}

bool JobRunner::ended() const {
    std::lock_guard lock(lock_);
    return ended_;
}

void JobRunner::join() {
    if (worker_.joinable())
        worker_.join();
    if (ticker_.joinable())
        ticker_.join();
}

void JobRunner::RequestStop() {
    conversion_.RequestStop();
}

StopOutcome JobRunner::StopClicked(Prompter& prompter) {
    bool burning = false;
    {
        std::lock_guard lock(lock_);
        if (ended_ || !worker_.joinable())
            return StopOutcome::CloseWindow;
        burning = burning_;
    }
    if (burning) {
        ExplainBurnCannotStop(prompter);
        return StopOutcome::GoOn;
    }
    // Between clips or while authoring nothing can be asked of the engine: the
    // job ends at the next point that can stop.
    if (!conversion_.engineLoaded()) {
        conversion_.RequestStop();
        return StopOutcome::Stopping;
    }
    if (prompter.ask(PromptKind::Confirmation, "Do you want to stop the process?", PromptButtons::YesNo) !=
        PromptAnswer::Yes)
        return StopOutcome::GoOn;
    conversion_.RequestStop();
    return StopOutcome::Stopping;
}

JobResult JobRunner::result() const {
    std::lock_guard lock(lock_);
    return result_;
}

std::string JobRunner::failureReason() const {
    std::lock_guard lock(lock_);
    return failureReason_;
}

JobEndAction JobRunner::Finish(const JobEndChoices& choices, Prompter& prompter, DesktopServices& desktop) {
    join();
    ReportUnsupportedClips(conversion_.unsupported(), EngineLogPath(conversion_.inputs().dataFolder),
                           prompter);
    // A disc job whose burn did not happen says where its DVD folder is.
    const std::string keptFolder = settings().target == Target::DVD_Disc ? dvdFolder_ : std::string();
    return FinishJob(result(), settings().target, choices, conversion_.outputs(), settings().outputFolder,
                     prompter, desktop, log_, conversion_.progress(), keptFolder, failureReason());
}

bool JobRunner::UploadToPsp(Prompter& prompter, const std::vector<std::string>& volumeRoots) {
    observer_.StageStarted(JobStage::Upload);
    UploadProgress progress;
    progress.status = [this](const std::string& line) { observer_.StatusText(line); };
    progress.percent = [this](int percent) { observer_.StagePercent(JobStage::Upload, percent); };
    return quilo::UploadToPsp(conversion_.inputs().clips, settings().outputFolder, volumeRoots,
                              conversion_.inputs().options, prompter, progress);
}

void JobRunner::StageStarted(JobStage stage) {
    observer_.StageStarted(stage);
}

void JobRunner::ClipStarted(const JobProgress& progress) {
    {
        std::lock_guard lock(estimateLock_);
        // A clip from the feed: its length is known from now on.
        if (progress.clip >= estimate_.clipCount())
            estimate_.ClipArrived(progress.segmentSeconds);
        // Read here, on the worker: the feed goes with the job.
        if (const ClipFeed* feed = conversion_.inputs().feed)
            estimate_.SetClipsToCome(feed->ClipsToCome());
    }
    observer_.ClipStarted(progress);
}

void JobRunner::ClipEnded(int clip, EngineResult result) {
    {
        std::lock_guard lock(estimateLock_);
        estimate_.ClipEnded(clip);
    }
    observer_.ClipEnded(clip, result);
    // A clip shorter than a tick still moves the job on.
    observer_.JobProgressed(totals());
}

void JobRunner::stepPercent(JobStage stage, int percent) {
    {
        std::lock_guard lock(estimateLock_);
        estimate_.StepPercent(stage, percent);
    }
    observer_.StagePercent(stage, percent);
}

JobTotals JobRunner::totals() {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started_;
    std::lock_guard lock(estimateLock_);
    return estimate_.Totals(elapsed.count());
}

void JobRunner::engineNotice(void* context, unsigned message, long, long) {
    if (message == TZ_MSG_GRABBER_READY)
        static_cast<JobRunner*>(context)->observer_.StopPossible();
}

void JobRunner::burnerNotice(void* context, unsigned message, long wParam, long lParam) {
    if (message == WM_BURNER_NOTIFY && wParam == BurnerProgress)
        static_cast<JobRunner*>(context)->stepPercent(JobStage::Burn, static_cast<int>(lParam));
}

} // namespace quilo
