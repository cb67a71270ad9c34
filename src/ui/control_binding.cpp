#include "ui/control_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStringList>
#include <QStyle>
#include <algorithm>

namespace quilo {
namespace {

// The selector colours (the skin draws them): grey when the user may choose,
// white when the definition fixes the value, light green for the picture size
// controls. The style is worked out again only when the colour changes.
void showColour(QWidget* box, ControlColour colour) {
    const char* name = "grey";
    if (colour == ControlColour::White)
        name = "white";
    else if (colour == ControlColour::LightGreen)
        name = "green";
    if (box->property("selectorColour").toString() == QLatin1String(name))
        return;
    box->setProperty("selectorColour", name);
    box->style()->unpolish(box);
    box->style()->polish(box);
}

QStringList itemsOf(const std::vector<std::string>& items) {
    QStringList list;
    for (const auto& item : items)
        list << QString::fromStdString(item);
    return list;
}

} // namespace

void ShowSelector(QComboBox* box, const SelectorControl& control) {
    const QSignalBlocker blocker(box);
    const QStringList items = itemsOf(control.items);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(control.index >= 0 && control.index < control.count() ? control.index : -1);
    box->setEnabled(control.enabled);
    box->setVisible(control.visible);
    showColour(box, control.colour);
}

void ShowNumber(QSpinBox* box, const NumberControl& control) {
    const QSignalBlocker blocker(box);
    bool readable = false;
    const int value = QString::fromStdString(control.text).trimmed().toInt(&readable);
    // Definitions without a range leave the box open; a value outside the range still shows as it is.
    int low = control.minimum, high = control.maximum > control.minimum ? control.maximum : 99999;
    if (readable) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    box->setRange(low, high);
    box->setSingleStep(std::max(1, control.increment));
    if (box->cleanText() != QString::fromStdString(control.text))
        box->setValue(readable ? value : low);
    box->setEnabled(control.enabled);
    box->setVisible(control.visible);
    showColour(box, control.colour);
}

void ShowCheck(QCheckBox* box, const CheckControl& control) {
    const QSignalBlocker blocker(box);
    box->setChecked(control.checked);
    box->setVisible(control.visible);
}

void ShowText(QLineEdit* edit, const TextControl& control) {
    const QSignalBlocker blocker(edit);
    if (edit->text() != QString::fromStdString(control.text))
        edit->setText(QString::fromStdString(control.text));
    edit->setVisible(control.visible);
}

void ShowSlider(QSlider* slider, const SliderControl& control) {
    const QSignalBlocker blocker(slider);
    slider->setRange(control.minimum, std::max(control.minimum, control.maximum));
    slider->setValue(control.position);
    slider->setVisible(control.visible);
}

} // namespace quilo
