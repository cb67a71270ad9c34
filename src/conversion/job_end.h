// What the progress window does when a job ends: the message for its result
// and the chosen end action (power off, upload to the PSP, open the folder).
#pragma once

#include "conversion/job_observer.h"
#include "conversion/user_log.h"
#include "platform/desktop_services.h"
#include "platform/prompter.h"
#include "shell/target_catalogue.h"

#include <string>
#include <vector>

namespace quilo {

struct JobEndChoices {
    bool powerOff = false;  // "Shut down computer when conversion completed"
    bool upload = false;    // "Upload files when conversion completed" (PSP)
    bool openFolder = true; // "Open output folder when conversion completed"
    // Not a choice but where the user looks: a minimised window is not seen,
    // so the end of the job is told by a desktop notification.
    bool windowMinimised = false;
};

enum class JobEndAction { Close, StayOpen, Upload };

// The unsupported clips of a job with their reasons, listed in one message
// that names the engine's log; nothing when there are none.
void ReportUnsupportedClips(const std::vector<FailedClip>& clips, const std::string& engineLog,
                            Prompter& prompter);

// The end of a finished job where the user sees it: a desktop notification of
// what finished and where, or a message when the desktop has none.
void TellJobFinished(TargetTypeId target, const std::vector<std::string>& outputs, const std::string& folder,
                     Prompter& prompter, DesktopServices& desktop);

// Shows the result's message and performs the end action. `outputs` are the
// job's output paths in order; `outputFolder` the job's folder; `dvdFolder` the
// DVD folder of a disc job, named when its burn did not happen, so the work is
// not lost; `failureReason` follows the message of a failed job.
JobEndAction FinishJob(JobResult result, TargetTypeId target, const JobEndChoices& choices,
                       const std::vector<std::string>& outputs, const std::string& outputFolder,
                       Prompter& prompter, DesktopServices& desktop, UserLog& log,
                       const JobProgress& lastProgress, const std::string& dvdFolder = {},
                       const std::string& failureReason = {});

} // namespace quilo
