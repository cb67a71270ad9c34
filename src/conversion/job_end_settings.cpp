#include "conversion/job_end_settings.h"

namespace quilo {
namespace {
constexpr const char* Section = "Option";
}

JobEndChoices LoadJobEndChoices(const IniFile& options) {
    JobEndChoices choices;
    choices.powerOff = options.readBool(Section, "PowerOff", false);
    choices.openFolder = options.readBool(Section, "OpenFolder", true);
    choices.upload = options.readBool(Section, "Upload", false);
    return choices;
}

void SaveJobEndChoices(IniFile& options, const JobEndChoices& choices) {
    options.writeBool(Section, "PowerOff", choices.powerOff);
    options.writeBool(Section, "OpenFolder", choices.openFolder);
    options.writeBool(Section, "Upload", choices.upload);
}

} // namespace quilo
