// The progress window's three end-action boxes live in the settings file
// between runs (section "Option").
#pragma once

#include "conversion/job_end.h"
#include "platform/ini_file.h"

namespace quilo {

JobEndChoices LoadJobEndChoices(const IniFile& options);
void SaveJobEndChoices(IniFile& options, const JobEndChoices& choices);

} // namespace quilo
