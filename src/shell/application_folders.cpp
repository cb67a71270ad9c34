#include "shell/application_folders.h"

#include "platform/ini_file.h"
#include "platform/user_folders.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace quilo {
namespace {

namespace fs = std::filesystem;

bool allDigits(const std::string& text) {
    for (unsigned char c : text)
        if (!std::isdigit(c))
            return false;
    return !text.empty();
}

bool folderReady(const fs::path& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error))
        return true;
    return fs::create_directory(folder, error) && !error;
}

} // namespace

IniFileVersion GetIniFileVersion(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return {};
    const std::string text = IniFile(path).readString("version", "ver", "");
    if (text.size() != 8 || !allDigits(text))
        return {};
    return {std::stoi(text.substr(0, 4)), std::stoi(text.substr(4, 2)), std::stoi(text.substr(6, 2))};
}

bool SeedSettingsFile(const std::string& installedPath, const std::string& userPath) {
    const IniFileVersion user = GetIniFileVersion(userPath);
    const IniFileVersion installed = GetIniFileVersion(installedPath);
    const bool installedIsNewer =
        user.year < installed.year || user.month < installed.month || user.day < installed.day;
    std::error_code error;
    if (!installedIsNewer && fs::exists(userPath, error))
        return true;
    if (!fs::is_regular_file(installedPath, error))
        return false;
    // Copied under a private name and renamed, so the user's copy is never half written.
    const std::string partial = userPath + ".seeding";
    if (!fs::copy_file(installedPath, partial, fs::copy_options::overwrite_existing, error)) {
        fs::remove(partial, error);
        return false;
    }
    fs::rename(partial, userPath, error);
    if (error) {
        fs::remove(partial, error);
        return false;
    }
    return true;
}

std::string EnsureDataFolder(const std::string& programFolder, const std::string& displayProductName,
                             std::string applicationData) {
    if (applicationData.empty())
        applicationData = applicationDataFolder();
    // The name comes from a file: it may only ever name one folder inside "Quilo".
    if (applicationData.empty() || displayProductName.empty() || displayProductName == "." ||
        displayProductName == ".." || displayProductName.find('/') != std::string::npos)
        return WithTrailingSlash(programFolder);
    // A fresh account may not have its data folder yet.
    std::error_code error;
    fs::create_directories(applicationData, error);
    const fs::path company = fs::path(WithTrailingSlash(applicationData)) / "Quilo";
    const fs::path product = company / displayProductName;
    if (!folderReady(company) || !folderReady(product))
        return WithTrailingSlash(programFolder);
    const std::string dataFolder = WithTrailingSlash(product.string());
    for (const char* name : SeededSettingsFiles)
        SeedSettingsFile(WithTrailingSlash(programFolder) + name,
                         dataFolder + name); // a failed copy is ignored
    return dataFolder;
}

} // namespace quilo
