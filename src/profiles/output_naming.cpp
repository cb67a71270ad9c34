#include "profiles/output_naming.h"

#include "profiles/profile_value.h"
#include "shell/text_format.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>

namespace quilo {
namespace {

void replaceAll(std::string& text, const std::string& tag, const std::string& replacement) {
    for (std::size_t at = text.find(tag); at != std::string::npos;
         at = text.find(tag, at + replacement.size()))
        text.replace(at, tag.size(), replacement);
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string baseNameWithoutExtension(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string zeroPadded(long long number, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", digits, number);
    return text;
}

} // namespace

std::string ExtensionForContainer(const std::string& container) {
    // Engine container names that are not the extension players expect.
    static const std::pair<const char*, const char*> named[] = {
        {"mpeg1", ".mpg"}, {"mpeg2", ".mpg"}, {"dvd", ".vob"}, {"mpeg2ts", ".ts"},
        {"asf", ".wmv"},   {"ipod", ".mp4"},  {"psp", ".mp4"},
    };
    const std::string lower = lowerCase(container);
    for (const auto& [name, extension] : named)
        if (lower == name)
            return extension;
    return "." + lower;
}

OutputNamer::OutputNamer(const ProfileDefinitions* definitions, const NamingSettings& settings,
                         OutputNamingSource& source, Today today)
    : definitions_(definitions), settings_(settings), source_(source), today_(std::move(today)) {}

std::string OutputNamer::OutputExtension() const {
    const TargetTypeId target = source_.currentTarget();
    const int format = source_.outputFormatIndex();
    std::string extension;
    if (format >= 0 && definitions_) {
        const std::string value =
            definitions_->LookupChoiceValue(TargetSection(targetIdentifier(target)), "OutputFormat", format);
        // Without a value there is no known extension; a ".nodef" file helps nobody.
        if (value != Nodef && !value.empty())
            extension = ExtensionForContainer(value);
        if (target == Target::HDTS)
            extension = ".m2ts";
    }
    if (target == Target::MPEG) {
        const int mode = source_.outputImageMode();
        if (mode == 11 || mode == 12 || mode == 17 || mode == 18)
            extension = ".vob";
    }
    if (target == Target::VOB_File)
        extension = ".vob";
    if (target == Target::PSP)
        extension = ".mp4";
    return extension;
}

std::string OutputNamer::ExpandTemplate(int position) const {
    const std::optional<NamingClip> clip = source_.clip(position);
    if (!clip)
        return FormatCounter4(
            static_cast<int>((static_cast<long long>(position) + settings_.SerialStart) % 10000));

    std::string name = TrimBlanks(settings_.Template);
    if (name.empty())
        name = "#SN";

    replaceAll(name, "#Name", baseNameWithoutExtension(clip->sourcePath));
    replaceAll(name, "#ClipID", "Clip" + std::to_string(position));

    const int seconds = std::max(0, clip->endTime - clip->startTime);
    replaceAll(name, "#Length", TwoDigits(seconds / 60) + "m" + TwoDigits(seconds % 60) + "s");

    std::string size = source_.widthText() + "x" + source_.heightText();
    if (source_.resolutionVisible())
        size = source_.resolutionText();
    else if (!source_.widthEnabled())
        size = std::to_string(clip->width) + "x" + std::to_string(clip->height);
    std::replace(size.begin(), size.end(), ':', 'x');
    replaceAll(name, "#Resolution", size);

    const QDate today = today_();
    replaceAll(name, "#Time",
               TwoDigits(today.month()) + "-" + TwoDigits(today.day()) + "-" + zeroPadded(today.year(), 4));

    const int digits = std::clamp(settings_.FixedDigits, 1, 9);
    replaceAll(name, "#SN", zeroPadded(static_cast<long long>(position) + settings_.SerialStart, digits));
    return name;
}

std::string OutputNamer::OutputFileName(int position) const {
    const TargetTypeId target = source_.currentTarget();
    if (authorsDvd(target))
        return "VOB_" + std::to_string(position + 1) + ".vob";
    return ExpandTemplate(position) + OutputExtension();
}

void OutputNamer::RefreshOutputNames() const {
    const int count = source_.clipCount();
    for (int position = 0; position < count; ++position)
        source_.setOutputName(position, OutputFileName(position));
}

bool OutputNamer::UsesSerialNumber(int position) const {
    // The name with the next serial start differs exactly when the serial is in it.
    NamingSettings other = settings_;
    other.SerialStart = settings_.SerialStart == INT_MAX ? INT_MAX - 1 : settings_.SerialStart + 1;
    return OutputNamer(definitions_, other, source_, today_).OutputFileName(position) !=
           OutputFileName(position);
}

} // namespace quilo
