// The one way a job runs, for the windowed program and the command line
// alike: the clips converted on a worker thread with a 500 ms progress tick,
// then for the DVD targets the authoring and, for a disc, the burn to the
// drive chosen beforehand. What happens is told to a JobObserver; the end of
// the job (its message, the end action, the PSP upload) runs on the caller's
// thread once the observer has heard JobEnded.
#pragma once

#include "conversion/conversion_job.h"
#include "conversion/job_end.h"
#include "conversion/job_estimate.h"
#include "dvd/authoring/dvd_authoring.h"
#include "dvd/burning/burn_step.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quilo {

// The Stop button: nothing runs any more (close), a stop is under way, or the
// job goes on (the user said no, or a burn cannot be cancelled).
enum class StopOutcome { CloseWindow, Stopping, GoOn };

// The runner hears the conversion stage first: it keeps the whole job's
// estimate and passes everything on to the job's observer.
class JobRunner : private JobObserver {
public:
    JobRunner(JobInputs inputs, UserLog& log, JobObserver& observer);
    // Stops a job still running and waits for it.
    ~JobRunner() override;
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // A DVD disc job burns the authored folder to the burner's selected drive;
    // the burn's questions reach `prompter` from the job's worker thread.
    // Without a burn step a disc job ends failed after the authoring.
    void SetBurnStep(BurnerControl& burner, Prompter& prompter);
    // The notify window to give the burner, so that the burn's percent reaches
    // the observer.
    const QuiloWindowPort* burnerNotices() const { return &burnerPort_; }

    void Start();
    // True once the job has ended (its observer has heard JobEnded).
    bool WaitFor(std::chrono::milliseconds timeout);
    bool ended() const;

    void RequestStop();
    StopOutcome StopClicked(Prompter& prompter);

    // After the end, on the caller's thread.
    JobResult result() const;
    // Why the job as a whole failed, in one line; empty when it did not or
    // when only some of its clips did (those are in conversion().unsupported()).
    std::string failureReason() const;
    // The list of unsupported clips, the result's message and the end action.
    JobEndAction Finish(const JobEndChoices& choices, Prompter& prompter, DesktopServices& desktop);
    // Copies the job's outputs to a PSP on one of `volumeRoots`; false when none is found.
    bool UploadToPsp(Prompter& prompter, const std::vector<std::string>& volumeRoots);

    const JobSettings& settings() const { return conversion_.inputs().settings; }
    const ConversionJob& conversion() const { return conversion_; }
    // The authored DVD folder; empty until an authoring wrote one.
    const std::string& dvdFolder() const { return dvdFolder_; }

private:
    class BurnWindow;
    // JobObserver, from the conversion stage on the worker thread.
    void StageStarted(JobStage stage) override;
    void ClipStarted(const JobProgress& progress) override;
    void ClipEnded(int clip, EngineResult result) override;

    void stepPercent(JobStage stage, int percent);
    JobTotals totals();
    void work();
    void tickUntilEnded();
    JobResult authorAndBurn();
    void join();
    static void engineNotice(void* context, unsigned message, long wParam, long lParam);
    static void burnerNotice(void* context, unsigned message, long wParam, long lParam);

    JobObserver& observer_;
    UserLog& log_;
    const QuiloWindowPort enginePort_;
    const QuiloWindowPort burnerPort_;
    ConversionJob conversion_;
    mutable std::mutex estimateLock_; // the worker, the tick and the burner's notices
    JobEstimate estimate_;
    std::chrono::steady_clock::time_point started_;
    DvdAuthoring authoring_;
    std::string dvdFolder_;
    BurnerControl* burner_ = nullptr;
    Prompter* burnPrompter_ = nullptr;

    mutable std::mutex lock_;
    std::condition_variable changed_;
    bool ended_ = false;
    bool clipConverting_ = false; // a clip's conversion call began: the tick starts over
    JobResult result_ = JobResult::Finished;
    std::string failureReason_;
    bool burning_ = false;
    BurnAnimation animation_;

    std::thread worker_;
    std::thread ticker_;
};

} // namespace quilo
