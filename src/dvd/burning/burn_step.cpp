#include "dvd/burning/burn_step.h"

#include <filesystem>

namespace quilo {

std::string BurnAnimation::Tick() {
    ticks_ = (ticks_ + 1) % 40;
    return "Burning DVD " + std::string(static_cast<size_t>(ticks_), '.');
}

int RunBurnStep(BurnerControl& burner, const std::string& dvdOutputFolder, Prompter& prompter,
                BurnStepWindow& window) {
    std::string folder = dvdOutputFolder;
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    folder += "/VIDEO_TS";
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return BurnResult::FolderMissing;

    const uint64_t size = burner.GetFolderSize(folder);
    // Without a drive there is no disc to measure; that is no disc too small.
    if (!burner.selectedDrive())
        return BurnResult::NotStarted;
    const double freeBytes = burner.GetDiscFreeBytes();
    const uint64_t room = freeBytes > 0 ? static_cast<uint64_t>(freeBytes) : 0;
    if (size > room) {
        prompter.warn("The size of the DVD file you are burning is larger than the size of the blank DVD!");
        return BurnResult::NotStarted;
    }
    if (size + BurnSafetyMargin > room &&
        prompter.ask(PromptKind::Confirmation,
                     "The size of the DVD file you are burning is approximate to the size of the blank "
                     "DVD.\nThen the burned DVD might not play properly. Do you want to continue?",
                     PromptButtons::YesNo) != PromptAnswer::Yes)
        return BurnResult::NotStarted;

    window.StartBurnTimer();
    const bool burned = burner.BurnDVDFolder();
    window.StopBurnTimer();
    window.SetCurrentFileLabel("");
    burner.EjectDisc();
    return burned ? BurnResult::Burned : BurnResult::Failed;
}

void ExplainBurnCannotStop(Prompter& prompter) {
    prompter.inform("Please wait a moment. The buring process will end soon.\nIf you stop it now, your DVD "
                    "Disc might be damanged.");
}

} // namespace quilo
