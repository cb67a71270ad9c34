// Modal questions and messages to the user, behind an interface so that every
// rule that shows a message can be run and checked without a display.
#pragma once

#include <string>
#include <vector>

namespace quilo {

enum class PromptKind { Information, Confirmation, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows `text` modally and returns the button the user pressed.
    virtual PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) = 0;

    void inform(const std::string& text) { ask(PromptKind::Information, text, PromptButtons::Ok); }
    void warn(const std::string& text) { ask(PromptKind::Warning, text, PromptButtons::Ok); }
    void error(const std::string& text) { ask(PromptKind::Error, text, PromptButtons::Ok); }
};

} // namespace quilo
