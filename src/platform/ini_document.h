// The parsed form of a settings file, kept line by line so that a rewrite
// keeps comments, blank lines and the order of everything it did not change.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quilo {

class IniDocument {
public:
    static IniDocument parse(std::string_view text);
    std::string serialize() const;

    const std::string* find(std::string_view section, std::string_view key) const;
    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;
    bool hasSection(std::string_view section) const;

    void set(std::string_view section, std::string_view key, std::string_view value);
    bool erase(std::string_view section, std::string_view key);
    bool eraseSection(std::string_view section);

private:
    struct Line {
        bool isEntry = false;
        std::string key;  // entries only
        std::string text; // the value of an entry, the whole line otherwise
    };
    struct Section {
        std::string name; // empty for the lines before the first header
        std::vector<Line> lines;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<Section> sections_{Section{}};
    bool byteOrderMark_ = false;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace quilo
