// Output file names: the template tags, the serial number, the extension of
// the target and format, and the names of the DVD targets.
#include "profiles/output_naming.h"

#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <quilo_test/support.h>

using namespace quilo;
using quilo::test::TempDir;
using quilo::test::writeFile;

namespace {

// The main window's side as the naming sees it.
class FakePanel : public OutputNamingSource {
public:
    TargetTypeId currentTarget() const override { return target; }
    int outputFormatIndex() const override { return format; }
    int outputImageMode() const override { return imageMode; }
    bool resolutionVisible() const override { return showResolution; }
    std::string resolutionText() const override { return resolution; }
    bool widthEnabled() const override { return widthOn; }
    std::string widthText() const override { return width; }
    std::string heightText() const override { return height; }
    int clipCount() const override { return static_cast<int>(clips.size()); }
    std::optional<NamingClip> clip(int position) const override {
        if (position < 0 || position >= clipCount())
            return std::nullopt;
        return clips[position];
    }
    void setOutputName(int position, const std::string& name) override { names[position] = name; }

    TargetTypeId target = Target::AVI;
    int format = 0;
    int imageMode = 1;
    bool showResolution = false;
    std::string resolution;
    bool widthOn = true;
    std::string width = "640";
    std::string height = "480";
    std::vector<NamingClip> clips;
    std::map<int, std::string> names;
};

class Naming : public ::testing::Test {
protected:
    Naming()
        : definitions(dir.file("PfDef.dll")),
          namer(&definitions, settings, panel, [] { return QDate(2009, 10, 25); }) {
        writeFile(dir.file("PfDef.dll"), "[Tamber-AVI]\nOutputFormatText0=AVI\n"
                                         "[Tamber-MPEG]\nOutputFormatText0=mpeg2\n"
                                         "[Tamber-WMV]\nOutputFormatText0=wmv\nOutputFormatValue0=asf\n"
                                         "[Tamber-HDTS]\nOutputFormatText0=mpeg2ts\n"
                                         "[Tamber-PSP]\nOutputFormatText0=psp\n"
                                         "[Tamber-MP3]\nOutputFormatText0=mp3\n");
        panel.clips.push_back({"/clips/Titanic.avi", 0, 125, 720, 480});
    }

    TempDir dir;
    ProfileDefinitions definitions;
    NamingSettings settings;
    FakePanel panel;
    OutputNamer namer;
};

TEST_F(Naming, TemplateTagsAreReplacedCaseSensitively) {
    settings.Template = "#Name-#Resolution";
    panel.widthOn = false;
    EXPECT_EQ(namer.OutputFileName(0), "Titanic-720x480.avi");

    settings.Template = " #ClipID_#Length_#Time_#SN #name ";
    EXPECT_EQ(namer.ExpandTemplate(0), "Clip0_02m05s_10-25-2009_001 #name");
}

TEST_F(Naming, LengthIsTheTrimmedRange) {
    settings.Template = "#Length";
    panel.clips[0].startTime = 70;
    panel.clips[0].endTime = 6482; // 01:48:02
    EXPECT_EQ(namer.ExpandTemplate(0), "106m52s");
    panel.clips[0].endTime = 79;
    EXPECT_EQ(namer.ExpandTemplate(0), "00m09s");
    panel.clips[0].endTime = 10; // an end before the start is no negative length
    EXPECT_EQ(namer.ExpandTemplate(0), "00m00s");
}

TEST_F(Naming, ResolutionComesFromTheSelectorTheBoxesOrTheSource) {
    settings.Template = "#Resolution";
    EXPECT_EQ(namer.ExpandTemplate(0), "640x480");
    panel.widthOn = false;
    EXPECT_EQ(namer.ExpandTemplate(0), "720x480");
    panel.showResolution = true;
    panel.resolution = "400:192";
    EXPECT_EQ(namer.ExpandTemplate(0), "400x192");
}

TEST_F(Naming, SerialNumberDigitsAndBlankTemplate) {
    settings.Template = "   ";
    panel.clips.resize(3);
    EXPECT_EQ(namer.OutputFileName(2), "003.avi");
    settings.FixedDigits = 0;
    EXPECT_EQ(namer.ExpandTemplate(2), "3");
    settings.FixedDigits = 12;
    EXPECT_EQ(namer.ExpandTemplate(2), "000000003");
    settings.FixedDigits = 2;
    settings.SerialStart = 1232;
    EXPECT_EQ(namer.ExpandTemplate(2), "1234");
}

TEST_F(Naming, NameWithoutFolderAndLastExtensionAndLaterTagsApplyToIt) {
    panel.clips.push_back({"/b/Titanic.avi", 0, 1, 1, 1});
    panel.clips.push_back({"/c/archive.tar.gz", 0, 1, 1, 1});
    panel.clips.push_back({"/d/README", 0, 1, 1, 1});
    panel.clips.push_back({"/e/#SN-song.mp3", 0, 1, 1, 1});
    EXPECT_EQ(namer.ExpandTemplate(0), "Titanic");
    EXPECT_EQ(namer.ExpandTemplate(1), "Titanic");
    EXPECT_EQ(namer.ExpandTemplate(2), "archive.tar");
    EXPECT_EQ(namer.ExpandTemplate(3), "README");
    EXPECT_EQ(namer.ExpandTemplate(4), "005-song");
}

// A job counts the serial on only when its names carried it.
TEST_F(Naming, TheSerialIsInTheNameWhenTheTemplateOrTheSourceNameBringsIt) {
    panel.clips.push_back({"/e/#SN-song.mp3", 0, 1, 1, 1});
    EXPECT_FALSE(namer.UsesSerialNumber(0)); // #Name of Titanic.avi
    EXPECT_TRUE(namer.UsesSerialNumber(1));
    settings.Template = "#ClipID-#Time";
    EXPECT_FALSE(namer.UsesSerialNumber(1));
    settings.Template = " ";
    EXPECT_TRUE(namer.UsesSerialNumber(0));
    settings.Template = "#SN";
    settings.SerialStart = INT_MAX - 1; // the largest serial still has a successor in the test
    EXPECT_TRUE(namer.UsesSerialNumber(0));
    EXPECT_EQ(namer.ExpandTemplate(1), "2147483647");
    panel.clips.clear();
    EXPECT_TRUE(namer.UsesSerialNumber(0)); // the four-digit counter
    // The DVD targets name their files VOB_1.vob, ... whatever the template says.
    panel.clips.push_back({"/clips/Titanic.avi", 0, 125, 720, 480});
    panel.target = Target::DVD_Folder;
    EXPECT_FALSE(namer.UsesSerialNumber(0));
}

TEST_F(Naming, PositionsWithoutClipUseTheFourDigitCounter) {
    panel.clips.clear();
    EXPECT_EQ(namer.ExpandTemplate(0), "0001");
    settings.SerialStart = 0;
    EXPECT_EQ(namer.ExpandTemplate(0), "8888");
}

TEST_F(Naming, ExtensionFollowsTheFormatValueAndTargetOverrides) {
    EXPECT_EQ(namer.OutputExtension(), ".avi");
    panel.format = -1;
    EXPECT_EQ(namer.OutputExtension(), "");

    panel.format = 0;
    panel.target = Target::WMV;
    EXPECT_EQ(namer.OutputExtension(), ".wmv"); // the engine's "asf"
    panel.target = Target::HDTS;
    EXPECT_EQ(namer.OutputExtension(), ".m2ts");
    panel.target = Target::MP3;
    EXPECT_EQ(namer.OutputExtension(), ".mp3");
    panel.target = Target::PSP;
    EXPECT_EQ(namer.OutputExtension(), ".mp4");
    panel.format = -1;
    EXPECT_EQ(namer.OutputExtension(), ".mp4");
    panel.target = Target::VOB_File;
    EXPECT_EQ(namer.OutputExtension(), ".vob");

    panel.target = Target::MPEG;
    panel.format = 0;
    EXPECT_EQ(namer.OutputExtension(), ".mpg");
    for (int mode : {11, 12, 17, 18}) {
        panel.imageMode = mode;
        EXPECT_EQ(namer.OutputExtension(), ".vob") << mode;
    }
    panel.imageMode = 13;
    EXPECT_EQ(namer.OutputExtension(), ".mpg");

    panel.target = Target::MOV; // no definition: no extension rather than ".nodef"
    EXPECT_EQ(namer.OutputExtension(), "");
    OutputNamer unopened(nullptr, settings, panel);
    panel.target = Target::AVI;
    EXPECT_EQ(unopened.OutputExtension(), "");
}

TEST_F(Naming, DvdTargetsNumberTheirTitlesAndRefreshStoresEveryName) {
    settings.Template = "#Name";
    panel.clips.push_back({"/b/Other.mkv", 0, 1, 1, 1});
    panel.target = Target::DVD_Disc;
    EXPECT_EQ(namer.OutputFileName(0), "VOB_1.vob");
    EXPECT_EQ(namer.OutputFileName(1), "VOB_2.vob");

    panel.target = Target::AVI;
    namer.RefreshOutputNames();
    EXPECT_EQ(panel.names, (std::map<int, std::string>{{0, "Titanic.avi"}, {1, "Other.avi"}}));
}

} // namespace
