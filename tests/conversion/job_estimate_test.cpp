// The whole job's percent and remaining time: clips weighed by their
// segments, links whose lengths come later, clips of unknown length, and the
// DVD steps after the clips.
#include "conversion/job_estimate.h"

#include <gtest/gtest.h>

using namespace quilo;

TEST(JobEstimate, ClipsWeighAsMuchAsTheirSegmentsAndTheRestFollowsFromThePaceSoFar) {
    JobEstimate job({10, 30}, 0, {});
    EXPECT_EQ(job.Totals(0).percent, 0);
    EXPECT_EQ(job.Totals(0).remainingTime, EstimatingText);

    job.ClipProgress(0, 4);
    EXPECT_EQ(job.Totals(8).percent, 10);
    // 10 % in 8 seconds: 72 more.
    EXPECT_EQ(job.Totals(8).remainingTime, "00:01:12");

    // Ended, the short clip is a quarter of the job, not a half.
    job.ClipEnded(0);
    EXPECT_EQ(job.Totals(20).percent, 25);
    EXPECT_EQ(job.Totals(20).remainingTime, "00:01:00");

    job.ClipProgress(1, 15);
    EXPECT_EQ(job.Totals(50).percent, 62);
    EXPECT_EQ(job.Totals(50).remainingTime, "00:00:30");

    job.ClipEnded(1);
    EXPECT_EQ(job.Totals(80).percent, 100);
    EXPECT_EQ(job.Totals(80).remainingTime, "00:00:00");
}

TEST(JobEstimate, AClipCountsNoMoreThanItsSegmentAndWhollyOnceItEnded) {
    JobEstimate job({10, 10}, 0, {});
    job.ClipProgress(0, 6);
    // The engine's count never goes back, and stops at the segment's end.
    job.ClipProgress(0, 3);
    EXPECT_EQ(job.Totals(1).percent, 30);
    job.ClipProgress(0, 25);
    EXPECT_EQ(job.Totals(1).percent, 50);
    // A clip that failed halfway is behind the job all the same.
    job.ClipEnded(1);
    EXPECT_EQ(job.Fraction(), 1.0);
    // Clips that do not exist change nothing.
    job.ClipProgress(7, 5);
    job.ClipEnded(-1);
    EXPECT_EQ(job.Fraction(), 1.0);
}

TEST(JobEstimate, LinksStillToComeKeepThePercentFromRunningAheadAndAreNamedBesideTheTime) {
    // One clip of the list and two links, whose lengths are not known yet.
    JobEstimate job({20}, 2, {});
    job.ClipEnded(0);
    // Each link counts as long as the known clip: a third is done, not all.
    EXPECT_EQ(job.Totals(40).percent, 33);
    EXPECT_EQ(job.Totals(40).remainingTime, "00:00:00 + 2 links");

    // A link of a minute arrives: the figure grows with it, and the link still
    // to come now counts as long as the average of the two.
    job.ClipArrived(60);
    EXPECT_EQ(job.clipsToCome(), 1);
    EXPECT_EQ(job.Totals(40).percent, 16);
    EXPECT_EQ(job.Totals(40).remainingTime, "00:02:00 + 1 link");

    // The other link fails: nothing more is to come.
    job.SetClipsToCome(0);
    EXPECT_EQ(job.Totals(40).percent, 25);
    EXPECT_EQ(job.Totals(40).remainingTime, "00:02:00");
}

TEST(JobEstimate, AJobOfLinksOnlyWaitsForTheFirstBeforeItEstimates) {
    JobEstimate job({}, 2, {});
    EXPECT_EQ(job.Totals(30).percent, 0);
    EXPECT_EQ(job.Totals(30).remainingTime, EstimatingText);
    job.ClipArrived(10);
    job.ClipProgress(0, 5);
    EXPECT_EQ(job.Totals(10).percent, 25);
    EXPECT_EQ(job.Totals(10).remainingTime, "00:00:10 + 1 link");
}

TEST(JobEstimate, ClipsOfUnknownLengthWeighTheAverageAndCountOnlyOnceEnded) {
    JobEstimate job({10, 0, 30}, 0, {});
    job.ClipEnded(0);
    // The clip without a length weighs 20: 10 of 60 are done.
    EXPECT_EQ(job.Totals(10).percent, 16);
    // Its own seconds tell nothing.
    job.ClipProgress(1, 15);
    EXPECT_EQ(job.Totals(10).percent, 16);
    job.ClipEnded(1);
    EXPECT_EQ(job.Totals(10).percent, 50);

    // Without any length known, every clip counts alike.
    JobEstimate unknown({0, 0, 0, 0}, 0, {});
    unknown.ClipEnded(0);
    EXPECT_EQ(unknown.Totals(10).percent, 25);
    EXPECT_EQ(unknown.Totals(10).remainingTime, "00:00:30");
}

TEST(JobEstimate, TheDvdStepsTakeTheirSharesAfterTheClips) {
    JobEstimate folder({10}, 0, {true, false});
    folder.ClipEnded(0);
    EXPECT_EQ(folder.Totals(95).percent, 95);
    EXPECT_EQ(folder.Totals(95).remainingTime, "00:00:05");
    folder.StepPercent(JobStage::Author, 60);
    EXPECT_EQ(folder.Totals(98).percent, 98);
    // Percents of other stages are no step of this job.
    folder.StepPercent(JobStage::Upload, 100);
    folder.StepPercent(JobStage::Burn, 100);
    EXPECT_EQ(folder.Totals(98).percent, 98);

    JobEstimate disc({10}, 0, {true, true});
    disc.ClipEnded(0);
    EXPECT_EQ(disc.Totals(75).percent, 75);
    disc.StepPercent(JobStage::Author, 100);
    disc.StepPercent(JobStage::Burn, 50);
    EXPECT_EQ(disc.Totals(90).percent, 90);
    EXPECT_EQ(disc.Totals(90).remainingTime, "00:00:10");
    disc.Finished();
    EXPECT_EQ(disc.Totals(100).percent, 100);
    EXPECT_EQ(disc.Totals(100).remainingTime, "00:00:00");
}
