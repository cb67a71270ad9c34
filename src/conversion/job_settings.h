// The settings of one job, taken from the output settings panel, the profile
// definitions and the options when the job starts. The job's threads read only
// this value, never a control, so nothing the user does meanwhile changes a
// running job.
#pragma once

#include "profiles/panel_controls.h"
#include "profiles/profile_definitions.h"
#include "shell/target_catalogue.h"

#include <string>

namespace quilo {

// The definitions' values for the chosen items: the engine's own vocabulary
// (container, codec and rate names), or "nodef" where nothing is defined.
struct ProfileChoices {
    std::string container;
    std::string videoCodec;
    std::string frameRate; // "Auto" or a rate
    std::string audioBitRate;
    std::string audioSampleRate;
    std::string audioCodec;
    std::string resolution; // "W:H", also "auto:H"
    int aspectMode = 0;     // 0 profile size, 1 original, 2 keep aspect, 11 … 18 DVD frames
    int audioChannels = 0;  // 1 mono, 2 stereo, 0 as the source
};

struct DvdChoices {
    bool ntsc = true;
    bool pal = false;
    bool widescreen = true; // 16:9
    bool fourThree = false; // 4:3
};

struct JobSettings {
    TargetTypeId target = -1;
    std::string outputFolder; // base output folder + the target's sub-folder, ends with '/'
    int minDuration = 0;      // a shorter segment is converted this long (0 = off)

    ProfileChoices profile;
    int videoBitRate = 0; // kbit/s
    int volume = 0;       // 0 … 10
    int frameWidth = 0;   // the width and height boxes
    int frameHeight = 0;
    std::string displayName;
    std::string artistName;
    int coreIndex = 0; // processor-core selector
    bool highQuality = false;
    bool deinterlace = false;
    bool forceSync = false;
    bool addLetterBox = false;    // MPEG variants with DVD frames
    bool addLetterBoxVob = false; // DVD targets
    DvdChoices dvd;
};

// Where a job goes, known before the panel is read.
struct JobSetup {
    TargetTypeId target = -1;
    std::string section;      // the target's definition section, "Tamber-" + identifier
    std::string outputFolder; // base output folder + the target's sub-folder, ends with '/'
    int minDuration = 0;
};

// Reads the panel and the definitions once, on the thread that owns the panel.
JobSettings TakeJobSettings(const ProfileDefinitions& definitions, const PanelControls& panel,
                            const JobSetup& setup);

} // namespace quilo
