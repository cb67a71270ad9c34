#include "conversion/job_end.h"

#include "platform/user_folders.h"

#include <filesystem>

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

void TellJobFinished(TargetTypeId target, const std::vector<std::string>& outputs, const std::string& folder,
                     Prompter& prompter, DesktopServices& desktop) {
    constexpr const char* Summary = "Process Finished!";
    std::string body;
    if (outputs.size() == 1)
        body = std::filesystem::path(outputs.front()).filename().string();
    else
        body = std::to_string(outputs.size()) + " files";
    body += " (" + targetIdentifier(target) + ") in " + WithTrailingSlash(folder);
    if (!desktop.notify(Summary, body))
        prompter.inform(std::string(Summary) + "\n\n" + body);
}

namespace {

std::string WithKeptFolder(std::string message, const std::string& dvdFolder) {
    if (!dvdFolder.empty())
        message += "\n\nThe DVD folder is kept in " + WithTrailingSlash(dvdFolder);
    return message;
}

// The system's message, and under it why, when the job knows.
std::string WithReason(const std::string& message, const std::string& reason) {
    return reason.empty() ? message : message + "\n\n" + reason;
}

} // namespace

JobEndAction FinishJob(JobResult result, TargetTypeId target, const JobEndChoices& choices,
                       const std::vector<std::string>& outputs, const std::string& outputFolder,
                       Prompter& prompter, DesktopServices& desktop, UserLog& log,
                       const JobProgress& lastProgress, const std::string& dvdFolder,
                       const std::string& failureReason) {
    switch (result) {
    case JobResult::EngineUnusable:
        // Which file, and why, tells the user what re-installing has to mend.
        prompter.error(
            WithReason("Can not initial conversion function!\nRe-install software may fix this problem!",
                       failureReason));
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
            // The window closes without a word: the user must see the folder, or be told.
            const std::string last = outputs.empty() ? std::string() : outputs.back();
            std::string folder = outputFolder;
            bool shown = false;
            if (!last.empty() && target == Target::DVD_Folder) {
                shown = desktop.openDocument(outputFolder);
            } else if (!last.empty() && target != Target::DVD_Disc) {
                folder = std::filesystem::path(last).parent_path().string();
                shown = desktop.showInFileManager(last);
            }
            if (!shown || choices.windowMinimised)
                TellJobFinished(target, outputs, folder, prompter, desktop);
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
        prompter.error(WithReason("Conversion wrong, please check parameter and try again!", failureReason));
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
