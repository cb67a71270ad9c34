#include "profiles/options_model.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace quilo {
namespace {

// A whole number cut towards zero; nothing for a text that holds no number.
std::optional<int> wholeNumber(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value) || value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int>(std::trunc(value));
}

} // namespace

OptionsModel::OptionsModel(Files files, Prompter& prompter, OutputFolderFallback fallback)
    : options_(files.options), prompter_(prompter), fallback_(std::move(fallback)),
      editor_(files.definitions, files.savedProfiles) {
    editor_.SelectType(0);
    settings_.Naming = namingAsRead_ = ReadNamingSettings(options_);
    showNamingSettings();
    load();
}

OptionsModel::~OptionsModel() {
    if (!(settings_.Naming == namingAsRead_))
        WriteNamingSettings(options_, settings_.Naming);
}

void OptionsModel::showNamingSettings() {
    templateText = settings_.Naming.Template;
    serialStartText = std::to_string(settings_.Naming.SerialStart);
    fixedDigitsText = std::to_string(settings_.Naming.FixedDigits);
    add1_ = settings_.Naming.Add1;
    add2_ = settings_.Naming.Add2 && !add1_;
}

void OptionsModel::load() {
    LoadOptions(options_, fallback_, settings_);
    if (settings_.DownloadFolder.empty())
        settings_.DownloadFolder = settings_.OutputFolder + "Download/";
}

void OptionsModel::Open() {
    changed_ = false;
    load();
    editor_.SelectType(0);
    page_ = Page::FileName;
}

void OptionsModel::SetAdd1(bool checked) {
    add1_ = checked;
    if (checked)
        add2_ = false;
}

void OptionsModel::SetAdd2(bool checked) {
    add2_ = checked;
    if (checked)
        add1_ = false;
}

void OptionsModel::ClickTag(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(TemplateTags)))
        return;
    if (!templateText.empty())
        templateText += add1_ ? "-" : add2_ ? "_" : "";
    templateText += TemplateTags[index].tag;
}

void OptionsModel::SelectAudioLanguage(int index) {
    if (index >= 0 && index < static_cast<int>(AudioLanguages.size()))
        settings_.DefaultAudio = index;
    // The language selector shares the output format's handler, so the
    // profile page's format settings start over from their definitions.
    editor_.SelectOutputFormat(editor_.outputFormat.selected);
}

void OptionsModel::ChooseOutputFolder(const std::string& folder) {
    if (folder.empty())
        return;
    settings_.OutputFolder = WithTrailingSlash(folder);
    SaveLanguageAndFolder();
    settings_.DownloadFolder = settings_.OutputFolder + "Download/";
    std::error_code error;
    std::filesystem::create_directory(settings_.DownloadFolder, error);
}

bool OptionsModel::SaveLanguageAndFolder() {
    return quilo::SaveLanguageAndFolder(options_, settings_);
}

void OptionsModel::AddProfile() {
    if (editor_.AddProfile(prompter_))
        changed_ = true;
}

void OptionsModel::RemoveProfile() {
    if (editor_.RemoveProfile(prompter_))
        changed_ = true;
}

void OptionsModel::Ok() {
    changed_ = true;
    SaveLanguageAndFolder();
    settings_.Naming.Template = templateText;
    if (const auto serial = wholeNumber(serialStartText))
        settings_.Naming.SerialStart = *serial;
    if (const auto digits = wholeNumber(fixedDigitsText))
        settings_.Naming.FixedDigits = *digits;
    settings_.Naming.Add1 = add1_;
    settings_.Naming.Add2 = add2_;
}

void OptionsModel::ContinueSerialAt(int next) {
    if (next <= settings_.Naming.SerialStart)
        return;
    settings_.Naming.SerialStart = namingAsRead_.SerialStart = next;
    serialStartText = std::to_string(next);
    options_.writeInteger(OptionSection, "OutputPSPSerialNumber", next);
}

} // namespace quilo
