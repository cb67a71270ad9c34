#include "cli/console_prompter.h"

namespace quilo {

PromptAnswer ConsolePrompter::ask(PromptKind kind, const std::string& text, PromptButtons buttons) {
    const char* prefix = kind == PromptKind::Error     ? "error: "
                         : kind == PromptKind::Warning ? "warning: "
                                                       : "";
    std::string shown = text;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == ' '))
        shown.pop_back();
    out_ << "quilo-convert: " << prefix << shown << "\n";
    return buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel ? PromptAnswer::Yes
                                                                                    : PromptAnswer::Ok;
}

} // namespace quilo
