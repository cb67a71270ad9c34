// The look the small dialogs share with the main window: dark panel, light
// text, links in light blue.
#pragma once

#include <QString>

namespace quilo {

inline QString DialogStyle() {
    return QStringLiteral(
        "QDialog { background: #1d2531; }"
        "QLabel, QCheckBox, QRadioButton { color: #e8eef6; font-size: 11px; }"
        "QLabel#title { font-size: 16px; font-weight: bold; }"
        "QLabel#link, QPushButton#link { color: #6fb6ff; text-decoration: underline; background: transparent;"
        "  border: none; font-size: 11px; }"
        "QPushButton#link:hover, QLabel#link:hover { color: #9fd0ff; }"
        "QPushButton#closeButton { color: #e8eef6; background: transparent; border: none; font-size: 14px; "
        "}");
}

} // namespace quilo
