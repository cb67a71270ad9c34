// Reading the definitions: list selectors, number boxes, engine values, and
// the text form of a saved profile.
#include "profiles/profile_definitions.h"
#include "profiles/profile_value.h"

#include <gtest/gtest.h>
#include <quilo_test/support.h>

using namespace quilo;
using quilo::test::TempDir;
using quilo::test::writeFile;

namespace {

class Definitions : public ::testing::Test {
protected:
    ProfileDefinitions write(const std::string& text) {
        writeFile(dir.file("PfDef.dll"), text);
        return ProfileDefinitions(dir.file("PfDef.dll"));
    }
    TempDir dir;
};

using Items = std::vector<std::string>;

TEST_F(Definitions, ListSelectorFromCountedTextsSkipsMissingOnesInOrder) {
    auto definitions = write("[S]\nKCount=3\nKText0=a\nKText2=c\nKDefault=1\n");
    const ChoiceList list = definitions.FillChoiceList("s", "k"); // names ignore case
    EXPECT_EQ(list.items, (Items{"a", "c"}));
    EXPECT_EQ(list.selected, 1);
    EXPECT_TRUE(list.enabled);
}

TEST_F(Definitions, ListSelectorFromRange) {
    auto definitions = write("[S]\nKMin=100\nKMax=1000\nKStep=300\n[T]\nKMin=100\nKMax=999\nKStep=300\n");
    EXPECT_EQ(definitions.FillChoiceList("S", "K").items, (Items{"100", "400", "700", "1000"}));
    EXPECT_EQ(definitions.FillChoiceList("T", "K").items, (Items{"100", "400", "700"}));
    EXPECT_EQ(definitions.FillChoiceList("T", "K").selected, -1);
}

TEST_F(Definitions, RangeWithoutForwardStepCountsInOnesAndEnds) {
    auto definitions = write("[Zero]\nKMin=1\nKMax=3\nKStep=0\n[Negative]\nKMin=1\nKMax=3\nKStep=-5\n"
                             "[Huge]\nKMin=-2147483648\nKMax=2147483647\nKStep=1\n"
                             "[Backwards]\nKMin=10\nKMax=5\n");
    EXPECT_EQ(definitions.FillChoiceList("Zero", "K").items, (Items{"1", "2", "3"}));
    EXPECT_EQ(definitions.FillChoiceList("Negative", "K").items, (Items{"1", "2", "3"}));
    EXPECT_EQ(definitions.FillChoiceList("Huge", "K").items.size(),
              size_t(ProfileDefinitions::MaxRangeChoices));
    EXPECT_TRUE(definitions.FillChoiceList("Backwards", "K").items.empty());
}

TEST_F(Definitions, FixedChoiceIsOneDisabledSelectedItem) {
    auto definitions = write("[S]\nKCount=0\nKMin=0\nKMax=0\nKText=MPEG2\nKDefault=5\n");
    const ChoiceList list = definitions.FillChoiceList("S", "K");
    EXPECT_EQ(list.items, (Items{"MPEG2"}));
    EXPECT_EQ(list.selected, 0);
    EXPECT_FALSE(list.enabled);
}

TEST_F(Definitions, MissingSettingOrFileGivesEmptyDisabledList) {
    auto definitions = write("[S]\nOther=1\n");
    const ChoiceList list = definitions.FillChoiceList("S", "K");
    EXPECT_TRUE(list.items.empty());
    EXPECT_FALSE(list.enabled);
    EXPECT_EQ(list.selected, -1);

    ProfileDefinitions missing(dir.file("none.dll"));
    EXPECT_FALSE(missing.FillChoiceList("S", "K").enabled);
    const NumberSetting number = missing.FillNumber("S", "K");
    EXPECT_EQ(number.initial, 0);
    EXPECT_EQ(missing.LookupChoiceValue("S", "K", 0), "nodef");
}

TEST_F(Definitions, NumberBoxRangeOrFixedNumber) {
    auto definitions = write("[S]\nBMin=200\nBMax=8000\nBDefault=1200\nBStep=50\nWText=640\n");
    const NumberSetting range = definitions.FillNumber("S", "B");
    EXPECT_EQ(range.minimum, 200);
    EXPECT_EQ(range.maximum, 8000);
    EXPECT_EQ(range.initial, 1200);
    EXPECT_EQ(range.increment, 50);
    EXPECT_TRUE(range.enabled);

    const NumberSetting fixed = definitions.FillNumber("S", "W");
    EXPECT_EQ(fixed.minimum, 640);
    EXPECT_EQ(fixed.maximum, 640);
    EXPECT_EQ(fixed.initial, 640);
    EXPECT_EQ(fixed.increment, 0);
    EXPECT_FALSE(fixed.enabled);
}

TEST_F(Definitions, EngineValueLookupOrder) {
    auto definitions = write("[A]\nKValue2=v2\nKText2=t2\nKValue=v\nKText=t\n"
                             "[B]\nKText2=t2\nKValue=v\nKText=t\n"
                             "[C]\nKValue=v\nKText=t\n"
                             "[D]\nKText=t\n"
                             "[E]\nKText2=nodef\n");
    EXPECT_EQ(definitions.LookupChoiceValue("A", "K", 2), "v2");
    EXPECT_EQ(definitions.LookupChoiceValue("B", "K", 2), "t2");
    EXPECT_EQ(definitions.LookupChoiceValue("C", "K", 2), "v");
    EXPECT_EQ(definitions.LookupChoiceValue("D", "K", 2), "t");
    EXPECT_EQ(definitions.LookupChoiceValue("E", "K", 2), "nodef");
}

TEST(ProfileValueText, FieldsReadLikeAtolAndMissingOnesReadZero) {
    const ProfileValue value = ProfileValue::Parse("0,0,1,2,1200,3,1,5,0,4,2");
    EXPECT_EQ(value.field(11), 2);
    EXPECT_EQ(value.field(5), 1200);
    EXPECT_EQ(value.field(12), 0);
    EXPECT_EQ(value.field(0), 0);

    const ProfileValue loose = ProfileValue::Parse("  3 ,x1,7");
    EXPECT_EQ(loose.field(1), 3);
    EXPECT_EQ(loose.field(2), 0);
    EXPECT_EQ(loose.field(3), 7);
    EXPECT_EQ(loose.field(4), 0);

    const ProfileValue odd = ProfileValue::Parse(",-4,12abc,,99999999999999999999");
    EXPECT_EQ(odd.field(1), 0);
    EXPECT_EQ(odd.field(2), -4);
    EXPECT_EQ(odd.field(3), 12);
    EXPECT_EQ(odd.field(4), 0);
    EXPECT_EQ(odd.field(5), 2147483647);
}

TEST(ProfileValueText, EditorFormHasNoImageModeNoProtectionNoTrailingComma) {
    const ProfileValue value = ProfileValue::EditorProfile(1, 2, 3, 1500, 4, 5, 6, 7, 8);
    EXPECT_EQ(value.Format(), "1,0,2,3,1500,4,5,6,0,7,8");
    EXPECT_FALSE(value.isProtected());
    EXPECT_EQ(ProfileValue::Parse(value.Format()).fields, value.fields);
    EXPECT_TRUE(ProfileValue::Parse("0,0,0,0,0,0,0,0,1,0,0").isProtected());
}

} // namespace
