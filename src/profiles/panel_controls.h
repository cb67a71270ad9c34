// What the controls of the output settings panel hold. The panel model fills
// and changes these; the parameter assembly of a job reads them; the window
// binds widgets to them.
#pragma once

#include <string>
#include <vector>

namespace quilo {

// Background colours of the selectors and number boxes.
enum class ControlColour {
    Grey,      // filled from a definition, the user may change it (202, 202, 202)
    White,     // fixed by the definition, disabled (255, 255, 255)
    LightGreen // image mode, resolution, width and height (203, 233, 171)
};

struct SelectorControl {
    std::vector<std::string> items;
    int index = -1; // -1 = no selection
    bool enabled = true;
    bool visible = true;
    ControlColour colour = ControlColour::Grey;

    int count() const { return static_cast<int>(items.size()); }
    // The selected item's text, empty without a selection.
    std::string text() const { return index >= 0 && index < count() ? items[index] : std::string(); }
};

struct NumberControl {
    std::string text = "0"; // as typed; the assembly reads the text
    int minimum = 0;
    int maximum = 0;
    int increment = 1;
    bool enabled = true;
    bool visible = true;
    ControlColour colour = ControlColour::Grey;
};

struct CheckControl {
    bool checked = false;
    bool visible = true;
};

struct TextControl {
    std::string text;
    bool visible = true;
};

struct SliderControl {
    int minimum = 0;
    int maximum = 10;
    int position = 0;
    bool visible = true;
};

struct PanelControls {
    SelectorControl savedProfile;    // suiComboBox_PF, "Profile Setting :"
    SelectorControl imageMode;       // suiComboBox_Profile, "Output Image Setting :"
    SelectorControl resolution;      // suiComboBox_Resolution
    bool resolutionLabelVisible = true; // Label3, "Video Resolution (W : H) :"
    NumberControl videoWidth;        // suiSpinEdit_VideoWidth
    bool sizeSeparatorVisible = true; // Label21, the ":" between width and height
    NumberControl videoHeight;       // suiSpinEdit_VideoHeight
    SelectorControl videoFrameRate;  // suiComboBox_VideoFrameRate
    NumberControl videoBitRate;      // suiSpinEdit_VideoBitRate
    SelectorControl videoCodec;      // suiComboBox_VideoCodec
    SelectorControl outputFormat;    // suiComboBox_OutputFormat
    SelectorControl audioCodec;      // suiComboBox_AudioCodec, "Format :"
    SelectorControl audioBitRate;    // suiComboBox_AudioBitRate
    SelectorControl audioSampleRate; // suiComboBox_AudioSampleRate
    SelectorControl audioChannel;    // suiComboBox_AudioChannel
    SliderControl volume;            // suiTrackBar_Volume
    SelectorControl volumeList;      // suiComboBox_Volume, hidden: the values behind the slider
    std::string volumeLabel = "+ 0 db."; // Label_DB
    TextControl displayName{"Video"};    // suiEdit_DVDName
    TextControl artistName{"Unknown"};   // suiEdit_ArtistName
    SelectorControl cpuCores{{"1"}, 0, false, true, ControlColour::Grey}; // suiComboBox_CPU
    CheckControl highQuality;        // suiCheckBox_HQE
    CheckControl deinterlace;        // suiCheckBox_DeInterlace
    CheckControl forceSync;          // suiCheckBox_ForceSync
    CheckControl addLetterBox{true, false}; // suiCheckBox_AddLetterBox, MPEG variants
    SelectorControl dvdSetting;      // suiComboBox_DVDPF
    bool dvdPanelVisible = false;    // DVDPanel
    std::string dvdLabel;            // Label_DVDLabel
    CheckControl dvdNtsc{true};      // suiCheckBox_DVD_NTSC
    CheckControl dvdPal{false};      // suiCheckBox_DVD_PAL
    CheckControl dvd169{true};       // suiCheckBox_DVD_169
    CheckControl dvd43{false};       // suiCheckBox_DVD_43
    CheckControl addLetterBoxVob{true}; // suiCheckBox_AddLetterBox_VOB
    TextControl outputFolder;        // suiEdit_OutputFolder, base folder + target sub-folder
    TextControl startTime;           // suiEdit_Start
    TextControl stopTime;            // suiEdit_Stop
    bool cropButtonVisible = true;
};

} // namespace quilo
