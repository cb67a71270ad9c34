// The target catalogue and the category and target buttons.
#include "shell/target_catalogue.h"
#include "shell/target_selection.h"

#include <gtest/gtest.h>
#include <set>

using namespace quilo;

TEST(TargetCatalogue, IdentifiersAreUniqueAndFoundExactly) {
    std::set<std::string> seen;
    for (TargetTypeId id = 0; id < TargetCount; ++id) {
        const std::string identifier = targetIdentifier(id);
        EXPECT_TRUE(seen.insert(identifier).second) << identifier;
        EXPECT_EQ(targetByIdentifier(identifier), id);
        EXPECT_EQ(targetSubFolder(id).back(), '/') << identifier;
    }
    EXPECT_EQ(targetByIdentifier("AVI"), Target::AVI);
    EXPECT_EQ(targetByIdentifier("WAV"), 42);
    EXPECT_FALSE(targetByIdentifier("avi"));
    EXPECT_FALSE(targetByIdentifier(""));
    EXPECT_EQ(targetIdentifier(43), "");
    EXPECT_EQ(targetIdentifier(-1), "");
}

TEST(TargetCatalogue, SubFoldersThatDifferFromTheIdentifier) {
    EXPECT_EQ(targetSubFolder(Target::HDAVI), "HD_AVI/");
    EXPECT_EQ(targetSubFolder(Target::HDYoutube), "HD_Youtube/");
    EXPECT_EQ(targetSubFolder(Target::AppleTV_HD), "Apple_TV_HD/");
    for (TargetTypeId dvd : {Target::VOB_File, Target::DVD_Folder, Target::DVD_Disc, Target::DVD_ISO}) {
        EXPECT_EQ(targetSubFolder(dvd), "DVD/");
        EXPECT_TRUE(isDvdTarget(dvd));
    }
    int tagged = 0, audio = 0;
    for (TargetTypeId id = 0; id < TargetCount; ++id) {
        tagged += targetHasTags(id);
        audio += isAudioTarget(id);
    }
    EXPECT_EQ(tagged, 18); // the device families iPad … Android
    EXPECT_EQ(audio, 7);
    EXPECT_TRUE(targetHasTags(Target::Android));
    EXPECT_FALSE(targetHasTags(Target::AAC));
}

namespace {

struct Panel : TargetPanelPort {
    std::vector<TargetTypeId> selected;
    int profiles = 3;
    std::vector<int> chosenProfiles;
    void selectTarget(TargetTypeId target) override { selected.push_back(target); }
    int profileCount() const override { return profiles; }
    void selectProfile(int index) override { chosenProfiles.push_back(index); }
};

} // namespace

TEST(TargetButtons, ACategoryShowsItsRowAndSelectsItsLastTarget) {
    Panel panel;
    TargetSelectionModel buttons(panel);
    EXPECT_EQ(buttons.currentTarget(), -1);

    buttons.ConverterTypeClick(Category::Apple);
    EXPECT_EQ(buttons.currentTarget(), Target::iPad);
    EXPECT_FALSE(buttons.categoryButtonEnabled(Category::Apple));
    EXPECT_TRUE(buttons.categoryButtonEnabled(Category::Sony));
    EXPECT_TRUE(buttons.targetPanelVisible(Category::Apple));
    EXPECT_FALSE(buttons.targetButtonEnabled(Target::iPad));

    buttons.TargetTypeClick(Target::iPhone);
    EXPECT_TRUE(buttons.targetButtonEnabled(Target::iPad));
    EXPECT_FALSE(buttons.targetButtonEnabled(Target::iPhone));
    buttons.ConverterTypeClick(Category::Sony);
    buttons.ConverterTypeClick(Category::Apple);
    EXPECT_EQ(buttons.currentTarget(), Target::iPhone); // remembered per category
    EXPECT_FALSE(buttons.targetPanelVisible(Category::Sony));
    EXPECT_EQ(panel.selected.back(), Target::iPhone);
}

TEST(TargetButtons, MusicHasNoRowAndASwitchMakesItsTargetTheLastChosen) {
    Panel panel;
    TargetSelectionModel buttons(panel);
    buttons.ConverterTypeClick(Category::Music);
    EXPECT_EQ(buttons.currentTarget(), Target::MP3);
    EXPECT_FALSE(buttons.targetPanelVisible(Category::Music));

    buttons.ConverterTypeClick(Category::GeneralVideo);
    buttons.SelectTargetAsClicked(Target::WAV);
    EXPECT_EQ(buttons.currentCategory(), Category::Music);
    EXPECT_EQ(buttons.currentTarget(), Target::WAV);
    buttons.ConverterTypeClick(Category::HDVideo);
    buttons.ConverterTypeClick(Category::Music);
    EXPECT_EQ(buttons.currentTarget(), Target::WAV);

    // The hidden ISO button is reachable only this way.
    EXPECT_FALSE(TargetSelectionModel::targetButtonVisible(Target::DVD_ISO));
    buttons.SelectTargetAsClicked(Target::DVD_ISO);
    EXPECT_EQ(buttons.currentTarget(), Target::DVD_ISO);
}

TEST(TargetButtons, TheDvdPanelShowsOnlyWithTheDvdCategory) {
    Panel panel;
    TargetSelectionModel buttons(panel);
    buttons.ConverterTypeClick(Category::DVD);
    EXPECT_TRUE(buttons.dvdPanelVisible());
    EXPECT_EQ(buttons.currentTarget(), Target::VOB_File);
    buttons.ConverterTypeClick(Category::Portable);
    EXPECT_FALSE(buttons.dvdPanelVisible());
    EXPECT_EQ(buttons.currentTarget(), Target::Nokia);
}

TEST(TargetButtons, ARememberedProfileOutsideTheListIsForgotten) {
    Panel panel;
    TargetSelectionModel buttons(panel);
    buttons.ConverterTypeClick(Category::GeneralVideo);
    buttons.ProfileChosen(2);
    buttons.TargetTypeClick(Target::MP4);
    buttons.TargetTypeClick(Target::AVI);
    EXPECT_EQ(panel.chosenProfiles, std::vector<int>{2});

    buttons.ProfileChosen(5);
    panel.profiles = 3;
    buttons.TargetTypeClick(Target::MP4);
    buttons.TargetTypeClick(Target::AVI);
    EXPECT_EQ(panel.chosenProfiles, std::vector<int>{2}); // selection left alone
    EXPECT_EQ(buttons.rememberedProfile(Target::AVI), -1);
}
