// Identity file, settings-file versions, data folder seeding and the command line.
#include "platform/ini_file.h"
#include "quilo_test/support.h"
#include "shell/application_folders.h"
#include "shell/command_line.h"
#include "shell/product_identity.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quilo;
using namespace quilo::test;

namespace {

const std::array<std::string, IdentityRecordCount> ShippedValues = {
    "Quilo Video Converter", "1.0", "2026-12-09", "Standard", "QuiloVideoConverter", "Quilo"};

void putInt32(std::string& file, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        file[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

TEST(ProductIdentity, TheBuiltFileNamesTheProduct) {
    ProductIdentity identity;
    ASSERT_TRUE(LoadProductIdentity(programDir() + ProductIdentityFileName, identity));
    EXPECT_EQ(identity.displayProductName, "Quilo Video Converter");
    EXPECT_EQ(identity.productVersion, "1.0");
    EXPECT_EQ(identity.productName, "QuiloVideoConverter");
    EXPECT_EQ(identity.productBuild.rfind("Build on 20", 0), 0u) << identity.productBuild;
}

TEST(ProductIdentity, DamagedFilesAreRefusedButValuesAreStillRead) {
    TempDir dir;
    const std::string path = dir.file("WinVersion.bin");
    ProductIdentity identity;

    writeFile(path, EncodeProductIdentity(ShippedValues));
    ASSERT_TRUE(LoadProductIdentity(path, identity));

    // Equal copies, wrong declared length.
    std::string file = EncodeProductIdentity(ShippedValues);
    putInt32(file, 0, 20);
    writeFile(path, file);
    EXPECT_FALSE(LoadProductIdentity(path, identity));
    EXPECT_EQ(identity.displayProductName, "Quilo Video Converter");

    // Copies that differ by one character.
    file = EncodeProductIdentity(ShippedValues);
    file[12 + 2 * 21 + 3] ^= 1; // in the second copy of the first record
    writeFile(path, file);
    EXPECT_FALSE(LoadProductIdentity(path, identity));

    // A stored length of 600 is read as 512 bytes: the following records are read
    // from the wrong place and fail; nothing is read past the end of the file.
    file = EncodeProductIdentity(ShippedValues);
    putInt32(file, 4, 600);
    writeFile(path, file);
    EXPECT_FALSE(LoadProductIdentity(path, identity));

    writeFile(path, file.substr(0, 30)); // cut short
    EXPECT_FALSE(LoadProductIdentity(path, identity));
    EXPECT_FALSE(LoadProductIdentity(dir.file("missing.bin"), identity));
}

TEST(ProductIdentity, NibbleCodingRoundTripsEveryByteAndPairsAnOddEndWithZero) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    EXPECT_EQ(DecodeNibbles(EncodeNibbles(all, 'A'), 'A'), all);
    // "QR" stored with key 'A': the last character alone decodes with 0 as its pair.
    EXPECT_EQ(DecodeNibbles("FB", 'A'), "Q");
    EXPECT_EQ(DecodeNibbles("FBF", 'A').size(), 2u);
}

TEST(IniFileVersionText, OnlyEightDigitsCount) {
    TempDir dir;
    const std::string path = dir.file("Option.ini");
    const auto versionOf = [&](const std::string& text) {
        IniFile(path).writeString("version", "ver", text);
        const IniFileVersion v = GetIniFileVersion(path);
        return std::to_string(v.year) + "." + std::to_string(v.month) + "." + std::to_string(v.day);
    };
    EXPECT_EQ(versionOf("20091231"), "2009.12.31");
    EXPECT_EQ(versionOf("2009123"), "0.0.0");
    EXPECT_EQ(versionOf("200912310"), "0.0.0");
    EXPECT_EQ(versionOf("2009A231"), "0.0.0");
    EXPECT_EQ(versionOf("-2009123"), "0.0.0");
    EXPECT_EQ(GetIniFileVersion(dir.file("none.ini")).year, 0);
}

class DataFolder : public ::testing::Test {
protected:
    TempDir dir;
    std::string program = dir.file("program/");
    std::string appData = dir.file("appdata/");
    std::string data = appData + "Quilo/Quilo Video Converter/";

    void SetUp() override {
        std::filesystem::create_directories(program);
        std::filesystem::create_directories(appData);
    }
    void install(const std::string& folder, const std::string& name, const std::string& version,
                 const std::string& marker) {
        std::filesystem::create_directories(folder);
        writeFile(folder + name, "[version]\nver=" + version + "\n[mark]\nfrom=" + marker + "\n");
    }
    std::string markOf(const std::string& path) { return IniFile(path).readString("mark", "from", ""); }
};

TEST_F(DataFolder, SeedingComparesYearMonthAndDayEachOnItsOwn) {
    install(program, "Option.ini", "20091231", "installed");
    install(program, "PfSetting.ini", "20100101", "installed");
    install(data, "Option.ini", "20100101", "user");
    install(data, "PfSetting.ini", "20100101", "user");

    EXPECT_EQ(EnsureDataFolder(program, "Quilo Video Converter", appData), data);
    EXPECT_EQ(markOf(data + "Option.ini"), "installed"); // the user's month 01 < 12
    EXPECT_EQ(markOf(data + "PfSetting.ini"), "user");   // same version: left alone
}

TEST_F(DataFolder, MissingCopiesAreCreatedAndMissingInstallsChangeNothing) {
    install(program, "Option.ini", "20260101", "installed");
    EXPECT_EQ(EnsureDataFolder(program, "Quilo Video Converter", appData), data);
    EXPECT_EQ(markOf(data + "Option.ini"), "installed");
    EXPECT_FALSE(fileExists(data + "PfSetting.ini"));
    EXPECT_FALSE(fileExists(data + "Option.ini.seeding"));

    // A fresh account without its data folder gets one.
    const std::string fresh = dir.file("fresh/share/");
    EXPECT_EQ(EnsureDataFolder(program, "Quilo Video Converter", fresh),
              fresh + "Quilo/Quilo Video Converter/");
}

TEST_F(DataFolder, FallsBackToTheProgramFolderWhenItCannotMakeItsOwn) {
    // "Quilo" exists as a file, so the folder cannot be made.
    writeFile(appData + "Quilo", "");
    install(program, "Option.ini", "20260101", "installed");
    EXPECT_EQ(EnsureDataFolder(program, "Quilo Video Converter", appData), program);
    // A product name from a damaged identity file never leaves the folder.
    std::filesystem::remove(appData + "Quilo");
    EXPECT_EQ(EnsureDataFolder(program, "../escape", appData), program);
    EXPECT_EQ(EnsureDataFolder(program, "..", appData), program);
    EXPECT_FALSE(std::filesystem::exists(appData + "escape"));
}

namespace {

struct RecordingHost : CommandLineHost {
    std::vector<std::string> calls;
    void selectTargetAsClicked(TargetTypeId target) override {
        calls.push_back("select " + targetIdentifier(target));
    }
    void restorePanel() override { calls.push_back("restore"); }
    void addFilesLater(const std::vector<std::string>& paths) override {
        std::string call = "add";
        for (const auto& path : paths)
            call += " " + path;
        calls.push_back(call);
    }
};

} // namespace

TEST(CommandLineSyntax, LastSwitchWinsThenThePanelIsRestoredThenFilesAreAdded) {
    RecordingHost host;
    EXPECT_TRUE(HandleCommandLine({"/AVI", "a.avi", "", "/MP4", "b c.mkv"}, host));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"select MP4", "restore", "add a.avi b c.mkv"}));

    host.calls.clear();
    EXPECT_TRUE(HandleCommandLine({"/avi"}, host)); // identifiers are case-sensitive
    EXPECT_EQ(host.calls, (std::vector<std::string>{"restore"}));

    host.calls.clear();
    EXPECT_FALSE(HandleCommandLine({"", ""}, host));
    EXPECT_TRUE(host.calls.empty());
}

TEST(CommandLineSyntax, AbsolutePathsAreFilesNotSwitches) {
    TempDir dir;
    RecordingHost host;
    EXPECT_TRUE(IsTargetSwitch("/MP4"));
    EXPECT_TRUE(IsTargetSwitch("/nonsense")); // a switch that matches no target
    EXPECT_FALSE(IsTargetSwitch("/"));
    EXPECT_FALSE(IsTargetSwitch("/tmp")); // exists
    EXPECT_FALSE(IsTargetSwitch(dir.file("a.avi")));
    HandleCommandLine({"/MP4", dir.file("a.avi"), "/WAV"}, host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"select WAV", "restore", "add " + dir.file("a.avi")}));
}

TEST(CommandLineSyntax, AHandOffDuringAConversionIsIgnored) {
    RecordingHost host;
    EXPECT_FALSE(HandleCommandHandoff({"/WAV", "song.mp4"}, true, host));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(HandleCommandHandoff({"/WAV", "song.mp4"}, false, host));
    EXPECT_EQ(host.calls.front(), "select WAV");
}
