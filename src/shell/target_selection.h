// The two rows of picture buttons through which the user picks a category and
// a target, as a model: which buttons are enabled (a disabled button is drawn
// as the selected one), which target row and whether the DVD settings show,
// and each category's last chosen target and each target's remembered profile.
#pragma once

#include "shell/target_catalogue.h"

#include <array>

namespace quilo {

// The output settings panel as the buttons see it.
class TargetPanelPort {
public:
    virtual ~TargetPanelPort() = default;
    // Saves the previous target's values, loads the target's profiles, shows its folder.
    virtual void selectTarget(TargetTypeId target) = 0;
    virtual int profileCount() const = 0;
    virtual void selectProfile(int index) = 0;
};

class TargetSelectionModel {
public:
    explicit TargetSelectionModel(TargetPanelPort& panel);

    void ConverterTypeClick(ConverterTypeId category);
    void TargetTypeClick(TargetTypeId target);
    // The category's button, then the target's, as a command-line switch does.
    void SelectTargetAsClicked(TargetTypeId target);
    // The user picked an entry of the profile list for the current target.
    void ProfileChosen(int index);

    ConverterTypeId currentCategory() const { return category_; }
    TargetTypeId currentTarget() const { return target_; }
    TargetTypeId lastTarget(ConverterTypeId category) const { return lastTarget_.at(category); }
    int rememberedProfile(TargetTypeId target) const { return rememberedProfile_.at(target); }

    bool categoryButtonEnabled(ConverterTypeId category) const { return categoryEnabled_.at(category); }
    bool targetButtonEnabled(TargetTypeId target) const { return targetEnabled_.at(target); }
    // The target row of a category; the Music row never shows.
    bool targetPanelVisible(ConverterTypeId category) const { return panelVisible_.at(category); }
    bool dvdPanelVisible() const { return dvdPanelVisible_; }
    // The DVD_ISO button is hidden: that target comes only from the command line or settings.
    static bool targetButtonVisible(TargetTypeId target) { return target != Target::DVD_ISO; }

private:
    TargetPanelPort& panel_;
    ConverterTypeId category_ = Category::GeneralVideo;
    TargetTypeId target_ = -1;
    std::array<TargetTypeId, CategoryCount> lastTarget_{};
    std::array<int, TargetCount> rememberedProfile_{};
    std::array<bool, CategoryCount> categoryEnabled_{};
    std::array<bool, TargetCount> targetEnabled_{};
    std::array<bool, CategoryCount> panelVisible_{};
    bool dvdPanelVisible_ = false;
};

} // namespace quilo
