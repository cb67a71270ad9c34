// The settings that name output files, edited in the options dialog.
#pragma once

#include <string>

namespace quilo {

struct NamingSettings {
    std::string Template = "#Name";
    int SerialStart = 1; // added to the clip's list position
    int FixedDigits = 3; // minimum digits of the serial number
    bool Add1 = false;   // put "-" before a tag clicked into the template
    bool Add2 = false;   // put "_" before a tag clicked into the template

    bool operator==(const NamingSettings&) const = default;
};

struct TemplateTag {
    const char* tag;
    const char* help;
};

// In the order the options dialog shows them.
inline constexpr TemplateTag TemplateTags[] = {
    {"#Name", "\"#Name\" : Clip Name, such as Titanic, Transformers"},
    {"#ClipID", "\"#ClipID\" : Clip List Index, such as Clip1, Clip2"},
    {"#Length", "\"#Length\" : Output Clip Druation, such as 106m52s, 53m06s"},
    {"#Resolution", "\"#Resolution\" : Output Clip Video Size, such as 720x480, 480x320"},
    {"#Time", "\"#Time\" : File Processing Date, such as 10-25-2009, 03-07-2005"},
    {"#SN", "\"#SN\" : Serial Number, such as 002, 03"},
};

} // namespace quilo
