#include "conversion/start_conversion.h"

namespace quilo {
namespace {

void recordJobSettings(const OutputPanelModel& panel, UserLog& log, const ProductIdentity& identity) {
    const PanelControls& controls = panel.controls();
    JobSettingsRecord record;
    record.coreCount = controls.cpuCores.count();
    record.coreIndex = controls.cpuCores.index;
    record.deinterlace = controls.deinterlace.checked;
    record.forceSync = controls.forceSync.checked;
    record.highQuality = controls.highQuality.checked;
    record.displayName = controls.displayName.text;
    record.artistName = controls.artistName.text;
    record.programVersion = identity.productVersion;
    record.programBuild = identity.productBuild;
    log.LogJobSettings(record);
}

bool anyChecked(const ClipList& clips) {
    for (const TVideoInfo* clip : clips.Clips())
        if (clip->Checked)
            return true;
    return false;
}

} // namespace

bool StartClicked(ClipList& clips, OutputPanelModel& panel, StartConversionPort& port, Prompter& prompter,
                  UserLog& log, const ProductIdentity& identity) {
    // An empty list has nothing to start: the user is told how to fill it,
    // before any question about discs.
    if (clips.Mode == ListMode::Empty) {
        prompter.inform(AddClipsFirstText);
        return false;
    }
    const TargetTypeId target = panel.currentTarget();
    const bool dvdDisc = target == Target::DVD_Disc;
    if ((target == Target::DVD_Folder || dvdDisc || target == Target::DVD_ISO) &&
        clips.Count() > DvdRecommendedClips &&
        prompter.ask(
            PromptKind::Information,
            "The video clips you added exceed the recommended amount. We will create DVD with the first 99 "
            "video files.\nDo you want to continue?",
            PromptButtons::OkCancel) != PromptAnswer::Ok)
        return false;

    port.stopPreview();
    port.repaint();
    if (dvdDisc) {
        const bool confirmed = port.confirmBurnerSettings();
        port.repaint();
        if (!confirmed)
            return false;
    }

    if (clips.Mode == ListMode::Local) {
        if (clips.Busy)
            return false;
        if (port.previewSeeking()) {
            prompter.inform("Seeking file, please waiting.");
            return false;
        }
        if (!anyChecked(clips)) {
            prompter.inform(AddClipsFirstText);
            return false;
        }
        panel.SavePanel();
        port.startJob(target);
    } else if (clips.Mode == ListMode::Web) {
        const std::string extension = port.firstOutputExtension();
        if (clips.Busy)
            return false;
        if (port.linksBeingFetched()) {
            prompter.inform("Fetch video, please waiting.");
            return false;
        }
        if (port.downloadListEmpty()) {
            prompter.inform("No video to download!");
            return false;
        }
        port.startDownloadJob(target, extension);
    } else {
        return false;
    }
    recordJobSettings(panel, log, identity);
    return true;
}

} // namespace quilo
