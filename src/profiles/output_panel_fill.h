// Putting what the profile definitions say into the panel's controls.
#pragma once

#include "profiles/panel_controls.h"
#include "profiles/profile_definitions.h"

#include <string>

namespace quilo {

// A fresh fill takes the definition's default choice; a rebuild that brings the
// very same list back keeps what the user had chosen in it.
enum class Refill { Fresh, KeepSameChoice };

// Enabled selectors show grey and fixed ones white; the light green controls
// (image mode, resolution, width, height) keep their colour.
void FillSelector(SelectorControl& control, const ChoiceList& list, Refill refill = Refill::Fresh);
void FillNumberBox(NumberControl& control, const NumberSetting& number, Refill refill = Refill::Fresh);
void ClearSelector(SelectorControl& control);

// An index outside the list leaves the selector without selection.
void SelectIndex(SelectorControl& control, int index);
// A stored index counts only when it is below the number of items; otherwise
// the selector keeps its choice. Negative indexes clear the selection.
void RestoreIndex(SelectorControl& control, int index);

// The number a box's text holds, read like atol; 0 when it holds none.
int NumberInText(const std::string& text);

} // namespace quilo
