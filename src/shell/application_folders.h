// The two folders every part of the program uses: the program folder with the
// installation files, and the per-user data folder with everything the program
// writes for itself. Both end with '/'.
#pragma once

#include <string>

namespace quilo {

struct IniFileVersion {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Section "version", key "ver", exactly eight digits YYYYMMDD; all zero when the
// file is missing or the value has another shape.
IniFileVersion GetIniFileVersion(const std::string& path);

// The settings files copied from the program folder into the data folder.
inline constexpr const char* SeededSettingsFiles[] = {"PfSetting.ini", "Option.ini"};

// Makes <applicationData>/Quilo/<displayProductName>/ and seeds the settings
// files into it. Returns that folder, or the program folder when either level
// cannot be created (then nothing is seeded). An empty `applicationData` means
// the user's own application data folder.
std::string EnsureDataFolder(const std::string& programFolder, const std::string& displayProductName,
                             std::string applicationData = {});

// Copies an installed settings file over the user's copy when the installed one
// is newer (year, month or day of the user's copy smaller, each on its own), and
// creates the user's copy when it is missing. False when a needed copy failed.
bool SeedSettingsFile(const std::string& installedPath, const std::string& userPath);

} // namespace quilo
