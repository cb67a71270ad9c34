// The notice window over its model: the multi-audio note with its link and its
// "Don't show this again" box, or one of the two switch warnings; OK and Cancel.
#pragma once

#include "media/notice.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace quilo {

class NoticeWindow : public QDialog {
    Q_OBJECT
public:
    explicit NoticeWindow(QWidget* parent = nullptr);

    // What the model's modal runner calls: shows the model's mode; true for OK.
    bool RunModal(Notice& notice);

private:
    Notice* notice_ = nullptr;
    QLabel *message_ = nullptr, *learnMore_ = nullptr, *link_ = nullptr, *warning_ = nullptr;
    QCheckBox* dontShowAgain_ = nullptr;
};

} // namespace quilo
