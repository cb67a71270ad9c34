#include "conversion/conversion_job.h"

#include "conversion/engine_call.h"
#include "conversion/engine_log.h"
#include "conversion/output_folder.h"
#include "shell/text_format.h"

#include <filesystem>
#include <system_error>

namespace quilo {
namespace {

void makeFolder(const std::string& folder) {
    std::error_code error;
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
}

} // namespace

ConversionJob::ConversionJob(JobInputs inputs, UserLog& log, JobObserver* observer,
                             const QuiloWindowPort* engineWindow, std::function<void()> conversionStarted)
    : inputs_(std::move(inputs)), log_(log), observer_(observer), engineWindow_(engineWindow),
      conversionStarted_(std::move(conversionStarted)), assembly_(inputs_.settings) {}

JobResult ConversionJob::Run() {
    makeFolder(inputs_.baseOutputFolder);
    assembly_.ReadProfileValues(parameters_);
    if (observer_)
        observer_->StageStarted(JobStage::Convert);
    const std::string& folder = inputs_.settings.outputFolder;
    failureReason_ = OutputFolderProblem(folder);
    if (!failureReason_.empty())
        return JobResult::Failed;
    // What a killed run left here never became a file of its own.
    PartialOutputs::RemoveLeftovers(folder);
    partial_.emplace(folder);

    std::optional<EngineResult> last;
    int converted = 0;
    for (int index = 0; !stop_; ++index) {
        if (inputs_.feed && index >= static_cast<int>(inputs_.clips.size()))
            fetchClip();
        const std::optional<EngineResult> result = stop_ ? std::nullopt : convertClip(index);
        if (stop_ && !result)
            break;
        if (!result) {
            // An empty list is done at once; links that never arrived are not.
            const bool nothingAsked = index == 0 && (!inputs_.feed || inputs_.feed->Complete());
            if (nothingAsked || converted > 0)
                return JobResult::Finished;
            failureReason_ = "None of the clips could be converted.";
            return JobResult::Failed;
        }
        if (*result == EngineResult::Unusable) {
            failureReason_ = engineError_;
            return JobResult::EngineUnusable;
        }
        if (*result == EngineResult::Converted)
            ++converted;
        last = result;
    }
    return last == EngineResult::Failed ? JobResult::Failed : JobResult::Stopped;
}

void ConversionJob::fetchClip() {
    if (observer_)
        observer_->StageStarted(JobStage::Download);
    TVideoInfo* clip = inputs_.feed->NextClip();
    if (!clip)
        return;
    inputs_.clips.push_back(clip);
    if (observer_)
        observer_->StageStarted(JobStage::Convert);
}

std::optional<EngineResult> ConversionJob::convertClip(int index) {
    if (!assembly_.PrepareClip(inputs_.clips, index, parameters_))
        return std::nullopt;
    const TVideoInfo& clip = *inputs_.clips[static_cast<size_t>(index)];
    const std::string finalPath = parameters_.OutputName;
    outputs_.push_back(finalPath);
    {
        std::lock_guard lock(progressLock_);
        progress_ = {};
        progress_.clip = index;
        progress_.clipCount = static_cast<int>(inputs_.clips.size());
        progress_.clipName = std::filesystem::path(clip.FirstSourcePath()).filename().string();
        progress_.destinationName = clip.OutputName;
        progress_.startTime = SecondsToText(clip.StartTime);
        progress_.stopTime = SecondsToText(clip.EndTime);
        progress_.length = SecondsToText(parameters_.ProgressSeconds);
        progress_.segmentSeconds = parameters_.ProgressSeconds;
        startSecond_ = parameters_.StartSecond;
        progressSeconds_ = parameters_.ProgressSeconds;
        ticks_ = 0;
    }
    if (observer_)
        observer_->ClipStarted(progress());
    OpenEngineLog(inputs_.dataFolder);

    std::string reason;
    const std::string temporary = partial_->TemporaryPath(finalPath, reason);
    if (temporary.empty()) {
        CloseEngineLog();
        unsupported_.push_back({clip.FilePath, "the output folder cannot be written: " + reason});
        clipEnded(index, EngineResult::Failed);
        return EngineResult::Failed;
    }

    EngineLibrary engine;
    if (!engine.Load(EngineLibraryPath(inputs_.libraryFolder))) {
        engineError_ = engine.error();
        // The log the user sends with a report says why.
        EngineLogCallback((engineError_ + "\n").c_str());
        CloseEngineLog();
        clipEnded(index, EngineResult::Unusable);
        return EngineResult::Unusable;
    }
    engine.api().X_ZLog_SetCallBackFun(EngineLogCallback);

    const JobSettings& settings = inputs_.settings;
    const EngineCallSettings call{settings.target, settings.coreIndex, settings.deinterlace,
                                  settings.outputFolder + "kavotempfile.tmp"};
    // The log and the window show the clip's real name; only the engine writes
    // under the temporary one.
    EngineParameterSet written = parameters_;
    written.OutputName = temporary;
    EngineResult result = CallEngine(engine.api(), engineWindow_, written, call, [&] {
        log_.LogClipStart(parameters_, settings.target);
        std::lock_guard lock(progressLock_);
        running_ = &engine.api();
        // A stop asked for while the clip was being set up ends it at once.
        if (stop_)
            engine.api().X_StopConvert();
        if (conversionStarted_)
            conversionStarted_();
    });
    {
        std::lock_guard lock(progressLock_);
        running_ = nullptr;
    }
    engine.api().X_ZLog_SetCallBackFun(nullptr);
    result = settleOutput(result, temporary, finalPath, reason);
    if (result == EngineResult::Failed)
        unsupported_.push_back({clip.FilePath, reason.empty() ? "no reason given" : reason});
    log_.LogClipEnd(ResultNumber(result));
    CloseEngineLog();
    clipEnded(index, result);
    return result;
}

EngineResult ConversionJob::settleOutput(EngineResult result, const std::string& temporary,
                                         const std::string& finalPath, std::string& reason) {
    if (result != EngineResult::Converted) {
        partial_->Discard(temporary);
        reason = LastEngineFailure();
        return result;
    }
    std::error_code error;
    const bool empty =
        !std::filesystem::exists(temporary, error) || (std::filesystem::is_regular_file(temporary, error) &&
                                                       std::filesystem::file_size(temporary, error) == 0);
    if (empty) {
        partial_->Discard(temporary);
        // Stopped before the first frame: nothing to keep, yet no failure.
        if (stop_)
            return result;
        reason = "the engine reported success but wrote nothing";
        return EngineResult::Failed;
    }
    if (!partial_->Keep(temporary, finalPath, reason)) {
        partial_->Discard(temporary);
        reason = "the output cannot be named " + finalPath + ": " + reason;
        return EngineResult::Failed;
    }
    return result;
}

void ConversionJob::clipEnded(int index, EngineResult result) {
    results_.push_back(result);
    if (observer_)
        observer_->ClipEnded(index, result);
}

void ConversionJob::RequestStop() {
    stop_ = true;
    if (inputs_.feed)
        inputs_.feed->Stop();
    std::lock_guard lock(progressLock_);
    if (running_)
        running_->X_StopConvert();
}

bool ConversionJob::engineLoaded() const {
    std::lock_guard lock(progressLock_);
    return running_ != nullptr;
}

JobProgress ConversionJob::progress() const {
    std::lock_guard lock(progressLock_);
    return progress_;
}

JobProgress ConversionJob::Tick() {
    std::unique_lock lock(progressLock_);
    if (!running_)
        return progress_;
    // The engine forgets a stop asked for just before its conversion began:
    // ask again until it ends.
    if (stop_)
        running_->X_StopConvert();
    ++ticks_;
    int info[4] = {};
    running_->X_Get_Info(info);
    int done = info[0];
    const int fps = info[1], encoding = info[2];

    progress_.currentTime = SecondsToText(startSecond_ + done);
    progress_.doneSeconds = done;
    if (fps != 0 && encoding != 0) {
        progress_.fps = std::to_string(fps);
        const double fraction = progressSeconds_ > 0 ? static_cast<double>(done) / progressSeconds_ : 0.0;
        if (fraction >= 0.01) {
            const double elapsed = ticks_ * 0.5;
            progress_.remainingTime = SecondsToText(static_cast<int>(elapsed / fraction - elapsed));
        } else {
            progress_.remainingTime = "Seeking...";
        }
    } else {
        progress_.fps = progress_.remainingTime = "Seeking...";
    }
    if (progressSeconds_ > 0) {
        done = std::min(done, progressSeconds_ - 1);
        progress_.barWidth = done * ProgressBarWidth / progressSeconds_;
        progress_.percent = done * 100 / progressSeconds_;
    } else {
        progress_.barWidth = progress_.percent = 0;
    }
    const JobProgress shown = progress_;
    const bool logIt = ticks_ < 50 || ticks_ % 100 == 0;
    lock.unlock();
    if (logIt)
        log_.LogRunning({shown.currentTime, shown.fps, shown.remainingTime});
    return shown;
}

} // namespace quilo
