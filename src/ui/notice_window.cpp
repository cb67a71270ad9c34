#include "ui/notice_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {
namespace {

// The texts carry "\r\n" line ends; a label wants one break each.
QString labelText(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}

} // namespace

NoticeWindow::NoticeWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("noticeWindow");
    setWindowTitle(Notice::Caption);
    setAccessibleName(Notice::Caption);
    setModal(true);
    setFixedSize(404, 177);

    auto* layout = new QVBoxLayout(this);
    message_ = new QLabel(labelText(Notice::MultiAudioText), this);
    message_->setObjectName("labelMessage");
    message_->setWordWrap(true);
    warning_ = new QLabel(this);
    warning_->setObjectName("warningLabel");
    warning_->setAccessibleName("Warning");
    learnMore_ = new QLabel(Notice::LearnMoreText, this);
    learnMore_->setObjectName("Label1");
    link_ = new QLabel(this);
    link_->setObjectName("link");
    link_->setAccessibleName("Learn more about several audio tracks");
    dontShowAgain_ = new QCheckBox(Notice::DontShowAgainText, this);
    dontShowAgain_->setObjectName("cbMultiAudio");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("suiImageButton_OK");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("suiImageButton_Cancel");

    // The address is long: it has a line of its own.
    auto* linkRow = new QVBoxLayout;
    linkRow->setSpacing(0);
    linkRow->addWidget(learnMore_);
    linkRow->addWidget(link_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(dontShowAgain_);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addWidget(message_);
    layout->addWidget(warning_);
    layout->addLayout(linkRow);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(dontShowAgain_, &QCheckBox::clicked, this, [this](bool checked) {
        if (notice_)
            notice_->SetDontShowAgain(checked);
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool NoticeWindow::RunModal(Notice& notice) {
    notice_ = &notice;
    const bool multiAudio = notice.multiAudioShown();
    message_->setVisible(multiAudio);
    learnMore_->setVisible(multiAudio);
    link_->setVisible(multiAudio);
    dontShowAgain_->setVisible(multiAudio);
    warning_->setVisible(!multiAudio);
    warning_->setText(labelText(notice.warningText()));
    // An address wider than the window shows its middle cut out, whole in the tip.
    const QString address = QString::fromStdString(notice.linkAddress());
    link_->ensurePolished(); // the style sheet's font
    const int room = width() - layout()->contentsMargins().left() - layout()->contentsMargins().right();
    link_->setText(link_->fontMetrics().elidedText(address, Qt::ElideMiddle, room));
    link_->setToolTip(address);
    dontShowAgain_->setChecked(notice.dontShowAgain());
    const bool accepted = exec() == QDialog::Accepted;
    notice_ = nullptr;
    return accepted;
}

} // namespace quilo
