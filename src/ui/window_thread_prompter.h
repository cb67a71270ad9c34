// Questions asked from a worker thread shown on a window's thread: the asking
// thread waits for the answer, as a message box needs the window thread.
#pragma once

#include "platform/prompter.h"

#include <QObject>
#include <QThread>

namespace quilo {

class WindowThreadPrompter : public Prompter {
public:
    WindowThreadPrompter(Prompter& shown, QObject* window) : shown_(shown), window_(window) {}

    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override {
        if (QThread::currentThread() == window_->thread())
            return shown_.ask(kind, text, buttons);
        PromptAnswer answer = PromptAnswer::Cancel;
        QMetaObject::invokeMethod(
            window_, [&] { answer = shown_.ask(kind, text, buttons); }, Qt::BlockingQueuedConnection);
        return answer;
    }

private:
    Prompter& shown_;
    QObject* window_;
};

} // namespace quilo
