#include "platform/ini_file.h"
#include "quilo_test/support.h"

#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace quilo {
namespace {

TEST(IniFile, ReadsWithDefaultsAndIgnoresCase) {
    test::TempDir folder;
    test::writeFile(folder.file("a.ini"),
                    "; settings\r\n[Option]\r\nOutputFolder = /videos/ \r\nCount=12abc\r\n"
                    "Bad=abc\r\nNegative= -7\r\nOn=1\r\nOff=0\r\nEmpty=\r\n\r\n[Other]\r\nk=v\r\n");
    IniFile file(folder.file("a.ini"));
    EXPECT_EQ(file.readString("option", "OUTPUTFOLDER"), "/videos/");
    EXPECT_EQ(file.readString("Option", "Missing", "fallback"), "fallback");
    EXPECT_EQ(file.readString("NoSection", "k", "d"), "d");
    EXPECT_EQ(file.readInteger("Option", "Count", 5), 12);
    EXPECT_EQ(file.readInteger("Option", "Bad", 5), 5);
    EXPECT_EQ(file.readInteger("Option", "Negative", 5), -7);
    EXPECT_EQ(file.readInteger("Option", "Missing", 5), 5);
    EXPECT_TRUE(file.readBool("Option", "On"));
    EXPECT_FALSE(file.readBool("Option", "Off", true));
    EXPECT_TRUE(file.readBool("Option", "Missing", true));
    EXPECT_EQ(file.readString("Option", "Empty", "d"), "");
    EXPECT_EQ(file.sections(), (std::vector<std::string>{"Option", "Other"}));
    EXPECT_EQ(file.keys("OTHER"), std::vector<std::string>{"k"});

    IniFile none(folder.file("missing.ini"));
    EXPECT_FALSE(none.exists());
    EXPECT_EQ(none.readInteger("a", "b", 9), 9);
}

TEST(IniFile, WritesCreateFileAndSectionAndKeepTheRest) {
    test::TempDir folder;
    IniFile file(folder.file("sub.ini"));
    ASSERT_TRUE(file.writeBool("UserLog", "FinishLast", false));
    EXPECT_TRUE(file.exists());
    EXPECT_EQ(test::readFile(folder.file("sub.ini")), "[UserLog]\nFinishLast=0\n");

    test::writeFile(folder.file("keep.ini"), "; comment\n[A]\nx=1\n\n[B]\ny=2\n");
    IniFile kept(folder.file("keep.ini"));
    ASSERT_TRUE(kept.writeString("a", "Z", "3")); // existing section, other case
    ASSERT_TRUE(kept.writeInteger("A", "X", -4)); // existing key, other case
    EXPECT_EQ(test::readFile(folder.file("keep.ini")), "; comment\n[A]\nx=-4\nZ=3\n\n[B]\ny=2\n");
    ASSERT_TRUE(kept.eraseKey("b", "Y"));
    ASSERT_TRUE(kept.eraseSection("A"));
    EXPECT_EQ(test::readFile(folder.file("keep.ini")), "; comment\n[B]\n");

    IniFile unwritable("/proc/forbidden/x.ini");
    EXPECT_FALSE(unwritable.writeString("a", "b", "c"));
}

TEST(IniFile, NamesAndValuesCannotBreakTheFilesShape) {
    test::TempDir folder;
    IniFile file(folder.file("a.ini"));
    ASSERT_TRUE(file.writeString("Error", "ProgramError1", "line one\r\n[Option]\nOutputFolder=/etc"));
    EXPECT_EQ(file.readString("Error", "ProgramError1"), "line one  [Option] OutputFolder=/etc");
    EXPECT_FALSE(file.hasSection("Option"));
    EXPECT_FALSE(file.writeString("Error", "a=b", "1"));
    EXPECT_FALSE(file.writeString("Error", "a\nb", "1"));
    EXPECT_FALSE(file.writeString("Error", " ", "1"));
    EXPECT_FALSE(file.writeString("Error", ";k", "1"));
    EXPECT_FALSE(file.writeString("A]B", "k", "1"));
    EXPECT_EQ(file.keys("Error"), std::vector<std::string>{"ProgramError1"});

    // What a write leaves in memory is what a read of the file gives back.
    ASSERT_TRUE(file.writeString(" Padded ", " key ", "  v  "));
    EXPECT_EQ(file.readString("Padded", "KEY"), "v");
    IniFile fresh(folder.path() + "./a.ini");
    EXPECT_EQ(fresh.readString("padded", "key"), "v");
}

TEST(IniFile, KeepsAByteOrderMarkAndTheFilesMode) {
    test::TempDir folder;
    const std::string path = folder.file("bom.ini");
    test::writeFile(path, "\xEF\xBB\xBF[version]\nver=20100101\n");
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    IniFile file(path);
    EXPECT_EQ(file.readString("version", "ver"), "20100101");
    ASSERT_TRUE(file.writeString("version", "ver", "20091231"));
    EXPECT_EQ(test::readFile(path), "\xEF\xBB\xBF[version]\nver=20091231\n");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(IniFile, EveryReadSeesTheFileAsItIsNow) {
    test::TempDir folder;
    IniFile file(folder.file("a.ini"));
    file.writeString("S", "k", "one");
    EXPECT_EQ(file.readString("S", "k"), "one");
    test::writeFile(folder.file("a.ini"), "[S]\nk=two, edited elsewhere\n");
    EXPECT_EQ(file.readString("S", "k"), "two, edited elsewhere");
    IniFile other(folder.file("a.ini"));
    other.writeString("S", "k", "three");
    EXPECT_EQ(file.readString("S", "k"), "three");
    std::filesystem::remove(folder.file("a.ini"));
    EXPECT_EQ(file.readString("S", "k", "gone"), "gone");

    // An edit in place that leaves inode, size and time as they were, as a coarse
    // file clock or a tool that keeps times does.
    ASSERT_TRUE(file.writeString("S", "k", "1"));
    EXPECT_EQ(file.readString("S", "k"), "1");
    struct stat before {};
    ASSERT_EQ(stat(folder.file("a.ini").c_str(), &before), 0);
    FILE* edit = std::fopen(folder.file("a.ini").c_str(), "r+");
    ASSERT_NE(edit, nullptr);
    std::fseek(edit, long(std::string("[S]\nk=").size()), SEEK_SET);
    std::fputc('2', edit);
    std::fclose(edit);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.file("a.ini").c_str(), times, 0), 0);
    EXPECT_EQ(file.readString("S", "k"), "2");
}

TEST(IniFile, WritesFromManyThreadsAreNotLost) {
    test::TempDir folder;
    const std::string path = folder.file("threads.ini");
    std::vector<std::thread> writers;
    for (int t = 0; t < 8; ++t) {
        writers.emplace_back([&, t] {
            IniFile file(path); // each thread its own object, as two windows would have
            for (int i = 0; i < 1000; ++i)
                file.writeInteger("T" + std::to_string(t), "k" + std::to_string(i), i);
        });
    }
    for (auto& writer : writers)
        writer.join();
    IniFile file(path);
    int found = 0;
    for (int t = 0; t < 8; ++t)
        for (int i = 0; i < 1000; ++i)
            found += file.readInteger("T" + std::to_string(t), "k" + std::to_string(i), -1) == i;
    EXPECT_EQ(found, 8000);
}

// The user log is written from the job's thread and the window's thread at once.
TEST(IniFile, TwoThreadsOnOneLogLoseNothing) {
    test::TempDir folder;
    IniFile log(folder.file("UserLog.log"));
    IniFile sameFileOtherSpelling(folder.path() + "./UserLog.log");
    std::thread job([&] {
        for (int i = 0; i < 500; ++i)
            log.writeInteger("ProcessingInfo", "Clip" + std::to_string(i), i);
    });
    std::thread window([&] {
        for (int i = 0; i < 500; ++i)
            sameFileOtherSpelling.writeInteger("ProgressInfo", "Step" + std::to_string(i), i);
    });
    job.join();
    window.join();
    EXPECT_EQ(log.keys("ProcessingInfo").size(), 500u);
    EXPECT_EQ(log.keys("ProgressInfo").size(), 500u);
    EXPECT_EQ(log.readInteger("progressinfo", "step499", -1), 499);
}

TEST(IniFile, KilledWriterLeavesACompleteFile) {
    test::TempDir folder;
    const std::string path = folder.file("killed.ini");
    for (int round = 0; round < 3; ++round) {
        QProcess writer;
        writer.start(QString::fromStdString(test::programDir() + "../tests/platform_test_child"),
                     {"ini-writer", QString::fromStdString(path)});
        ASSERT_TRUE(writer.waitForStarted());
        // Kill it in the middle of its writing, once the file has grown.
        std::error_code error;
        while (std::filesystem::file_size(path, error) < 20000u * (round + 1) || error)
            ASSERT_FALSE(writer.waitForFinished(5)) << "the writer ended by itself";
        writer.kill();
        writer.waitForFinished();

        // The settings file is one complete version, never the writer's temporary file.
        const std::string text = test::readFile(path);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.rfind("[Keys]\n", 0), 0u);
        EXPECT_EQ(text.back(), '\n');
        IniFile file(path);
        const auto keys = file.keys("Keys");
        EXPECT_GT(keys.size(), 100u);
        EXPECT_EQ(keys.size() + 1, size_t(std::count(text.begin(), text.end(), '\n')));
        for (const auto& key : keys) {
            const std::string value = file.readString("Keys", key);
            ASSERT_EQ(value.size(), 40u) << key;
            ASSERT_EQ(value, std::string(40, value[0])) << key;
        }
        // And it takes the next writer's work as usual.
        EXPECT_TRUE(file.writeString("Keys", "key0", std::string(40, 'z')));
    }
}

TEST(IniFile, LenientIntegers) {
    EXPECT_EQ(parseLenientInteger("42"), 42);
    EXPECT_EQ(parseLenientInteger("  +7x"), 7);
    EXPECT_EQ(parseLenientInteger("-0012"), -12);
    EXPECT_FALSE(parseLenientInteger(""));
    EXPECT_FALSE(parseLenientInteger("-"));
    EXPECT_FALSE(parseLenientInteger("x1"));
}

} // namespace
} // namespace quilo
