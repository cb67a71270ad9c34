#include "conversion/output_path.h"

#include <filesystem>
#include <unistd.h>

namespace quilo {

std::string SanitizeOutputName(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        switch (c) {
        case '\\':
        case '/':
        case '*':
        case ':':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            c = '_';
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                c = '_';
        }
    }
    // "." and ".." would name folders, not files.
    if (safe.empty() || safe == "." || safe == "..")
        safe = "_" + safe;
    return safe;
}

std::string FitFileName(const std::string& name, std::size_t longest) {
    if (name.size() <= longest)
        return name;
    const std::size_t dot = name.rfind('.');
    const std::string extension =
        dot != std::string::npos && dot > 0 && name.size() - dot < longest ? name.substr(dot) : std::string();
    std::size_t stem = longest - extension.size();
    // Never half a UTF-8 character: back off over continuation bytes.
    while (stem > 0 && (static_cast<unsigned char>(name[stem]) & 0xC0) == 0x80)
        --stem;
    return name.substr(0, stem) + extension;
}

std::string UniqueOutputPath(const std::string& folder, const std::string& name) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    const std::size_t longest = limit > 0 ? static_cast<std::size_t>(limit) : 255;
    std::error_code ignored;
    std::string path = folder + FitFileName(name, longest);
    for (int n = 1; std::filesystem::exists(path, ignored); ++n) {
        const std::string prefix = std::to_string(n) + "-";
        path = folder + prefix + FitFileName(name, longest - prefix.size());
    }
    return path;
}

} // namespace quilo
