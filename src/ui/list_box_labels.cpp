#include "ui/list_box_labels.h"

#include <QComboBox>
#include <QLabel>

namespace quilo {
namespace {

bool hasBuddyLabel(const QComboBox* box) {
    const QWidget* parent = box->parentWidget();
    if (!parent)
        return false;
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == box)
            return true;
    return false;
}

} // namespace

void LabelListBoxes(QWidget* root) {
    for (QComboBox* box : root->findChildren<QComboBox*>()) {
        if (box->accessibleName().isEmpty() || !box->parentWidget() || hasBuddyLabel(box))
            continue;
        auto* label = new QLabel(box->accessibleName(), box->parentWidget());
        label->setBuddy(box);
        label->hide();
    }
}

} // namespace quilo
