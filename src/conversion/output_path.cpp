#include "conversion/output_path.h"

#include <filesystem>

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

std::string UniqueOutputPath(const std::string& folder, const std::string& name) {
    std::error_code ignored;
    std::string path = folder + name;
    for (int n = 1; std::filesystem::exists(path, ignored); ++n)
        path = folder + std::to_string(n) + "-" + name;
    return path;
}

} // namespace quilo
