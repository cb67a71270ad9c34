// The program driven by the keyboard alone on a real X display (Xvfb): Ctrl+O
// adds two clips through the file dialog, the arrow keys move in the list,
// Delete removes a clip, Tab reaches Start and the space bar starts the job.
#include "quilo_test/support.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo::test;

namespace {

std::string clip(const std::string& name, int frequency) {
    return fixture(name, {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25", "-f", "lavfi", "-i",
                          "sine=frequency=" + std::to_string(frequency), "-t", "2", "-c:v", "libx264",
                          "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
}

} // namespace

TEST(KeyboardSession, TwoClipsAddedWithCtrlOOneDeletedAndTheOtherConverted) {
    const std::string first = clip("keys-first.mp4", 440), second = clip("keys-second.mp4", 880);
    TempDir home, runtime, shots;
    const std::string log = shots.file("program.log");
    const std::string grab = "\"" + programDir() + "../tools/quilo-grab-screen\" ";
    const std::string waitForLog = [&] {
        // Generous: on a busy machine the conversion alone may take a minute.
        return "wait_log() { timeout 120 sh -c \"until grep -q '$1' '" + log + "'; do sleep 0.2; done\"; }\n";
    }();
    const std::string script =
        waitForLog + "\"" + programDir() + "quilo-converter\" 2>\"" + log +
        "\" & pid=$!\n"
        "main=$(timeout 30 xdotool search --sync --onlyvisible --name QuiloVideoConverter | head -1)\n"
        "wait_log 'command line:'\n"
        "xdotool windowfocus --sync $main key ctrl+o\n"
        "dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Open' | head -1)\n"
        "sleep 0.5\n" +
        grab + "\"" + shots.file("file-dialog.png") +
        "\"\n"
        "xdotool windowfocus --sync $dialog type --delay 10 '\"" +
        first + "\" \"" + second +
        "\"'\n"
        "xdotool key Return\n"
        "wait_log 'clip list: .*keys-second'\n"
        "sleep 0.5\n"
        // The first row: a click gives the list the keys.
        "xdotool windowfocus --sync $main mousemove --window $main 90 187 click 1\n"
        "sleep 0.3\n"
        "xdotool key Down\n"
        "sleep 0.3\n" +
        grab + "\"" + shots.file("list.png") +
        "\"\n"
        "xdotool key Delete\n"
        "wait_log 'clip list: [^|]*keys-first.mp4$'\n"
        "xdotool key Tab\n"
        "sleep 0.3\n"
        "xdotool key space\n"
        // No file manager and no notification service: a message box tells the end.
        "wait_log 'message: Process Finished!'\n"
        "sleep 0.5\n" +
        grab + "\"" + shots.file("finished.png") +
        "\"\n"
        "kill $pid; wait $pid; exit 0\n";
    const ProcessResult run =
        runProcess("xvfb-run", {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", script}, 280000,
                   {{"HOME", home.path()},
                    {"XDG_RUNTIME_DIR", runtime.path()},
                    {"XDG_CONFIG_HOME", home.file("config")},
                    {"XDG_DATA_DIRS", home.file("system-data")},
                    {"DBUS_SESSION_BUS_ADDRESS", ""},
                    {"BROWSER", ""},
                    {"QT_QPA_PLATFORM", "xcb"},
                    {"QT_LOGGING_RULES", "quilo.commands.debug=true;quilo.messages.debug=true"}});
    const std::string said = readFile(log);
    ASSERT_EQ(run.exitCode, 0) << run.err << said;
    EXPECT_NE(said.find("clip list: " + first + " | " + second), std::string::npos) << said;
    // Down moved to the second clip, so Delete removed that one.
    EXPECT_NE(said.find("clip list: " + first + "\n"), std::string::npos) << said;
    const auto told = said.find("message: Process Finished!");
    ASSERT_NE(told, std::string::npos) << said;
    const std::string message = said.substr(told, said.find('\n', told) - told);
    EXPECT_NE(message.find("keys-first"), std::string::npos) << message;
    EXPECT_EQ(message.find("keys-second"), std::string::npos) << message;

    if (const char* keep = std::getenv("QUILO_SCREENSHOT_DIR"))
        for (const char* name : {"file-dialog.png", "list.png", "finished.png"})
            if (fileExists(shots.file(name)))
                std::filesystem::copy_file(shots.file(name), std::string(keep) + "/keyboard-" + name,
                                           std::filesystem::copy_options::overwrite_existing);
}
