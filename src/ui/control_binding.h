// Puts what a model control holds into its widget: items, selection, text,
// enabled, visible and colour. Signals are blocked meanwhile, so showing the
// model never comes back to it as a user's change.
#pragma once

#include "profiles/panel_controls.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace quilo {

void ShowSelector(QComboBox* box, const SelectorControl& control);
void ShowNumber(QSpinBox* box, const NumberControl& control);
void ShowCheck(QCheckBox* box, const CheckControl& control);
void ShowText(QLineEdit* edit, const TextControl& control);
void ShowSlider(QSlider* slider, const SliderControl& control);

} // namespace quilo
