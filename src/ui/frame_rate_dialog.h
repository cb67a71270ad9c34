// The frame-rate choice window over its model: two rates to pick from, or
// "calculate for me", and OK.
#pragma once

#include "media/frame_rate_choice.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quilo {

class FrameRateDialog : public QDialog {
    Q_OBJECT
public:
    FrameRateDialog(FrameRateChoice& choice, QWidget* parent = nullptr);

    // What the model's modal runner calls: shows the model's texts and waits.
    void RunModal();

private:
    void refresh();

    FrameRateChoice& choice_;
    QLabel* message_ = nullptr;
    QRadioButton *first_ = nullptr, *second_ = nullptr;
    QCheckBox* calculate_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace quilo
