#include "profiles/option_settings.h"

#include "platform/user_folders.h"
#include "profiles/profile_value.h"

#include <cstdint>
#include <filesystem>

namespace quilo {
namespace {

bool isFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

int clampToInt(long value, int fallback) {
    return value < INT32_MIN || value > INT32_MAX ? fallback : static_cast<int>(value);
}

} // namespace

std::string OptionSettings::DefaultAudioText() const {
    return DefaultAudio >= 0 && DefaultAudio < static_cast<int>(AudioLanguages.size())
               ? AudioLanguages[DefaultAudio]
               : std::string();
}

OutputFolderFallback OutputFolderFallback::FromDesktop() {
    return {quilo::videosFolder(), quilo::homeFolder()};
}

std::string ResolveOutputFolder(const std::string& stored, const OutputFolderFallback& fallback) {
    std::string folder = stored;
    if (folder == Nodef || !isFolder(folder)) {
        folder = fallback.videosFolder;
        if (!isFolder(folder) && !fallback.homeFolder.empty())
            folder = WithTrailingSlash(fallback.homeFolder) + "OutputFolder/";
    }
    folder = WithTrailingSlash(folder);
    if (!folder.empty() && !isFolder(folder)) {
        std::error_code error;
        std::filesystem::create_directory(folder, error);
    }
    return folder;
}

NamingSettings ReadNamingSettings(const IniFile& options) {
    NamingSettings naming;
    naming.Template = options.readString(OptionSection, "Template", naming.Template);
    naming.SerialStart = clampToInt(
        options.readInteger(OptionSection, "OutputPSPSerialNumber", naming.SerialStart), naming.SerialStart);
    naming.FixedDigits =
        clampToInt(options.readInteger(OptionSection, "FitDigi", naming.FixedDigits), naming.FixedDigits);
    naming.Add1 = options.readBool(OptionSection, "Add1", naming.Add1);
    naming.Add2 = options.readBool(OptionSection, "Add2", naming.Add2);
    return naming;
}

void WriteNamingSettings(IniFile& options, const NamingSettings& naming) {
    options.writeString(OptionSection, "Template", naming.Template);
    options.writeInteger(OptionSection, "OutputPSPSerialNumber", naming.SerialStart);
    options.writeInteger(OptionSection, "FitDigi", naming.FixedDigits);
    options.writeBool(OptionSection, "Add1", naming.Add1);
    options.writeBool(OptionSection, "Add2", naming.Add2);
}

void LoadOptions(const IniFile& options, const OutputFolderFallback& fallback, OptionSettings& settings) {
    const long audio = options.readInteger(OptionSection, "DefaultAudio", DefaultAudioLanguage);
    // An index outside the list would select no language at all.
    settings.DefaultAudio = audio >= 0 && audio < static_cast<long>(AudioLanguages.size())
                                ? static_cast<int>(audio)
                                : DefaultAudioLanguage;
    settings.OutputFolder =
        ResolveOutputFolder(options.readString(OptionSection, "OutputFolder", Nodef), fallback);
    settings.PSPUploadFolder = options.readString(OptionSection, "PSPUploadFolder", "");
    settings.PSPAVCFolder = options.readString(OptionSection, "PSPAVCFolder", "");
    settings.PSPMP4Folder = options.readString(OptionSection, "PSPMP4Folder", "");
    settings.MinDuration = clampToInt(options.readInteger(OptionSection, "MinDuration", -1), -1);
    settings.OpenDialogFilter = options.readString(OptionSection, "OpenDialogFilter", "");
}

bool SaveLanguageAndFolder(IniFile& options, OptionSettings& settings) {
    settings.OutputFolder = WithTrailingSlash(settings.OutputFolder);
    return options.writeInteger(OptionSection, "DefaultAudio", settings.DefaultAudio) &&
           options.writeString(OptionSection, "OutputFolder", settings.OutputFolder);
}

} // namespace quilo
