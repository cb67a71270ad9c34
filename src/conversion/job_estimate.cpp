#include "conversion/job_estimate.h"

#include "shell/text_format.h"

#include <algorithm>
#include <cmath>

namespace quilo {

JobEstimate::JobEstimate(const std::vector<int>& segmentSeconds, int clipsToCome, Steps steps)
    : toCome_(std::max(clipsToCome, 0)), steps_(steps) {
    for (int seconds : segmentSeconds)
        clips_.push_back({std::max(seconds, 0)});
}

void JobEstimate::ClipArrived(int segmentSeconds) {
    clips_.push_back({std::max(segmentSeconds, 0)});
    toCome_ = std::max(toCome_ - 1, 0);
}

void JobEstimate::SetClipsToCome(int count) {
    toCome_ = std::max(count, 0);
}

void JobEstimate::ClipProgress(int clip, int doneSeconds) {
    if (clip < 0 || clip >= clipCount())
        return;
    Clip& at = clips_[static_cast<size_t>(clip)];
    // The engine's count only grows; the segment bounds it.
    at.done = std::clamp(std::max(doneSeconds, at.done), 0, at.seconds);
}

void JobEstimate::ClipEnded(int clip) {
    if (clip >= 0 && clip < clipCount())
        clips_[static_cast<size_t>(clip)].ended = true;
}

void JobEstimate::StepPercent(JobStage stage, int percent) {
    percent = std::clamp(percent, 0, 100);
    if (stage == JobStage::Author)
        authored_ = std::max(authored_, percent);
    else if (stage == JobStage::Burn)
        burned_ = std::max(burned_, percent);
}

void JobEstimate::Finished() {
    finished_ = true;
}

double JobEstimate::unknownWeight() const {
    double sum = 0;
    int known = 0;
    for (const Clip& clip : clips_)
        if (clip.seconds > 0) {
            sum += clip.seconds;
            ++known;
        }
    // With no length known at all every clip counts alike.
    return known > 0 ? sum / known : 1.0;
}

double JobEstimate::weight(const Clip& clip) const {
    return clip.seconds > 0 ? clip.seconds : unknownWeight();
}

double JobEstimate::conversionShare() const {
    return 1.0 - (steps_.author ? AuthoringShare : 0.0) - (steps_.burn ? BurnShare : 0.0);
}

double JobEstimate::shareToCome() const {
    double total = toCome_ * unknownWeight();
    for (const Clip& clip : clips_)
        total += weight(clip);
    return total > 0 ? conversionShare() * toCome_ * unknownWeight() / total : 0.0;
}

double JobEstimate::Fraction() const {
    if (finished_)
        return 1.0;
    double total = toCome_ * unknownWeight(), done = 0;
    for (const Clip& clip : clips_) {
        total += weight(clip);
        done += clip.ended ? weight(clip) : clip.done;
    }
    // A job without clips has converted all it has.
    const double converted = total > 0 ? done / total : 1.0;
    const double steps = (steps_.author ? AuthoringShare * authored_ / 100.0 : 0.0) +
                         (steps_.burn ? BurnShare * burned_ / 100.0 : 0.0);
    return std::clamp(conversionShare() * converted + steps, 0.0, 1.0);
}

JobTotals JobEstimate::Totals(double elapsedSeconds) const {
    JobTotals totals;
    const double fraction = Fraction();
    // A hair over the exact share, so that 0.29 × 100 is not shown as 28.
    totals.percent = std::clamp(static_cast<int>(std::floor(fraction * 100 + 1e-9)), 0, 100);
    if (finished_) {
        totals.remainingTime = SecondsToText(0);
        return totals;
    }
    if (fraction < 0.01 || elapsedSeconds <= 0) {
        totals.remainingTime = EstimatingText;
        return totals;
    }
    // The clips in the list at the pace so far; those to come are told apart.
    const double known = 1.0 - shareToCome();
    const double remaining = std::max(0.0, elapsedSeconds * (known - fraction) / fraction);
    totals.remainingTime = SecondsToText(static_cast<int>(std::lround(remaining)));
    if (toCome_ > 0)
        totals.remainingTime += " + " + std::to_string(toCome_) + (toCome_ == 1 ? " link" : " links");
    return totals;
}

} // namespace quilo
