#include "profiles/profile_value.h"

#include "platform/ini_file.h"

#include <climits>

namespace quilo {

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

ProfileValue ProfileValue::Parse(const std::string& line) {
    ProfileValue value;
    std::size_t start = 0;
    for (int index = 0; index < FieldCount && start <= line.size(); ++index) {
        std::size_t comma = line.find(',', start);
        const std::string text =
            line.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const long number = parseLenientInteger(text).value_or(0);
        value.fields[index] = static_cast<int>(number < INT_MIN   ? INT_MIN
                                               : number > INT_MAX ? INT_MAX
                                                                  : number);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return value;
}

int ProfileValue::field(int number) const {
    return number >= 1 && number <= FieldCount ? fields[number - 1] : 0;
}

void ProfileValue::setField(int number, int value) {
    if (number >= 1 && number <= FieldCount)
        fields[number - 1] = value;
}

std::string ProfileValue::Format() const {
    std::string line;
    for (int index = 0; index < FieldCount; ++index) {
        if (index > 0)
            line += ',';
        line += std::to_string(fields[index]);
    }
    return line;
}

ProfileValue ProfileValue::EditorProfile(int outputFormat, int resolution, int frameRate, int videoBitRate,
                                         int audioBitrate, int sampleRate, int volume, int videoCodec,
                                         int audioCodec) {
    ProfileValue value;
    value.fields = {outputFormat, 0,      resolution, frameRate,  videoBitRate, audioBitrate,
                    sampleRate,   volume, 0,          videoCodec, audioCodec};
    return value;
}

} // namespace quilo
