#include "profiles/audio_language.h"

#include <QLocale>
#include <cctype>

namespace quilo {
namespace {

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int lastMatching(const std::vector<std::string>& languages, const std::string& wanted) {
    int found = -1;
    for (int i = 0; i < static_cast<int>(languages.size()); ++i)
        if (upper(languages[i]) == wanted)
            found = i;
    return found;
}

} // namespace

int ChooseDefaultAudioTrack(const std::vector<std::string>& trackLanguages,
                            const std::string& preferredLanguage, const std::string& systemLanguage) {
    if (trackLanguages.empty())
        return -1;
    // An empty wanted language would pick a track that names no language.
    const std::string preferred = upper(preferredLanguage);
    if (!preferred.empty())
        for (int i = 0; i < static_cast<int>(trackLanguages.size()); ++i)
            if (upper(trackLanguages[i]) == preferred)
                return i;
    const std::string system = upper(systemLanguage);
    int chosen = system.empty() ? -1 : lastMatching(trackLanguages, system);
    if (chosen < 0)
        chosen = lastMatching(trackLanguages, "ENGLISH");
    return chosen < 0 ? 0 : chosen;
}

std::string SystemLanguageName() {
    return QLocale::languageToString(QLocale::system().language()).toStdString();
}

} // namespace quilo
