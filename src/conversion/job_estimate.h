// How far the whole job is and how long it still needs, beside the running
// clip's own figures.
//
// A clip weighs as much as its segment, the seconds the engine converts (its
// trimmed part, or all of it). A clip whose length is not known (a link not
// downloaded yet, a file that reports no duration) weighs what the known clips
// weigh on average, so the percent does not run ahead to "almost done" while
// links are still to come. The remaining time follows from the time the job
// has taken so far and the share of it that is done; while links are still to
// come it covers the clips already in the list and says how many links follow,
// so it grows as they arrive.
#pragma once

#include "conversion/job_observer.h"

#include <vector>

namespace quilo {

// The DVD steps after the clips, as shares of the whole job. Authoring copies
// the converted files once; a burn writes them at a few times real time, which
// on a full disc is a good part of what converting them took.
inline constexpr double AuthoringShare = 0.05;
inline constexpr double BurnShare = 0.20;

// What the job shows before it can tell (under 1 % done).
inline constexpr const char* EstimatingText = "Estimating...";

class JobEstimate {
public:
    struct Steps {
        bool author = false;
        bool burn = false;
    };

    // `segmentSeconds`: every clip of the list, 0 for one of unknown length;
    // `clipsToCome`: clips that join the list while the job runs.
    JobEstimate(const std::vector<int>& segmentSeconds, int clipsToCome, Steps steps);

    // A clip came and joined the list at its end; one fewer is to come.
    void ClipArrived(int segmentSeconds);
    // How many clips may still come (fewer when a link fails).
    void SetClipsToCome(int count);
    int clipsToCome() const { return toCome_; }
    int clipCount() const { return static_cast<int>(clips_.size()); }

    // The engine's seconds done of the clip at `clip`.
    void ClipProgress(int clip, int doneSeconds);
    // Converted or not, the clip's work is behind the job.
    void ClipEnded(int clip);
    // Author or Burn, 0 … 100.
    void StepPercent(JobStage stage, int percent);
    // Nothing is left: the job ended as finished.
    void Finished();

    // 0 … 1.
    double Fraction() const;
    // After `elapsedSeconds` of the job.
    JobTotals Totals(double elapsedSeconds) const;

private:
    struct Clip {
        int seconds = 0; // 0: unknown
        int done = 0;
        bool ended = false;
    };
    double unknownWeight() const;
    double weight(const Clip& clip) const;
    double conversionShare() const;
    // The clips to come, as a share of the whole job.
    double shareToCome() const;

    std::vector<Clip> clips_;
    int toCome_ = 0;
    Steps steps_;
    int authored_ = 0, burned_ = 0; // percent
    bool finished_ = false;
};

} // namespace quilo
