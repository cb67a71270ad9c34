#include "profiles/output_panel_fill.h"

#include "platform/ini_file.h"

#include <climits>

namespace quilo {
namespace {

void paint(ControlColour& colour, bool enabled) {
    if (colour != ControlColour::LightGreen)
        colour = enabled ? ControlColour::Grey : ControlColour::White;
}

} // namespace

void FillSelector(SelectorControl& control, const ChoiceList& list, Refill refill) {
    const bool same = refill == Refill::KeepSameChoice && control.items == list.items;
    control.items = list.items;
    control.enabled = list.enabled;
    paint(control.colour, list.enabled);
    if (!same)
        SelectIndex(control, list.selected);
}

void FillNumberBox(NumberControl& control, const NumberSetting& number, Refill refill) {
    const bool same = refill == Refill::KeepSameChoice && control.minimum == number.minimum &&
                      control.maximum == number.maximum && control.increment == number.increment &&
                      control.enabled == number.enabled;
    control.minimum = number.minimum;
    control.maximum = number.maximum;
    control.increment = number.increment;
    control.enabled = number.enabled;
    paint(control.colour, number.enabled);
    if (!same)
        control.text = std::to_string(number.initial);
}

void ClearSelector(SelectorControl& control) {
    control.items.clear();
    control.index = -1;
}

void SelectIndex(SelectorControl& control, int index) {
    control.index = index >= 0 && index < control.count() ? index : -1;
}

void RestoreIndex(SelectorControl& control, int index) {
    if (index < control.count())
        control.index = index < 0 ? -1 : index;
}

int NumberInText(const std::string& text) {
    const std::optional<long> number = parseLenientInteger(text);
    if (!number)
        return 0;
    return static_cast<int>(*number < INT_MIN ? INT_MIN : *number > INT_MAX ? INT_MAX : *number);
}

} // namespace quilo
