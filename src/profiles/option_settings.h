// The program-wide settings the options dialog keeps in memory, loaded from
// and saved to the settings file "Option.ini".
#pragma once

#include "platform/ini_file.h"
#include "platform/user_folders.h"
#include "profiles/naming_settings.h"

#include <array>
#include <string>

namespace quilo {

inline constexpr const char* OptionSection = "Option";

inline constexpr std::array<const char*, 12> AudioLanguages = {
    "Deutsch", "English", "Espanol",   "Francais", "Italiano", "Japanese",
    "Korean",  "Latin",   "Portugues", "Russian",  "Thai",     "Chinese",
};
inline constexpr int DefaultAudioLanguage = 1; // English

struct OptionSettings {
    std::string OutputFolder; // the base output folder, ends with '/'
    std::string DownloadFolder;
    int DefaultAudio = DefaultAudioLanguage;
    NamingSettings Naming;
    std::string PSPUploadFolder;
    std::string PSPAVCFolder;
    std::string PSPMP4Folder;
    int MinDuration = -1;
    std::string OpenDialogFilter;

    // The selected language's text, empty for an index outside the list.
    std::string DefaultAudioText() const;
};

// Where the base output folder goes when the stored one is unusable.
struct OutputFolderFallback {
    std::string videosFolder; // the user's videos folder, may not exist
    std::string homeFolder;
    static OutputFolderFallback FromDesktop();
};

// The stored folder when it exists; else the videos folder when it exists;
// else "OutputFolder/" in the home folder. Ends with '/', and is created
// (one level) when missing.
std::string ResolveOutputFolder(const std::string& stored, const OutputFolderFallback& fallback);

NamingSettings ReadNamingSettings(const IniFile& options);
void WriteNamingSettings(IniFile& options, const NamingSettings& naming);

// The folder settings and the language; reread at every opening of the dialog.
void LoadOptions(const IniFile& options, const OutputFolderFallback& fallback, OptionSettings& settings);
// Writes the language index and the base output folder.
bool SaveLanguageAndFolder(IniFile& options, OptionSettings& settings);

} // namespace quilo
