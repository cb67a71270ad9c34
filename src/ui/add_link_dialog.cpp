#include "ui/add_link_dialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quilo {
namespace {

QLabel* label(const char* text, const char* name, QWidget* parent) {
    auto* made = new QLabel(QString::fromUtf8(text), parent);
    made->setObjectName(name);
    return made;
}

} // namespace

AddLinkDialog::AddLinkDialog(AddLinkForm& form, Prompter& prompter,
                             std::function<std::vector<std::string>()> existing, QWidget* parent)
    : QDialog(parent), form_(form), prompter_(prompter), existing_(std::move(existing)) {
    setObjectName("addLinkDialog");
    setWindowTitle("Add URL");
    setAccessibleName("Add a web video link");
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 18, 22, 18);
    layout->setSpacing(6);
    layout->addWidget(label(AddLinkForm::Title, "title", this));
    layout->addWidget(label(AddLinkForm::Browse, "browse", this));
    layout->addWidget(label(AddLinkForm::Example, "example", this));
    layout->addSpacing(6);
    layout->addWidget(label(AddLinkForm::Paste, "paste", this));
    url_ = new QLineEdit(this);
    url_->setObjectName("edt_WebUrl");
    url_->setAccessibleName("Video page URL");
    url_->setMinimumWidth(440);
    url_->installEventFilter(this);
    layout->addWidget(url_);
    layout->addSpacing(4);
    layout->addWidget(label(AddLinkForm::Support, "support", this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName("OK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &AddLinkDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AddLinkDialog::reject);
    layout->addWidget(buttons);
}

bool AddLinkDialog::ask() {
    if (isVisible())
        return false;
    form_.Show(QGuiApplication::clipboard()->text().toStdString());
    url_->setText(QString::fromStdString(form_.Url));
    url_->setFocus();
    return exec() == QDialog::Accepted;
}

void AddLinkDialog::accept() {
    form_.Url = url_->text().toStdString();
    const bool taken = form_.Accept(existing_(), prompter_);
    url_->setText(QString::fromStdString(form_.Url));
    if (taken)
        QDialog::accept();
}

// The whole address is selected when the field gets the focus, so a paste replaces it.
bool AddLinkDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == url_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, url_, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

} // namespace quilo
