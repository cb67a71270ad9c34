// The start button: the checks before a job, the DVD questions, saving the
// panel, the job itself, and the record of the job's settings afterwards.
#pragma once

#include "conversion/user_log.h"
#include "media/clip_list.h"
#include "platform/prompter.h"
#include "profiles/output_panel.h"
#include "shell/product_identity.h"

#include <string>

namespace quilo {

// What the start button needs of the rest of the main window.
class StartConversionPort {
public:
    virtual ~StartConversionPort() = default;
    virtual void stopPreview() = 0; // returns when the engine has released the preview
    virtual void repaint() {}
    // The burner settings dialog (DVD disc); false when the user cancelled it.
    virtual bool confirmBurnerSettings() = 0;
    virtual bool previewSeeking() const = 0;
    // Web-video mode.
    virtual bool linksBeingFetched() const = 0;
    virtual bool downloadListEmpty() const = 0;
    virtual std::string firstOutputExtension() const = 0;
    // Show the progress window modally; they return when it closes.
    virtual void startJob(TargetTypeId target) = 0;
    virtual void startDownloadJob(TargetTypeId target, const std::string& extension) = 0;
};

inline constexpr int DvdRecommendedClips = 99;
// Start with nothing to convert.
inline constexpr const char* AddClipsFirstText = "Please clik \"Add File\" button to add clips or \"Add "
                                                 "URL\" button to add video sources, then click Start!";

// False when the start ended at a check (with or without a message).
bool StartClicked(ClipList& clips, OutputPanelModel& panel, StartConversionPort& port, Prompter& prompter,
                  UserLog& log, const ProductIdentity& identity);

} // namespace quilo
