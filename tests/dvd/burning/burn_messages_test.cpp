// The job's end after a burn step that did not burn.
#include "conversion/job_end.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

TEST(BurnJobEnd, EachBurnOutcomeHasItsErrorMessage) {
    test::TempDir dir;
    UserLog log(dir.path());
    RecordingDesktopServices desktop;
    ScriptedPrompter prompter;
    for (JobResult result : {JobResult::BurnNotStarted, JobResult::BurnFolderMissing, JobResult::BurnFailed})
        EXPECT_EQ(
            FinishJob(result, Target::DVD_Disc, {}, {"/out/a.vob"}, "/out/", prompter, desktop, log, {}),
            JobEndAction::Close);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{
                  "Cannot start burning process, please check or change your DVD disc and try again!",
                  "Cannot find DVD Folder to start burning process, please try again!",
                  "Burning process is failed, please try again!"}));
    for (const auto& shown : prompter.shown())
        EXPECT_EQ(shown.kind, PromptKind::Error);
    EXPECT_TRUE(desktop.opened.empty());

    // With the job's DVD folder known, a refused or failed burn says where it is kept.
    prompter.clear();
    for (JobResult result : {JobResult::BurnNotStarted, JobResult::BurnFolderMissing, JobResult::BurnFailed})
        FinishJob(result, Target::DVD_Disc, {}, {"/out/a.vob"}, "/out/", prompter, desktop, log, {},
                  "/out/DVD_DISC_2");
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{
                  "Cannot start burning process, please check or change your DVD disc and try again!\n\nThe "
                  "DVD folder is kept in /out/DVD_DISC_2/",
                  "Cannot find DVD Folder to start burning process, please try again!",
                  "Burning process is failed, please try again!\n\nThe DVD folder is kept in "
                  "/out/DVD_DISC_2/"}));

    // A burned disc ends like any finished job: no folder to open for a disc.
    prompter.clear();
    FinishJob(JobResult::Finished, Target::DVD_Disc, {}, {"/out/a.vob"}, "/out/", prompter, desktop, log, {});
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_TRUE(desktop.opened.empty());
}

} // namespace
} // namespace quilo
