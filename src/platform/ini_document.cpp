#include "ini_document.h"

#include <algorithm>
#include <cctype>

namespace quilo {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

static std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument document;
    // Editors on other systems like to start a file with a byte order mark; it
    // would hide the first section header.
    if (text.starts_with("\xEF\xBB\xBF")) {
        document.byteOrderMark_ = true;
        text.remove_prefix(3);
    }
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);

        const std::string_view line = trimmed(raw);
        if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string_view::npos) {
            document.sections_.push_back({std::string(trimmed(line.substr(1, line.find(']') - 1))), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (line.empty() || line.front() == ';' || line.front() == '#' || equals == std::string_view::npos ||
            equals == 0) {
            document.sections_.back().lines.push_back({false, {}, std::string(raw)});
            continue;
        }
        document.sections_.back().lines.push_back({true, std::string(trimmed(line.substr(0, equals))),
                                                   std::string(trimmed(line.substr(equals + 1)))});
    }
    return document;
}

std::string IniDocument::serialize() const {
    std::string text = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
    for (const Section& section : sections_) {
        if (&section != &sections_.front())
            text += "[" + section.name + "]\n";
        for (const Line& line : section.lines)
            text += line.isEntry ? line.key + "=" + line.text + "\n" : line.text + "\n";
    }
    return text;
}

// The unnamed block before the first header is never a section that callers can address.
IniDocument::Section* IniDocument::findSection(std::string_view name) {
    name = trimmed(name);
    for (size_t i = 1; i < sections_.size(); ++i) {
        if (equalsIgnoringCase(sections_[i].name, name))
            return &sections_[i];
    }
    return nullptr;
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
    return const_cast<IniDocument*>(this)->findSection(name);
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    const Section* found = findSection(section);
    if (!found)
        return nullptr;
    key = trimmed(key);
    for (const Line& line : found->lines) {
        if (line.isEntry && equalsIgnoringCase(line.key, key))
            return &line.text;
    }
    return nullptr;
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 1; i < sections_.size(); ++i)
        names.push_back(sections_[i].name);
    return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* found = findSection(section)) {
        for (const Line& line : found->lines) {
            if (line.isEntry)
                names.push_back(line.key);
        }
    }
    return names;
}

bool IniDocument::hasSection(std::string_view section) const {
    return findSection(section) != nullptr;
}

// Names and values are stored as a read of the file would give them back.
void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trimmed(section);
    key = trimmed(key);
    value = trimmed(value);
    Section* found = findSection(section);
    if (!found) {
        sections_.push_back({std::string(section), {}});
        found = &sections_.back();
    }
    for (Line& line : found->lines) {
        if (line.isEntry && equalsIgnoringCase(line.key, key)) {
            line.text = value;
            return;
        }
    }
    // New keys go after the last entry, before trailing blank lines that separate sections.
    auto position = found->lines.end();
    while (position != found->lines.begin() && !std::prev(position)->isEntry &&
           trimmed(std::prev(position)->text).empty())
        --position;
    found->lines.insert(position, {true, std::string(key), std::string(value)});
}

bool IniDocument::erase(std::string_view section, std::string_view key) {
    Section* found = findSection(section);
    if (!found)
        return false;
    key = trimmed(key);
    return std::erase_if(found->lines, [&](const Line& line) {
               return line.isEntry && equalsIgnoringCase(line.key, key);
           }) > 0;
}

bool IniDocument::eraseSection(std::string_view section) {
    section = trimmed(section);
    bool erased = false;
    for (size_t i = sections_.size() - 1; i >= 1; --i) {
        if (equalsIgnoringCase(sections_[i].name, section)) {
            sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
            erased = true;
        }
    }
    return erased;
}

} // namespace quilo
