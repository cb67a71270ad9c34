#include "shell/target_selection.h"

namespace quilo {

TargetSelectionModel::TargetSelectionModel(TargetPanelPort& panel) : panel_(panel) {
    for (ConverterTypeId category = 0; category < CategoryCount; ++category)
        lastTarget_[category] = categoryTable()[category].defaultTarget;
    rememberedProfile_.fill(-1);
    categoryEnabled_.fill(true);
    targetEnabled_.fill(true);
    panelVisible_.fill(false);
}

void TargetSelectionModel::ConverterTypeClick(ConverterTypeId category) {
    if (category < 0 || category >= CategoryCount)
        return;
    categoryEnabled_.fill(true);
    panelVisible_.fill(false);
    categoryEnabled_[category] = false;
    // The audio target in use is the Music category's last chosen one; its row stays hidden.
    panelVisible_[category] = category != Category::Music;
    if (category == Category::DVD)
        dvdPanelVisible_ = true;
    category_ = category;
    TargetTypeClick(lastTarget_[category]);
    if (category != Category::DVD)
        dvdPanelVisible_ = false;
}

void TargetSelectionModel::TargetTypeClick(TargetTypeId target) {
    if (!isValidTarget(target))
        return;
    targetEnabled_.fill(true);
    targetEnabled_[target] = false;
    target_ = target;
    panel_.selectTarget(target);
    lastTarget_[category_] = target;
    int& remembered = rememberedProfile_[target];
    if (remembered != -1) {
        if (remembered < panel_.profileCount())
            panel_.selectProfile(remembered);
        else
            remembered = -1;
    }
}

void TargetSelectionModel::SelectTargetAsClicked(TargetTypeId target) {
    if (!isValidTarget(target))
        return;
    ConverterTypeClick(targetCategory(target));
    TargetTypeClick(target);
}

void TargetSelectionModel::ProfileChosen(int index) {
    if (isValidTarget(target_))
        rememberedProfile_[target_] = index;
}

} // namespace quilo
