// The program on a real X display (Xvfb): the shaped main window as the user
// sees it, the refusal of a damaged installation, answered with the keyboard,
// the notice and the options dialog, and the offer to mail the logs after a
// conversion was killed.
#include "quilo_test/support.h"
#include "shell/product_links.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace quilo::test;

namespace {

// Runs a shell script inside a fresh Xvfb display.
ProcessResult onDisplay(const std::string& script, const std::map<std::string, std::string>& env) {
    return runProcess("xvfb-run", {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", script}, 60000, env);
}

} // namespace

TEST(DesktopSession, TheMainWindowIsShapedByItsPicture) {
    TempDir home, runtime, shots;
    const std::string shot = shots.file("screen.png");
    const std::string script =
        "\"" + programDir() +
        "quilo-converter\" & pid=$!\n"
        "timeout 20 xdotool search --sync --onlyvisible --name QuiloVideoConverter >/dev/null\n"
        "sleep 1\n\"" +
        programDir() + "../tools/quilo-grab-screen\" \"" + shot +
        "\"\n"
        "kill $pid; wait $pid; exit 0\n";
    const ProcessResult run = onDisplay(
        script, {{"HOME", home.path()}, {"XDG_RUNTIME_DIR", runtime.path()}, {"QT_QPA_PLATFORM", "xcb"}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QImage screen(QString::fromStdString(shot));
    ASSERT_FALSE(screen.isNull()) << run.err;

    // The window sits at the top left of the empty screen: its rounded corners are
    // cut away (the black root window shows), its inside is drawn, nothing is magenta.
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(screen.pixel(0, 0) & RGB_MASK, black & RGB_MASK);
    EXPECT_EQ(screen.pixel(859, 634) & RGB_MASK, black & RGB_MASK);
    EXPECT_NE(screen.pixel(430, 20) & RGB_MASK, black & RGB_MASK);
    EXPECT_NE(screen.pixel(430, 600) & RGB_MASK, black & RGB_MASK);
    EXPECT_EQ(screen.pixel(900, 300) & RGB_MASK, black & RGB_MASK); // outside 860 x 635
    for (int y = 0; y < 635; y += 5)
        for (int x = 0; x < 860; x += 5)
            ASSERT_NE(screen.pixel(x, y) & RGB_MASK, qRgb(255, 0, 255) & RGB_MASK) << x << "," << y;
}

TEST(DesktopSession, ADamagedIdentityFileIsRefusedWithExitCodeMinusOne) {
    TempDir install, runtime;
    std::filesystem::copy_file(programDir() + "quilo-converter", install.file("quilo-converter"));
    std::filesystem::permissions(install.file("quilo-converter"), std::filesystem::perms::owner_all);
    writeFile(install.file("WinVersion.bin"), readFile(programDir() + "WinVersion.bin").substr(0, 100));

    const std::string script = "\"" + install.file("quilo-converter") +
                               "\" & pid=$!\n"
                               "timeout 20 xdotool search --sync --onlyvisible --class quilo-converter "
                               "windowfocus --sync key Return 2>/dev/null\n"
                               "wait $pid; echo \"exit=$?\"\n";
    const ProcessResult run =
        onDisplay(script, {{"XDG_RUNTIME_DIR", runtime.path()}, {"QT_QPA_PLATFORM", "xcb"}});
    EXPECT_NE(run.out.find("exit=255"), std::string::npos) << run.out << run.err;
}

TEST(DesktopSession, TheMultiAudioNoticeAndTheOptionsDialogOnARealDisplay) {
    TempDir home, runtime, shots;
    const std::string clip = twoLanguageClip();
    const std::string grab = "\"" + programDir() + "../tools/quilo-grab-screen\" ";
    // The notice comes with the clip: its box (first in the tab order) is ticked
    // with the space bar and the window left with Escape, which opens no page.
    // Then the header's Options button opens the options dialog.
    const std::string script =
        "\"" + programDir() + "quilo-converter\" \"" + clip +
        "\" & pid=$!\n"
        "timeout 30 xdotool search --sync --onlyvisible --name '^tips$' windowfocus --sync >/dev/null\n"
        "sleep 0.5\n" +
        grab + "\"" + shots.file("notice.png") +
        "\"\n"
        "xdotool key space; sleep 0.3; xdotool key Escape\n"
        "main=$(timeout 10 xdotool search --sync --onlyvisible --name QuiloVideoConverter | head -1)\n"
        "xdotool mousemove --window $main 487 22 click 1\n"
        "timeout 10 xdotool search --sync --onlyvisible --name '^Options$' >/dev/null && echo options-shown\n"
        "sleep 0.5\n" +
        grab + "\"" + shots.file("options.png") +
        "\"\n"
        "kill $pid; wait $pid; exit 0\n";
    const ProcessResult run = onDisplay(
        script, {{"HOME", home.path()}, {"XDG_RUNTIME_DIR", runtime.path()}, {"QT_QPA_PLATFORM", "xcb"}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("options-shown"), std::string::npos) << run.out << run.err;
    const std::string options = home.file(".local/share/Quilo/Quilo Video Converter/Option.ini");
    EXPECT_NE(readFile(options).find("ShowMultiAudio=1"), std::string::npos);
    EXPECT_FALSE(QImage(QString::fromStdString(shots.file("notice.png"))).isNull());
    if (const char* keep = std::getenv("QUILO_SCREENSHOT_DIR")) {
        std::filesystem::copy_file(shots.file("notice.png"), std::string(keep) + "/xvfb-notice.png",
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(shots.file("options.png"), std::string(keep) + "/xvfb-options.png",
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

TEST(DesktopSession, AfterAKilledConversionTheProgramHandsBothLogsToTheMailProgram) {
    TempDir home, runtime, bin, shots, out;
    const std::string data = home.file(".local/share/Quilo/Quilo Video Converter/");
    std::map<std::string, std::string> env = {{"HOME", home.path()},
                                              {"XDG_DATA_HOME", home.file(".local/share")},
                                              {"XDG_RUNTIME_DIR", runtime.path()},
                                              {"QT_QPA_PLATFORM", "xcb"}};

    // An earlier run of the program: the reminder starts its count of days
    // (and has nothing else to say on the first day it ever runs).
    const std::string firstRun = "\"" + programDir() +
                                 "quilo-converter\" & pid=$!\n"
                                 "for i in $(seq 300); do grep -q UpdateDate \"" +
                                 data +
                                 "Option.ini\" 2>/dev/null && break; sleep 0.1; done\n"
                                 "kill $pid; wait $pid; exit 0\n";
    ASSERT_EQ(onDisplay(firstRun, env).exitCode, 0);
    ASSERT_NE(readFile(data + "Option.ini").find("UpdateDate="), std::string::npos);

    // quilo-convert killed in the middle of a clip.
    QProcess converter;
    std::string seen;
    ASSERT_TRUE(startConverter(converter, env, {"--output", out.path(), "/MP4", sixtySecondClip()}, seen))
        << seen;
    ::kill(static_cast<pid_t>(converter.processId()), SIGKILL);
    converter.waitForFinished();
    ASSERT_NE(readFile(data + "UserLog.log").find("FinishLast=0"), std::string::npos);

    // The desktop's mail program: a stand-in that writes down its arguments.
    const auto tool = [&](const std::string& name, const std::string& script) {
        writeFile(bin.file(name), "#!/bin/sh\n" + script);
        std::filesystem::permissions(bin.file(name), std::filesystem::perms::owner_all);
    };
    tool("xdg-email", "for a in \"$@\"; do echo \"$a\"; done > \"" + bin.file("arguments.part") +
                          "\"\nmv \"" + bin.file("arguments.part") + "\" \"" + bin.file("arguments") +
                          "\"\n");
    tool("xdg-mime", "echo mailer.desktop\n");
    env["PATH"] = bin.path() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");

    // The question comes in a message box named after the product, three
    // seconds after the window shows; Alt+Y answers Yes.
    const std::string script =
        "\"" + programDir() +
        "quilo-converter\" & pid=$!\n"
        "timeout 30 xdotool search --sync --onlyvisible --name '^Quilo Video Converter$' windowfocus --sync "
        ">/dev/null && echo asked\n"
        "sleep 0.5\n\"" +
        programDir() + "../tools/quilo-grab-screen\" \"" + shots.file("question.png") +
        "\"\n"
        "xdotool key alt+y\n"
        "for i in $(seq 300); do [ -f \"" +
        bin.file("arguments") +
        "\" ] && break; sleep 0.1; done\n"
        "kill $pid; wait $pid; exit 0\n";
    const ProcessResult run = onDisplay(script, env);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("asked"), std::string::npos) << run.out << run.err;
    ASSERT_TRUE(fileExists(bin.file("arguments"))) << run.err;
    const std::string arguments = readFile(bin.file("arguments"));
    EXPECT_NE(arguments.find("--attach\n" + data + "UserLog.log\n--attach\n" + data + "tamberlog.log\n"),
              std::string::npos)
        << arguments;
    EXPECT_NE(arguments.find("--subject\n"), std::string::npos) << arguments;
    EXPECT_TRUE(arguments.ends_with(quilo::ProductLinks::Read(programDir()).problemReportAddress + "\n"))
        << arguments;
    std::filesystem::create_directories(programDir() + "../screenshots");
    std::filesystem::copy_file(shots.file("question.png"),
                               programDir() + "../screenshots/program-log-offer.png",
                               std::filesystem::copy_options::overwrite_existing);
}

// Start-up as an X client sees it, watched by the start-up benchmark: the
// splash shows, fades in fully and is gone before the main window is mapped,
// which then answers from its event loop.
TEST(DesktopSession, TheSplashFadesInFullyAndGivesWayToTheMainWindow) {
    const std::string watcher = programDir() + "../bench/startup_bench";
    if (!fileExists(watcher))
        GTEST_SKIP() << "built without the benchmarks";
    const ProcessResult run = runProcess(watcher, {"1"}, 120000);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto row = run.out.find("start 1");
    ASSERT_NE(row, std::string::npos) << run.out << run.err;
    std::istringstream figures(run.out.substr(row + 7, run.out.find('\n', row) - row - 7));
    std::vector<double> times;
    for (double time = 0; figures >> time;)
        times.push_back(time);
    // Splash mapped, shows, opaque, gone; main window mapped, answers.
    ASSERT_EQ(times.size(), 6u) << run.out;
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_LE(times[i - 1], times[i]) << run.out;
}
