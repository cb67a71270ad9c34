// Message dialogs shown with Qt's standard message box.
#pragma once

#include "platform/prompter.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace quilo {

// The message box that shows `text`, as the prompter shows it.
std::unique_ptr<QMessageBox> MakeMessageBox(PromptKind kind, const std::string& text, PromptButtons buttons,
                                            QWidget* parent);

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override;

private:
    QWidget* parent_;
};

} // namespace quilo
