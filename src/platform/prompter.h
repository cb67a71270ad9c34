// Modal questions and messages to the user, behind an interface so that every
// rule that shows a message can be run and checked without a display.
#pragma once

#include <deque>
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

// For tests and for the command-line converter: answers from a script and keeps
// every message it was shown.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        PromptKind kind;
        std::string text;
        PromptButtons buttons;
    };

    // Answers are used in order; when they run out, the first button of the set
    // (Ok or Yes) is the answer.
    void script(std::vector<PromptAnswer> answers) { answers_.assign(answers.begin(), answers.end()); }

    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override {
        shown_.push_back({kind, text, buttons});
        if (!answers_.empty()) {
            PromptAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel ? PromptAnswer::Yes
                                                                                        : PromptAnswer::Ok;
    }

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const auto& message : shown_)
            all.push_back(message.text);
        return all;
    }
    void clear() { shown_.clear(); }

private:
    std::deque<PromptAnswer> answers_;
    std::vector<Shown> shown_;
};

} // namespace quilo
