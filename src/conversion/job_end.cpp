#include "conversion/job_end.h"

#include "platform/special_folders.h"

namespace quilo {

void ReportUnsupportedClips(const std::vector<FailedClip>& clips, const std::string& engineLog,
                            Prompter& prompter) {
    if (clips.empty())
        return;
    std::string text =
        "Some UNSUPPORTED file(s) format can not be converted correctly.\nWe suggest you select AVI "
        "format and try again.\n\n";
    for (const auto& clip : clips)
        text += clip.path + "\n    " + clip.reason + "\n";
    text += "\nThe engine's report on the last clip is in " + engineLog + "\n";
    prompter.inform(text);
}

namespace {

std::string WithKeptFolder(std::string message, const std::string& dvdFolder) {
    if (!dvdFolder.empty())
        message += "\n\nThe DVD folder is kept in " + WithTrailingSlash(dvdFolder);
    return message;
}

} // namespace

JobEndAction FinishJob(JobResult result, TargetTypeId target, const JobEndChoices& choices,
                       const std::vector<std::string>& outputs, const std::string& outputFolder,
                       Prompter& prompter, DesktopServices& desktop, UserLog& log,
                       const JobProgress& lastProgress, const std::string& dvdFolder,
                       const std::string& failureReason) {
    switch (result) {
    case JobResult::EngineUnusable:
        prompter.error("Can not initial conversion function!\nRe-install software may fix this problem!");
        return JobEndAction::Close;
    case JobResult::Finished: {
        if (choices.powerOff) {
            desktop.powerOff();
            return JobEndAction::Close;
        }
        if (target == Target::PSP) {
            if (choices.upload)
                return JobEndAction::Upload;
            prompter.inform("Process finished!\nYou can upload files to your PSP.");
            return JobEndAction::StayOpen;
        }
        if (choices.openFolder) {
            const std::string last = outputs.empty() ? std::string() : outputs.back();
            if (!last.empty()) {
                if (target == Target::DVD_Folder)
                    desktop.openDocument(outputFolder);
                else if (target != Target::DVD_Disc)
                    desktop.showInFileManager(last);
            }
            return JobEndAction::Close;
        }
        prompter.inform("Process Finished!");
        return JobEndAction::Close;
    }
    case JobResult::Stopped:
        prompter.inform("Stop process by user!");
        return JobEndAction::Close;
    case JobResult::Failed:
        log.LogConversionWrong({lastProgress.currentTime, lastProgress.fps, lastProgress.remainingTime});
        prompter.error(failureReason.empty()
                           ? std::string("Conversion wrong, please check parameter and try again!")
                           : "Conversion wrong, please check parameter and try again!\n\n" + failureReason);
        return JobEndAction::Close;
    case JobResult::BurnNotStarted:
        prompter.error(WithKeptFolder(
            "Cannot start burning process, please check or change your DVD disc and try again!", dvdFolder));
        return JobEndAction::Close;
    case JobResult::BurnFolderMissing:
        prompter.error("Cannot find DVD Folder to start burning process, please try again!");
        return JobEndAction::Close;
    case JobResult::BurnFailed:
        prompter.error(WithKeptFolder("Burning process is failed, please try again!", dvdFolder));
        return JobEndAction::Close;
    }
    return JobEndAction::Close;
}

} // namespace quilo
