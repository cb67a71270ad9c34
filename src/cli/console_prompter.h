// Messages of the models on the console: texts go to the error stream, and a
// question takes the answer that lets the work go on.
#pragma once

#include "platform/prompter.h"

#include <ostream>

namespace quilo {

class ConsolePrompter : public Prompter {
public:
    explicit ConsolePrompter(std::ostream& out) : out_(out) {}
    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override;

private:
    std::ostream& out_;
};

} // namespace quilo
