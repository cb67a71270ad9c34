#include "downloader/add_link.h"

#include <algorithm>
#include <cctype>

namespace quilo {
namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

bool IsWebPageAddress(const std::string& text) {
    for (const std::string scheme : {"http://", "https://"}) {
        // Something must follow the scheme, and a line break or a control
        // character would reach the downloader as a second argument or worse.
        if (startsWith(text, scheme) && text.size() > scheme.size())
            return std::none_of(text.begin(), text.end(),
                                [](unsigned char c) { return c < 0x20 || c == 0x7f || c == ' '; });
    }
    return false;
}

void AddLinkForm::Show(const std::string& clipboard) {
    const std::string lower = lowerCase(clipboard);
    if (startsWith(lower, "http://") || startsWith(lower, "https://"))
        Url = clipboard;
}

bool AddLinkForm::Accept(const std::vector<std::string>& existing, Prompter& prompter) {
    Url = trimmed(Url);
    if (!IsWebPageAddress(Url)) {
        prompter.ask(PromptKind::Information, WrongVideoUrlText, PromptButtons::Ok);
        return false;
    }
    if (std::find(existing.begin(), existing.end(), Url) != existing.end()) {
        prompter.ask(PromptKind::Information, DuplicateVideoUrlText, PromptButtons::Ok);
        return false;
    }
    return true;
}

} // namespace quilo
