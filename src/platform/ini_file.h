// Settings files of sections with key=value lines.
//
// Section and key names compare without regard to case. Every read names a
// default for a missing file, section or key (and, for numbers, an unreadable
// value). Every write reaches the file at once, through a temporary file
// renamed over the old one, so a killed process never leaves half a file; and
// every read sees what is in the file now, whoever wrote it. Writes to one file
// from several threads are serialised.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quilo {

class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }
    bool exists() const;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback = {}) const;
    // Read like atol: optional blanks and sign, then the leading digits ("12abc" is 12).
    // A value without leading digits counts as unreadable and gives the fallback.
    long readInteger(const std::string& section, const std::string& key, long fallback = 0) const;
    // Any non-zero number is true.
    bool readBool(const std::string& section, const std::string& key, bool fallback = false) const;
    // The value when the key is present, even if empty.
    std::optional<std::string> find(const std::string& section, const std::string& key) const;

    // Section names in file order; key names of a section in file order.
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(const std::string& section) const;
    bool hasSection(const std::string& section) const;

    // Writes create the file and the section when missing. False when the file
    // cannot be read or written, or when a section name holds ']' or a line
    // break or a key name is empty or holds '=' or a line break; the old file
    // then stays as it was. Line breaks in a value become spaces, so that a
    // value can never add lines of its own to the file.
    bool writeString(const std::string& section, const std::string& key, const std::string& value);
    bool writeInteger(const std::string& section, const std::string& key, long value);
    bool writeBool(const std::string& section, const std::string& key, bool value);
    bool eraseKey(const std::string& section, const std::string& key);
    bool eraseSection(const std::string& section);

private:
    std::string path_;
    std::string lockKey_; // one spelling per file, so that "a.ini" and "./a.ini" share a lock
};

// atol-like parse of a whole text: nullopt when it has no leading digits.
std::optional<long> parseLenientInteger(const std::string& text);

} // namespace quilo
