// Message dialogs shown with Qt's standard message box.
#pragma once

#include "platform/prompter.h"

class QWidget;

namespace quilo {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override;

private:
    QWidget* parent_;
};

} // namespace quilo
