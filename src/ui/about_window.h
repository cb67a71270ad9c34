// The about window over its model: the product, its version and build, and
// the update log, home page and contact links.
#pragma once

#include "shell/about_model.h"

#include <QDialog>

namespace quilo {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(AboutModel& model, QWidget* parent = nullptr);

private:
    AboutModel& model_;
};

} // namespace quilo
