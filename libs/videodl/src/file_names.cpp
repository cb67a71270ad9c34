#include "file_names.h"

namespace videodl {

namespace {

constexpr size_t MaxNameBytes = 200;

bool isContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

std::string expandFileNameFormat(const std::string& format, const VideoNaming& video) {
    std::string name;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            name += format[i];
            continue;
        }
        switch (format[++i]) {
        case 'i':
            name += video.id;
            break;
        case 't':
            name += video.title;
            break;
        case 's':
            name += video.extension;
            break;
        case '%':
            name += '%';
            break;
        default:
            name += '%';
            name += format[i];
        }
    }
    return name;
}

std::string safeFileName(const std::string& name) {
    std::string safe;
    for (unsigned char c : name)
        safe += (c < 0x20 || c == 0x7F || c == '/' || c == '\\') ? '_' : static_cast<char>(c);
    const size_t firstKept = safe.find_first_not_of(". ");
    safe.erase(0, firstKept == std::string::npos ? safe.size() : firstKept);
    while (!safe.empty() && safe.back() == ' ')
        safe.pop_back();
    if (safe.size() > MaxNameBytes) {
        size_t cut = MaxNameBytes;
        while (cut > 0 && isContinuationByte(static_cast<unsigned char>(safe[cut])))
            --cut;
        safe.resize(cut);
    }
    return safe.empty() ? "video" : safe;
}

std::string uniqueFileName(const std::string& name, std::set<std::string>& taken) {
    std::string candidate = name;
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = stem.size() == name.size() ? "" : name.substr(dot);
    for (int number = 2; taken.count(candidate); ++number)
        candidate = stem + " (" + std::to_string(number) + ")" + extension;
    taken.insert(candidate);
    return candidate;
}

} // namespace videodl
