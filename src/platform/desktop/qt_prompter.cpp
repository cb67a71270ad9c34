#include "platform/desktop/qt_prompter.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>

namespace quilo {

// Off unless asked for (QT_LOGGING_RULES="quilo.messages.debug=true"): what the
// user was told, for support and for tests that drive the program from outside.
Q_LOGGING_CATEGORY(messagesLog, "quilo.messages", QtWarningMsg)

std::unique_ptr<QMessageBox> MakeMessageBox(PromptKind kind, const std::string& text, PromptButtons buttons,
                                            QWidget* parent) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case PromptKind::Information:
        icon = QMessageBox::Information;
        break;
    case PromptKind::Confirmation:
        icon = QMessageBox::Question;
        break;
    case PromptKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case PromptKind::Error:
        icon = QMessageBox::Critical;
        break;
    }
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    if (buttons == PromptButtons::OkCancel)
        set = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttons == PromptButtons::YesNo)
        set = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == PromptButtons::YesNoCancel)
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;

    auto box = std::make_unique<QMessageBox>(icon, QApplication::applicationDisplayName(),
                                             QString::fromStdString(text), set, parent);
    // A box is its window's child: a label colour meant for a dark window must
    // not reach the box's own light ground.
    box->setStyleSheet("QLabel { color: palette(window-text); }");
    return box;
}

PromptAnswer QtPrompter::ask(PromptKind kind, const std::string& text, PromptButtons buttons) {
    const auto box = MakeMessageBox(kind, text, buttons, parent_);
    qCDebug(messagesLog).noquote() << "message:" << QString::fromStdString(text).replace('\n', "\\n");
    switch (box->exec()) {
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return PromptAnswer::Ok;
    }
}

} // namespace quilo
