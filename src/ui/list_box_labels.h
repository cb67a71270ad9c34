// Qt tells assistive tools on Linux a list box's current value as its name; what
// the box is for comes from the label whose buddy it is. Boxes whose caption is
// not such a label would be read as a bare value ("MP3", "128").
#pragma once

class QWidget;

namespace quilo {

// Gives every list box under `root` that has an accessible name and no buddy
// label a hidden label carrying that name.
void LabelListBoxes(QWidget* root);

} // namespace quilo
