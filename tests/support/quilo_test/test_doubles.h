// Stand-ins for the user and the desktop: they answer from a script and record
// what the program asked of them.
#pragma once

#include "platform/desktop_services.h"
#include "platform/prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace quilo {

// Answers from a script and keeps every message it was shown.
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

// Records every request; answers as configured.
class RecordingDesktopServices : public DesktopServices {
public:
    bool openDocument(const std::string& pathOrUrl) override {
        opened.push_back(pathOrUrl);
        return openResult;
    }
    bool showInFileManager(const std::string& filePath) override {
        shown.push_back(filePath);
        return showResult;
    }
    int sendMail(const MailMessage& message) override {
        mails.push_back(message);
        return mailResult;
    }
    bool notify(const std::string& summary, const std::string& body) override {
        notifications.push_back(summary + "\n" + body);
        return notifyResult;
    }
    bool powerOff() override {
        ++powerOffRequests;
        return powerOffResult;
    }

    std::vector<std::string> opened;
    std::vector<std::string> shown;
    std::vector<MailMessage> mails;
    std::vector<std::string> notifications; // summary, a line break, the body
    int powerOffRequests = 0;
    bool openResult = true;
    bool showResult = true;
    int mailResult = MailSent;
    bool notifyResult = true;
    bool powerOffResult = true;
};

} // namespace quilo
