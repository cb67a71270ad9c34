// Saved profiles: the two lists with their summaries, reading a slot, saving
// and removing with their questions.
#include "platform/ini_file.h"
#include "profiles/saved_profiles.h"
#include "quilo_test/test_doubles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <quilo_test/support.h>

using namespace quilo;
using quilo::test::TempDir;
using quilo::test::writeFile;

namespace {

const char* Definitions = R"([Tamber-AVI]
ProfileName=AVI-Profile
OutputFormatCount=1
OutputFormatText0=avi
VideoCodecText=xvid
VideoResolutionText0=320:240
VideoResolutionText1=640:480
AudioBitrateText0=96
AudioBitrateText1=128
AudioSampleRateText0=44100
AudioSampleRateText1=48000

[Tamber-Xbox]
ProfileName=Xbox-Profile
OutputFormatCount=2
OutputFormatText0=mp4
OutputFormatText1=wmv
OutputFormatValue1=asf

[Tamber-Xbox-mp4]
VideoResolutionText0=640:480
AudioBitrateText0=160
AudioSampleRateText0=48000

[Tamber-Xbox-asf]
VideoResolutionText0=720:480
AudioBitrateText0=192
AudioSampleRateText0=44100

[Tamber-Xbox-wmv]
VideoResolutionText0=720:480
AudioBitrateText0=192
AudioSampleRateText0=44100

[Tamber-WAV]
OutputFormatCount=1
)";

class SavedProfilesTest : public ::testing::Test {
protected:
    SavedProfilesTest()
        : definitions((writeFile(dir.file("PfDef.dll"), Definitions), dir.file("PfDef.dll"))),
          profiles(dir.file("PfSetting.ini"), definitions), file(dir.file("PfSetting.ini")) {}

    void givenProfiles(const std::string& text) { writeFile(file.path(), text); }
    std::string key(const std::string& section, const std::string& name) {
        return file.readString(section, name, "?");
    }

    TempDir dir;
    ProfileDefinitions definitions;
    SavedProfiles profiles;
    IniFile file;
    ScriptedPrompter prompter;
};

TEST_F(SavedProfilesTest, MainWindowListSummariesFromTargetAndFormatSubSection) {
    givenProfiles("[AVI-Profile]\nProfileCount=4\nProfileDefault=3\n"
                  "ProfileText0=Small\nProfileValue0=0,0,0,0,800,0,0,0,1,0,0\n"
                  "ProfileText1=nodef\n"
                  "ProfileText2=Gone\n"
                  "ProfileText3=Big\nBig=0,0,1,0,1500,1,1,0,0,0,0\n"
                  "[Xbox-Profile]\nProfileCount=2\n"
                  "ProfileText0=Wmv\nWmv=1,0,0,0,2500,0,0,0,0,0,0\n"
                  "ProfileText1=Out of range\nOut of range=7,0,5,0,2500,0,0,0,0,0,0\n");

    const MainWindowProfileList avi = profiles.ListForMainWindow("Tamber-AVI");
    ASSERT_TRUE(avi.hasProfiles);
    EXPECT_EQ(avi.section, "AVI-Profile");
    EXPECT_EQ(avi.defaultSlot, 3);
    ASSERT_EQ(avi.entries.size(), 2u);
    EXPECT_EQ(avi.entries[0].slot, 0);
    EXPECT_EQ(avi.entries[0].summary, "Small : Video-avi,320:240,800kbps,Audio-96kbps,44100hz");
    EXPECT_EQ(avi.entries[1].slot, 3);
    EXPECT_EQ(avi.entries[1].summary, "Big : Video-avi,640:480,1500kbps,Audio-128kbps,48000hz");

    const MainWindowProfileList xbox = profiles.ListForMainWindow("Tamber-Xbox");
    ASSERT_EQ(xbox.entries.size(), 2u);
    EXPECT_EQ(xbox.entries[0].summary, "Wmv : Video-asf,720:480,2500kbps,Audio-192kbps,44100hz");
    // An unknown format falls back to the first; an unknown size leaves the size out.
    EXPECT_EQ(xbox.entries[1].summary, "Out of range : Video-mp4,2500kbps,Audio-160kbps,48000hz");
}

TEST_F(SavedProfilesTest, TargetWithoutProfileNameHasNoProfiles) {
    EXPECT_FALSE(profiles.ListForMainWindow("Tamber-WAV").hasProfiles);
    EXPECT_FALSE(profiles.ListForMainWindow("Tamber-Unknown").hasProfiles);
}

TEST_F(SavedProfilesTest, MissingFileGivesEmptyListsAndFirstSaveCreatesIt) {
    EXPECT_TRUE(profiles.ListForMainWindow("Tamber-AVI").entries.empty());
    EXPECT_TRUE(profiles.ListForEditor("AVI").entries.empty());
    EXPECT_TRUE(profiles.Save("AVI-Profile", "  Mine ", "0,0,1,0,900,1,0,0,0,0,0", prompter));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(key("AVI-Profile", "ProfileCount"), "1");
    EXPECT_EQ(key("AVI-Profile", "ProfileText0"), "Mine");
    EXPECT_EQ(key("AVI-Profile", "Mine"), "0,0,1,0,900,1,0,0,0,0,0");
}

TEST_F(SavedProfilesTest, ReadEntryPrefersSlotValueThenNameKey) {
    givenProfiles("[P]\nProfileCount=3\nProfileText0=A\nProfileValue0=1,2\nA=9\nProfileText1=B\nB=3,4\n"
                  "ProfileText2=C\n");
    EXPECT_EQ(profiles.ReadEntry("P", 0).value, "1,2");
    EXPECT_EQ(profiles.ReadEntry("P", 1).value, "3,4");
    EXPECT_FALSE(profiles.ReadEntry("P", 2).applies());
    EXPECT_FALSE(profiles.ReadEntry("P", 5).applies());
}

TEST_F(SavedProfilesTest, EditorListReadsNameKeysAndSelectsTheDefaultSlot) {
    givenProfiles("[Xbox-Profile]\nProfileCount=4\nProfileDefault=3\n"
                  "ProfileText0=Shipped\nProfileValue0=0,0,0,0,1,0,0,0,1,0,0\n"
                  "ProfileText1=nodef\n"
                  "ProfileText2=Wmv\nWmv=1,0,0,0,2500,0,0,0,0,0,0\n"
                  "ProfileText3=Bad format\nBad format=9,0,0,0,700,0,0,0,0,0,0\n");
    const EditorProfileList list = profiles.ListForEditor("Xbox");
    EXPECT_EQ(list.section, "Xbox-Profile");
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[0].summary, "Shipped");
    EXPECT_EQ(list.entries[0].value, "nodef");
    EXPECT_EQ(list.entries[1].summary, "Wmv : Video-wmv,720:480,2500kbps,Audio-192kbps,44100hz");
    // Format 9 does not exist: no format text, no sub-section, the "0" defaults.
    EXPECT_EQ(list.entries[2].summary, "Bad format : Video-,,700kbps,Audio-0kbps,0hz");
    EXPECT_EQ(list.selected, 2);
}

TEST_F(SavedProfilesTest, SaveReusesTheFirstHoleOrAppends) {
    givenProfiles("[P]\nProfileCount=3\nProfileText0=A\nA=1\nProfileText1=nodef\nProfileText2=C\nC=1\n");
    EXPECT_TRUE(profiles.Save("P", "New", "5", prompter));
    EXPECT_EQ(key("P", "ProfileCount"), "3");
    EXPECT_EQ(key("P", "ProfileText1"), "New");
    EXPECT_TRUE(profiles.Save("P", "Newer", "6", prompter));
    EXPECT_EQ(key("P", "ProfileCount"), "4");
    EXPECT_EQ(key("P", "ProfileText3"), "Newer");
    EXPECT_EQ(key("P", "Newer"), "6");
}

TEST_F(SavedProfilesTest, OverwriteAsksAndNoChangesNothing) {
    givenProfiles("[P]\nProfileCount=1\nProfileText0=A\nA=1,0,0\n");
    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(profiles.Save("P", "A", "2,0,0", prompter));
    EXPECT_EQ(key("P", "A"), "1,0,0");
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0], "Profile Name : \"A\" already exists.\nDo you want to overwrite it?");
    EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::YesNo);

    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(profiles.Save("P", "A", "2,0,0", prompter));
    EXPECT_EQ(key("P", "A"), "2,0,0");
    EXPECT_EQ(key("P", "ProfileCount"), "1");
}

TEST_F(SavedProfilesTest, ProtectedProfileIsNeitherOverwrittenNorRemoved) {
    givenProfiles("[P]\nProfileCount=1\nProfileText0=Built In\nBuilt In=0,0,0,0,768,0,0,0,1,0,0\n");
    EXPECT_FALSE(profiles.Save("P", "Built In", "1,0,0", prompter));
    EXPECT_FALSE(profiles.Remove("P", 0, prompter));
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Profile Name : \"Built In\".\nYou Can not modify this setting!",
                                        "Profile Name : \"Built In\".\nYou Can not remove this setting!"}));
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Information);
    EXPECT_EQ(key("P", "Built In"), "0,0,0,0,768,0,0,0,1,0,0");
    EXPECT_EQ(key("P", "ProfileText0"), "Built In");
}

TEST_F(SavedProfilesTest, ProfileKeptUnderItsSlotIsProtectedAndNotListedTwice) {
    givenProfiles("[P]\nProfileCount=2\nProfileText0=Shipped\nProfileValue0=0,0,0,0,768,0,0,0,1,0,0\n"
                  "ProfileText1=Plain\nProfileValue1=0,0,0,0,500,0,0,0,0,0,0\n");
    EXPECT_FALSE(profiles.Remove("P", 0, prompter));
    EXPECT_FALSE(profiles.Save("P", "Shipped", "1", prompter));
    EXPECT_EQ(key("P", "ProfileText0"), "Shipped");

    // Saving under the name of an unprotected one overwrites it in place.
    prompter.clear();
    EXPECT_TRUE(profiles.Save("P", "plain", "0,0,0,0,900,0,0,0,0,0,0", prompter));
    EXPECT_EQ(prompter.texts().size(), 1u); // the overwrite question
    EXPECT_EQ(key("P", "ProfileCount"), "2");
    EXPECT_EQ(profiles.ReadEntry("P", 1).value, "0,0,0,0,900,0,0,0,0,0,0");
}

TEST_F(SavedProfilesTest, RemoveAsksOnlyWhenThereIsAValueAndLeavesAHole) {
    givenProfiles("[P]\nProfileCount=3\nProfileText0=A\nA=1\nProfileText1=B\nB=2\nProfileText2=C\n");
    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(profiles.Remove("P", 1, prompter));
    EXPECT_EQ(prompter.texts().back(), "Profile Name : \"B\".\nDo you want to remove it?");
    EXPECT_EQ(key("P", "B"), "2");

    EXPECT_TRUE(profiles.Remove("P", 1, prompter)); // answered Yes
    EXPECT_EQ(key("P", "ProfileText1"), "nodef");
    EXPECT_EQ(key("P", "B"), "nodef");
    EXPECT_EQ(key("P", "ProfileCount"), "3");

    prompter.clear();
    EXPECT_TRUE(profiles.Remove("P", 2, prompter)); // no value: no question
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(key("P", "ProfileText2"), "nodef");
    EXPECT_FALSE(profiles.Remove("P", 2, prompter)); // already a hole
    EXPECT_FALSE(profiles.Remove("P", 7, prompter));
}

TEST_F(SavedProfilesTest, EntriesKeepTheirSlotsAfterAnEarlierRemoval) {
    givenProfiles("[AVI-Profile]\nProfileCount=3\nProfileText0=A\nA=0,0,0,0,1,0,0,0,0,0,0\n"
                  "ProfileText1=B\nB=0,0,0,0,2,0,0,0,0,0,0\nProfileText2=C\nC=0,0,0,0,3,0,0,0,0,0,0\n");
    ASSERT_TRUE(profiles.Remove("AVI-Profile", 1, prompter));
    const auto list = profiles.ListForMainWindow("Tamber-AVI");
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[1].slot, 2);
    EXPECT_EQ(profiles.ReadEntry(list.section, list.entries[1].slot).value, "0,0,0,0,3,0,0,0,0,0,0");
    ASSERT_TRUE(profiles.Remove(list.section, list.entries[1].slot, prompter));
    EXPECT_EQ(key("AVI-Profile", "C"), "nodef");
    EXPECT_EQ(key("AVI-Profile", "A"), "0,0,0,0,1,0,0,0,0,0,0");
}

TEST_F(SavedProfilesTest, ReusedHoleDoesNotBringBackTheRemovedValue) {
    givenProfiles("[P]\nProfileCount=1\nProfileText0=Old\nProfileValue0=0,0,0,0,111,0,0,0,0,0,0\n");
    ASSERT_TRUE(profiles.Remove("P", 0, prompter));
    ASSERT_TRUE(profiles.Save("P", "New", "0,0,0,0,222,0,0,0,0,0,0", prompter));
    EXPECT_EQ(key("P", "ProfileText0"), "New");
    EXPECT_EQ(profiles.ReadEntry("P", 0).value, "0,0,0,0,222,0,0,0,0,0,0");
}

TEST_F(SavedProfilesTest, NamesThatWouldBreakTheSectionAreRefused) {
    givenProfiles("[P]\nProfileCount=1\nProfileText0=A\nA=1\n");
    for (const std::string name : {"", "   ", "ProfileCount", "profiledefault", "ProfileText0",
                                   "ProfileValue12", "nodef", "a=b", ";comment", "#x", "[y"}) {
        prompter.clear();
        EXPECT_FALSE(profiles.Save("P", name, "0,0,0", prompter)) << name;
        ASSERT_EQ(prompter.shown().size(), 1u) << name;
        EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Warning);
    }
    EXPECT_EQ(key("P", "ProfileCount"), "1");
    EXPECT_EQ(profiles.ListForEditor("X").entries.size(), 0u);
    // Names that only look alike are fine.
    EXPECT_TRUE(profiles.Save("P", "ProfileText", "0,0,0", prompter));
    EXPECT_FALSE(profiles.Save("P", "My #1 = best?", "0,0,0", prompter));
    EXPECT_TRUE(profiles.Save("P", "My #1 best", "0,0,0", prompter));
    EXPECT_EQ(key("P", "My #1 best"), "0,0,0");
}

TEST_F(SavedProfilesTest, UnwritableFileIsReportedNotClaimedSaved) {
    const std::string folder = dir.file("locked");
    std::filesystem::create_directory(folder);
    SavedProfiles locked(folder, definitions); // a folder cannot be written as a file
    EXPECT_FALSE(locked.Save("P", "Name", "0,0,0", prompter));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Error);
}

} // namespace
