#include "platform/command_handoff.h"
#include "quilo_test/support.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quilo {
namespace {

// Children share a private runtime folder so that they find each other and nobody
// else; the hand-off block gets a name of its own, apart from a real instance's.
class PlatformProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            oldRuntime = old;
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); // for the hand-offs this process takes
    }
    void TearDown() override {
        if (oldRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
        shm_unlink(("/" + block.toStdString()).c_str());
    }

    std::unique_ptr<QProcess> start(const QStringList& arguments, bool withRuntime = true) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (withRuntime)
            environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
        else
            environment.remove("XDG_RUNTIME_DIR");
        process->setProcessEnvironment(environment);
        process->start(QString::fromStdString(test::programDir() + "../tests/platform_test_child"),
                       arguments);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }
    static std::string readLine(QProcess& process) {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(30000))
                return "(no answer)";
        return process.readLine().trimmed().toStdString();
    }
    static int finish(QProcess& process) {
        process.closeWriteChannel();
        if (process.state() != QProcess::NotRunning) {
            EXPECT_TRUE(process.waitForFinished(30000)) << "hangs";
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    // What a block holds now, waiting a little first; empty when it does not exist.
    static std::string blockText(const std::string& name) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const int fd = shm_open(name.c_str(), O_RDONLY, 0);
        if (fd < 0)
            return {};
        std::string text;
        if (void* data = mmap(nullptr, CommandHandoffSize, PROT_READ, MAP_SHARED, fd, 0);
            data != MAP_FAILED) {
            text.assign(static_cast<const char*>(data),
                        strnlen(static_cast<const char*>(data), CommandHandoffSize));
            munmap(data, CommandHandoffSize);
        }
        close(fd);
        return text;
    }
    static void crash(QProcess& process) {
        process.kill();
        process.waitForFinished();
    }

    test::TempDir runtime;
    std::string oldRuntime;
    const QString product = "QuiloTest" + QString::number(getpid());
    const QString block = "QuiloTestBlock" + QString::number(getpid());
};

TEST_F(PlatformProcesses, OnlyOneInstanceHoldsTheLockUntilItEnds) {
    auto first = start({"hold-lock", product});
    EXPECT_EQ(readLine(*first), "locked");
    EXPECT_TRUE(test::fileExists(runtime.file(product.toStdString() + ".lock")));
    EXPECT_EQ(finish(*start({"try-lock", product})), 3);
    EXPECT_EQ(finish(*start({"try-lock", product + "Other"})), 0);

    crash(*first); // a crash must not leave the lock held
    EXPECT_EQ(finish(*start({"try-lock", product})), 0);

    // Without a runtime folder the lock lives in /tmp, one per user.
    auto outside = start({"hold-lock", product}, false);
    EXPECT_EQ(readLine(*outside), "locked");
    const std::string fallback = "/tmp/" + product.toStdString() + "-" + std::to_string(getuid()) + ".lock";
    EXPECT_TRUE(test::fileExists(fallback));
    EXPECT_EQ(finish(*start({"try-lock", product}, false)), 3);
    EXPECT_EQ(finish(*outside), 0);
    EXPECT_EQ(finish(*start({"try-lock", product}, false)), 0);
    unlink(fallback.c_str());
}

TEST_F(PlatformProcesses, HandsTheCommandLineToTheRunningInstance) {
    // The sender may come first: the running program could still be starting.
    auto sender = start({"handoff-send", product, "/MP4\na b.avi\r\n/tmp/c.mkv"});
    auto receiver = start({"handoff-receive", product});
    EXPECT_EQ(readLine(*receiver), "listening");
    EXPECT_EQ(finish(*sender), 0);
    EXPECT_EQ(readLine(*receiver), "[/MP4]");
    EXPECT_EQ(readLine(*receiver), "[a b.avi]");
    EXPECT_EQ(readLine(*receiver), "[/tmp/c.mkv]");
    EXPECT_EQ(readLine(*receiver), "end");
    EXPECT_EQ(finish(*receiver), 0);

    // The block under its own name and private to the user.
    struct stat info {};
    ASSERT_EQ(stat("/dev/shm/CommandParam", &info), 0);
    EXPECT_EQ(info.st_size, 1024);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_uid, getuid());
    EXPECT_TRUE(test::fileExists(runtime.file("CommandParamMtx")));
}

TEST_F(PlatformProcesses, ABlockWithoutTerminatorIsReadAsAtMost1024Bytes) {
    auto writer = start({"fill-block", block});
    ASSERT_EQ(finish(*writer), 0);
    EXPECT_EQ(takeCommandHandoff(block.toStdString()), std::vector<std::string>{std::string(1024, 'x')});
    EXPECT_TRUE(takeCommandHandoff(block.toStdString()).empty()); // filled with zeros after reading
}

TEST_F(PlatformProcesses, StartsAtTheSameTimeLoseNoText) {
    // The first sender's text waits in the block: the program is still starting.
    auto first = start({"handoff-send", product, "/MP4\nfirst.avi", block});
    const std::string name = "/" + block.toStdString();
    for (int tries = 0; blockText(name) != "/MP4\nfirst.avi"; ++tries)
        ASSERT_LT(tries, 6000) << "the first sender never wrote its text";
    auto second = start({"handoff-send", product, "second.avi", block});
    auto receiver = start({"handoff-receive", product, block, "2"});
    EXPECT_EQ(readLine(*receiver), "listening");

    std::vector<std::string> received;
    for (int ends = 0; ends < 2 && received.size() < 10;) {
        received.push_back(readLine(*receiver));
        ends += received.back() == "end" || received.back() == "(no answer)";
    }
    EXPECT_EQ(finish(*first), 0);
    EXPECT_EQ(finish(*second), 0);
    EXPECT_EQ(finish(*receiver), 0);
    std::sort(received.begin(), received.end());
    EXPECT_EQ(received, (std::vector<std::string>{"[/MP4]", "[first.avi]", "[second.avi]", "end", "end"}));
}

TEST_F(PlatformProcesses, ATooLongTextHandsOverOnlyWholeLines) {
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; text.size() < 3000; ++i) {
        lines.push_back("/videos/clip number " + std::to_string(i) + ".avi");
        text += lines.back() + "\n";
    }
    auto receiver = start({"handoff-receive", product, block});
    ASSERT_EQ(readLine(*receiver), "listening");
    EXPECT_EQ(finish(*start({"handoff-send", product, QString::fromStdString(text), block})), 0);
    size_t used = 0;
    for (const std::string& line : lines) {
        used += line.size() + 1;
        if (used > 1023)
            break;
        EXPECT_EQ(readLine(*receiver), "[" + line + "]");
    }
    EXPECT_EQ(readLine(*receiver), "end");
    finish(*receiver);
}

TEST_F(PlatformProcesses, AStaleSocketDoesNotStopListeningAndALiveOneIsKept) {
    auto crashed = start({"handoff-receive", product, block});
    ASSERT_EQ(readLine(*crashed), "listening");
    crash(*crashed);
    ASSERT_TRUE(test::fileExists(runtime.file(product.toStdString() + ".socket")));

    auto receiver = start({"handoff-receive", product, block});
    EXPECT_EQ(readLine(*receiver), "listening");
    // A second receiver finds the first alive and leaves it alone; its check
    // is not taken for a hand-off.
    auto intruder = start({"handoff-receive", product, block});
    EXPECT_EQ(readLine(*intruder), "not listening");
    EXPECT_EQ(finish(*intruder), 2);

    EXPECT_EQ(finish(*start({"handoff-send", product, "/WAV", block})), 0);
    EXPECT_EQ(readLine(*receiver), "[/WAV]");
    EXPECT_EQ(readLine(*receiver), "end");
    finish(*receiver);
}

TEST_F(PlatformProcesses, SenderGivesUpWhenNobodyListens) {
    EXPECT_FALSE(sendCommandHandoff(product.toStdString() + "Nobody", "/AVI", 300, block.toStdString()));
}

TEST(PlatformHandoffText, SplitsLinesAndTrustsNoTerminator) {
    const char text[] = "/MP4\r\na.avi\n\nb c.mkv\n";
    EXPECT_EQ(splitHandoffText(text, sizeof text),
              (std::vector<std::string>{"/MP4", "a.avi", "", "b c.mkv"}));
    const char cut[4] = {'a', '\n', 'b', 'c'}; // no zero byte anywhere
    EXPECT_EQ(splitHandoffText(cut, sizeof cut), (std::vector<std::string>{"a", "bc"}));
    EXPECT_TRUE(splitHandoffText("\0rest", 5).empty());
}

} // namespace
} // namespace quilo
