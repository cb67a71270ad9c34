// The conversion stage of a job: every clip in turn through the engine, with
// the labels and progress of the clip being converted.
#pragma once

#include "conversion/engine_api.h"
#include "conversion/job_observer.h"
#include "conversion/job_settings.h"
#include "conversion/parameter_assembly.h"
#include "conversion/partial_outputs.h"
#include "conversion/user_log.h"
#include "profiles/option_settings.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quilo {

struct JobInputs {
    JobSettings settings;
    std::vector<TVideoInfo*> clips;
    std::string baseOutputFolder; // made when missing, like the job's own folder
    std::string dataFolder;       // user log, engine log, the engine's working file
    std::string libraryFolder;    // where the engine and authoring libraries are loaded from
    OptionSettings options;       // the PSP folders of the upload
};

class ConversionJob {
public:
    // `observer` may be null; `engineWindow` receives the engine's notices;
    // `conversionStarted` runs as each clip's conversion call begins, where the
    // progress timer starts.
    ConversionJob(JobInputs inputs, UserLog& log, JobObserver* observer = nullptr,
                  const QuiloWindowPort* engineWindow = nullptr,
                  std::function<void()> conversionStarted = {});

    // Converts every clip until the list ends, a stop is asked for or the
    // engine is unusable. After a stop the result follows the running clip's:
    // stopped when it converted, failed when it did not. A job whose output
    // folder cannot be written, or in which no clip converted, has failed.
    JobResult Run();

    // Stop: the running clip finishes its file and the job ends after it.
    void RequestStop();
    bool stopRequested() const { return stop_; }
    bool engineLoaded() const;

    // One tick of the 500 ms progress timer, from any thread.
    JobProgress Tick();
    JobProgress progress() const;

    const JobInputs& inputs() const { return inputs_; }
    // Written by Run; read them once it has returned.
    const std::vector<std::string>& outputs() const { return outputs_; }
    const std::vector<FailedClip>& unsupported() const { return unsupported_; }
    const std::vector<EngineResult>& clipResults() const { return results_; }
    const std::string& lastEngineError() const { return engineError_; }
    // Why the job as a whole failed; empty when it did not, or when only its clips did.
    const std::string& failureReason() const { return failureReason_; }

private:
    // Empty when there is no clip at `index`.
    std::optional<EngineResult> convertClip(int index);
    void clipEnded(int index, EngineResult result);
    // Gives a converted clip's file its name; a clip that wrote nothing has failed.
    EngineResult settleOutput(EngineResult result, const std::string& temporary, const std::string& finalPath,
                              std::string& reason);

    JobInputs inputs_;
    UserLog& log_;
    JobObserver* observer_;
    const QuiloWindowPort* engineWindow_;
    std::function<void()> conversionStarted_;
    ParameterAssembly assembly_;
    EngineParameterSet parameters_;
    std::vector<std::string> outputs_;
    std::vector<FailedClip> unsupported_;
    std::string failureReason_;
    // Each output is written under a temporary name until it is complete.
    std::optional<PartialOutputs> partial_;
    std::vector<EngineResult> results_;
    std::string engineError_;
    std::atomic<bool> stop_{false};

    mutable std::mutex progressLock_; // the engine and the progress between worker and timer
    const EngineApi* running_ = nullptr;
    JobProgress progress_;
    int startSecond_ = 0;
    int progressSeconds_ = 0;
    int ticks_ = 0;
};

} // namespace quilo
