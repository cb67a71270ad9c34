// Which audio track of a clip plays by default.
#pragma once

#include <string>
#include <vector>

namespace quilo {

// Index of the chosen track among `trackLanguages` (in track order), -1 for a
// clip without audio. The first track in the preferred language wins; else the
// last in the user's system language; else the last in English; else the first.
// Comparisons ignore case.
int ChooseDefaultAudioTrack(const std::vector<std::string>& trackLanguages,
                            const std::string& preferredLanguage, const std::string& systemLanguage);

// The English name of the user's locale language ("German", "English", ...).
std::string SystemLanguageName();

} // namespace quilo
