// The colours of every window, in one place: the palette Qt draws its own
// widgets with (message boxes, file dialogs, menus) and the style sheet of the
// program's windows are both made from these, so that every text stands out
// from the ground it is drawn on (a contrast of at least 4.5 : 1).
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <vector>

class QApplication;

namespace quilo::skin {

// Grounds, from the darkest.
inline const QColor FieldGround{0x14, 0x19, 0x1f};  // text fields, the clip list
inline const QColor WindowGround{0x1d, 0x25, 0x31}; // dialogs, message boxes, panels
inline const QColor ButtonGround{0x2a, 0x34, 0x42};
inline const QColor AccentGround{0x15, 0x65,
                                 0xc0}; // buttons that carry white text: Start, the current target
inline const QColor AccentGroundHover{0x1b, 0x6c, 0xc8};
inline const QColor SelectedGround{0x1a, 0x3d, 0x60}; // a selected row

// Inks.
inline const QColor Ink{0xe8, 0xee, 0xf6};
inline const QColor MutedInk{0x9f, 0xb0, 0xc4}; // captions and hints
inline const QColor DisabledInk{0x8a, 0x99, 0xab};
inline const QColor LinkInk{0x6f, 0xb6, 0xff};
inline const QColor BrightInk{0xff, 0xff, 0xff};

// Lines and marks that carry no text.
inline const QColor Accent{0x2f, 0x8f, 0xe8};
inline const QColor Border{0x3a, 0x46, 0x57};
inline const QColor FocusMark{0xff, 0xc8, 0x3d};

// The selector grounds of the output settings (black text): grey when the
// user may choose, white when the definition fixes the value, light green for
// the picture size.
inline const QColor SelectorGrey{202, 202, 202};
inline const QColor SelectorWhite{255, 255, 255};
inline const QColor SelectorGreen{203, 233, 171};
inline const QColor SelectorInk{0, 0, 0};
inline const QColor SelectorDisabledInk{0x4a, 0x4a, 0x4a};
// The trim fields' warning grounds.
inline const QColor FieldLime{0, 255, 0};
inline const QColor FieldRed{0xc6, 0x28, 0x28};

// The WCAG contrast ratio of two opaque colours, 1 … 21.
double ContrastRatio(const QColor& a, const QColor& b);

struct InkOnGround {
    const char* use;
    QColor ink;
    QColor ground;
};
// Every text colour the windows draw with, on each ground it is drawn on.
std::vector<InkOnGround> TextColourPairs();

QPalette Palette();
QString StyleSheet();
// Gives the application the palette and the style sheet: every window and
// message box made afterwards is drawn with them.
void Apply(QApplication& application);

} // namespace quilo::skin
