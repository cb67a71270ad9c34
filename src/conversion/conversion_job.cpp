#include "conversion/conversion_job.h"

#include "conversion/engine_call.h"
#include "conversion/engine_log.h"
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
    makeFolder(inputs_.settings.outputFolder);
    assembly_.ReadProfileValues(parameters_);
    if (observer_)
        observer_->StageStarted(JobStage::Convert);

    std::optional<EngineResult> last;
    for (int index = 0; !stop_; ++index) {
        const std::optional<EngineResult> result = convertClip(index);
        if (!result)
            return JobResult::Finished;
        if (*result == EngineResult::Unusable)
            return JobResult::EngineUnusable;
        if (*result == EngineResult::Failed)
            unsupported_.push_back(inputs_.clips[static_cast<size_t>(index)]->FilePath);
        last = result;
    }
    return last == EngineResult::Failed ? JobResult::Failed : JobResult::Stopped;
}

std::optional<EngineResult> ConversionJob::convertClip(int index) {
    if (!assembly_.PrepareClip(inputs_.clips, index, parameters_))
        return std::nullopt;
    const TVideoInfo& clip = *inputs_.clips[static_cast<size_t>(index)];
    outputs_.push_back(parameters_.OutputName);
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
        startSecond_ = parameters_.StartSecond;
        progressSeconds_ = parameters_.ProgressSeconds;
        ticks_ = 0;
    }
    if (observer_)
        observer_->ClipStarted(progress());
    OpenEngineLog(inputs_.dataFolder);

    EngineLibrary engine;
    if (!engine.Load(inputs_.libraryFolder)) {
        engineError_ = engine.error();
        CloseEngineLog();
        clipEnded(index, EngineResult::Unusable);
        return EngineResult::Unusable;
    }
    engine.api().X_ZLog_SetCallBackFun(EngineLogCallback);

    const JobSettings& settings = inputs_.settings;
    const EngineCallSettings call{settings.target, settings.coreIndex, settings.deinterlace,
                                  settings.outputFolder + "kavotempfile.tmp"};
    const EngineResult result = CallEngine(engine.api(), engineWindow_, parameters_, call, [&] {
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
    log_.LogClipEnd(ResultNumber(result));
    CloseEngineLog();
    clipEnded(index, result);
    return result;
}

void ConversionJob::clipEnded(int index, EngineResult result) {
    results_.push_back(result);
    if (observer_)
        observer_->ClipEnded(index, result);
}

void ConversionJob::RequestStop() {
    stop_ = true;
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
    ++ticks_;
    int info[4] = {};
    running_->X_Get_Info(info);
    int done = info[0];
    const int fps = info[1], encoding = info[2];

    progress_.currentTime = SecondsToText(startSecond_ + done);
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
