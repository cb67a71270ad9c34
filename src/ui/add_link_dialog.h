// The add-link dialog: a page address field over the add-link form's rules.
// It opens with the clipboard's address when there is one and closes with OK
// only for an address the form takes.
#pragma once

#include "downloader/add_link.h"

#include <QDialog>
#include <functional>

class QLineEdit;

namespace quilo {

class AddLinkDialog : public QDialog {
    Q_OBJECT
public:
    // `existing` gives the page addresses already in the list when OK is pressed.
    AddLinkDialog(AddLinkForm& form, Prompter& prompter, std::function<std::vector<std::string>()> existing,
                  QWidget* parent = nullptr);

    // Modal; true when the user confirmed an address (then in the form).
    bool ask();
    QLineEdit* urlField() const { return url_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AddLinkForm& form_;
    Prompter& prompter_;
    std::function<std::vector<std::string>()> existing_;
    QLineEdit* url_ = nullptr;
};

} // namespace quilo
