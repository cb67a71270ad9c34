// File names for downloaded videos. Ids, titles and extensions come from the
// network, so every name is made a single harmless path component.
#pragma once

#include <set>
#include <string>

namespace videodl {

struct VideoNaming {
    std::string id;
    std::string title;
    std::string extension;
};

// Expands a file-name format: %i the id, %t the title, %s the extension, %% a
// percent sign; any other character is kept as it is.
std::string expandFileNameFormat(const std::string& format, const VideoNaming& video);

// The name as one path component: no separators or control characters, no
// leading dots (no ".." and no hidden files), at most 200 bytes without cutting
// a UTF-8 character, never empty.
std::string safeFileName(const std::string& name);

// `name`, or the name with " (2)", " (3)" … before its extension when a video of
// the same run already has it; the result is added to `taken`.
std::string uniqueFileName(const std::string& name, std::set<std::string>& taken);

} // namespace videodl
