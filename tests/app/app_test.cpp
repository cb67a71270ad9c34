// The windowed program as a user starts it: one running copy, a second start
// handing its command line over, a damaged installation refused, and an engine
// it cannot use named when the first clip needs it.
#include "conversion/engine_api.h"
#include "media/clip_loader.h"
#include "quilo_test/refused_libraries.h"
#include "quilo_test/support.h"
#include "shell/product_identity.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// Each test gets its own runtime folder (lock and socket) and home.
class ConverterProgram : public ::testing::Test {
protected:
    TempDir runtime, home;

    std::map<std::string, std::string> environment() const {
        return {{"XDG_RUNTIME_DIR", runtime.path()},
                {"HOME", home.path()},
                {"XDG_DATA_HOME", home.file("data")},
                {"QT_QPA_PLATFORM", "offscreen"},
                {"QT_LOGGING_RULES", "quilo.commands.debug=true\nquilo.messages.debug=true"}};
    }

    void start(QProcess& process, const QStringList& arguments,
               const std::string& program = programDir() + "quilo-converter") {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : environment())
            env.insert(QString::fromStdString(name), QString::fromStdString(value));
        process.setProcessEnvironment(env);
        process.start(QString::fromStdString(program), arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    // Reads the process's error output until `text` shows or the wait ends.
    static std::string waitForOutput(QProcess& process, const std::string& text, int waitMs = 20000) {
        std::string seen;
        for (int waited = 0; waited < waitMs && seen.find(text) == std::string::npos; waited += 100) {
            process.waitForReadyRead(100);
            seen += process.readAllStandardError().toStdString();
        }
        return seen;
    }

    static void stop(QProcess& process) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

} // namespace

TEST_F(ConverterProgram, ASecondStartHandsItsCommandLineToTheRunningOne) {
    QProcess first;
    start(first, {});
    const std::string started = waitForOutput(first, "command line:");
    ASSERT_NE(started.find("command line:"), std::string::npos) << started;

    TempDir elsewhere; // the second start's own folder: its relative names must survive
    const ProcessResult second =
        runProcess(programDir() + "quilo-converter", {"/MP4", "a.avi", "/tmp/clip two.mkv"}, 20000,
                   environment(), elsewhere.path());
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_FALSE(second.timedOut);

    const std::string received = waitForOutput(first, "hand-off:");
    EXPECT_NE(received.find("hand-off: /MP4 | " + elsewhere.file("a.avi") + " | /tmp/clip two.mkv"),
              std::string::npos)
        << received;
    EXPECT_EQ(first.state(), QProcess::Running);
    stop(first);

    // With the first copy gone the lock is free again: the next start is a first one.
    QProcess again;
    start(again, {"/WAV"});
    const std::string restarted = waitForOutput(again, "command line:");
    EXPECT_NE(restarted.find("command line: /WAV"), std::string::npos) << restarted;
    stop(again);
}

TEST_F(ConverterProgram, TheDataFolderIsMadeAndSeededAtStart) {
    QProcess first;
    start(first, {});
    waitForOutput(first, "command line:");
    stop(first);
    const std::string data = home.file("data/Quilo/Quilo Video Converter/");
    EXPECT_TRUE(std::filesystem::is_directory(data));
    if (fileExists(programDir() + "Option.ini")) {
        EXPECT_TRUE(fileExists(data + "Option.ini"));
    }
}

TEST_F(ConverterProgram, AnEngineItCannotUseIsNamedWhenAClipIsAdded) {
    const std::string other = refusedLibraryFolder("engine-of-another-version") + EngineLibraryName;
    const std::string lacking = refusedLibraryFolder("engine-lacking-a-name") + EngineLibraryName;
    const std::string clip = twoLanguageClip();
    for (const auto& [library, reason] :
         {std::pair{other, " is version " + std::to_string(TRANZEL_ABI_VERSION + 1) +
                               "; this program needs version " + std::to_string(TRANZEL_ABI_VERSION)},
          std::pair{lacking, std::string(" lacks X_StopConvert")}}) {
        TempDir program;
        makeProgramFolderWith(program, "quilo-converter", library);
        QProcess converter;
        start(converter, {QString::fromStdString(clip)}, program.file("quilo-converter"));
        // The message box's text, as the program logs it when it shows the box.
        std::string expected = std::string(UnsupportedFilesText) + clip + "\n\n" + EngineRefusedText +
                               program.file(EngineLibraryName) + reason + "\n";
        for (size_t at = 0; (at = expected.find('\n', at)) != std::string::npos; at += 2)
            expected.replace(at, 1, "\\n");
        std::string seen = waitForOutput(converter, "message:");
        seen += waitForOutput(converter, "\n", 2000);
        EXPECT_NE(seen.find("message: " + expected), std::string::npos) << seen;
        // Still running, the box waiting for the user.
        EXPECT_EQ(converter.state(), QProcess::Running);
        stop(converter);
    }
}
