#include "ui/frame_rate_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quilo {

FrameRateDialog::FrameRateDialog(FrameRateChoice& choice, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), choice_(choice) {
    setObjectName("frameRateDialog");
    setAccessibleName("Frame rate");
    setWindowTitle("FPS");
    setModal(true);
    setFixedSize(423, 235);

    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(FrameRateChoice::PromptText, this);
    prompt->setObjectName("Label1");
    message_ = new QLabel(this);
    message_->setObjectName("labMessage");
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setFixedWidth(402);
    message_->setAccessibleName("Clip");
    first_ = new QRadioButton(this);
    first_->setObjectName("rbtnFPS1");
    first_->setAccessibleName("First frame rate");
    second_ = new QRadioButton(this);
    second_->setObjectName("rbtnFPS2");
    second_->setAccessibleName("Second frame rate");
    // The model keeps the two exclusive; Qt's own exclusivity would stop unchecking both.
    first_->setAutoExclusive(false);
    second_->setAutoExclusive(false);
    calculate_ = new QCheckBox(FrameRateChoice::CalculateText, this);
    calculate_->setObjectName("cbCalculate");
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("btnOk");

    auto* rates = new QHBoxLayout;
    rates->addStretch();
    rates->addWidget(first_);
    rates->addSpacing(40);
    rates->addWidget(second_);
    rates->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    layout->addWidget(prompt);
    layout->addWidget(message_);
    layout->addLayout(rates);
    layout->addWidget(calculate_);
    layout->addLayout(buttons);

    connect(first_, &QRadioButton::clicked, this, [this] {
        choice_.ClickFirst();
        refresh();
    });
    connect(second_, &QRadioButton::clicked, this, [this] {
        choice_.ClickSecond();
        refresh();
    });
    connect(calculate_, &QCheckBox::clicked, this, [this](bool checked) {
        choice_.SetCalculate(checked);
        refresh();
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void FrameRateDialog::RunModal() {
    message_->setText(QString::fromStdString(choice_.MessageText()));
    first_->setText(QString::fromStdString(choice_.FirstRateText()));
    second_->setText(QString::fromStdString(choice_.SecondRateText()));
    refresh();
    exec();
}

void FrameRateDialog::refresh() {
    first_->setChecked(choice_.FirstChecked());
    second_->setChecked(choice_.SecondChecked());
    first_->setEnabled(choice_.RatesEnabled());
    second_->setEnabled(choice_.RatesEnabled());
    calculate_->setChecked(choice_.CalculateChecked());
    ok_->setEnabled(choice_.OkEnabled());
}

} // namespace quilo
