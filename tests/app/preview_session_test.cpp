// The program on an X display of its own, driven like a user with xdotool: a
// clip named on the command line, its row clicked, the right trim handle
// dragged to the middle, and the preview on the screen then shows that
// second's frame (the clip's red is 8 x its second).
#include "quilo_test/support.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace quilo::test;

namespace {

// An Xvfb server on a display number it picks itself, for the test's life.
class Display {
public:
    Display() {
        server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        if (server_.waitForStarted(10000) && server_.waitForReadyRead(30000))
            name_ = ":" + server_.readLine().trimmed().toStdString();
    }
    ~Display() {
        server_.terminate();
        if (!server_.waitForFinished(10000))
            server_.kill();
        server_.waitForFinished(5000);
    }
    const std::string& name() const { return name_; }

private:
    QProcess server_;
    std::string name_;
};

// Where the window puts things (it sits at the top left of an empty screen).
const QPoint FirstRow(224, 183);
const QPoint RightHandle(748, 320); // the right trim handle at its end (156), beside its grip line
const QPoint PreviewMiddle(674, 241);

} // namespace

TEST(PreviewSession, TheRightHandleDraggedToTheMiddleShowsThatSecondOnTheScreen) {
    const std::string clip = secondsClip();
    Display display;
    ASSERT_FALSE(display.name().empty());
    TempDir home, runtime, shots;
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    const std::map<std::string, std::string> env = {{"DISPLAY", display.name()}, {"QT_QPA_PLATFORM", "xcb"}};

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", QString::fromStdString(display.name()));
    environment.insert("HOME", QString::fromStdString(home.path()));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
    environment.insert("XDG_DATA_HOME", QString::fromStdString(home.path() + ".local/share"));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(programDir() + "quilo-converter"), {QString::fromStdString(clip)});
    ASSERT_TRUE(program.waitForStarted(10000));

    const auto xdotool = [&](const std::vector<std::string>& args) {
        return runProcess("xdotool", args, 30000, env).exitCode == 0;
    };
    const std::string shot = shots.file("screen.png");
    const auto screen = [&] {
        runProcess(programDir() + "../tools/quilo-grab-screen", {shot}, 30000, env);
        return QImage(QString::fromStdString(shot));
    };
    // Polls the screen until `seen` holds; false after a minute.
    const auto waitFor = [&](const std::function<bool(const QImage&)>& seen,
                             const std::function<void()>& between = {}) {
        for (int tries = 0; tries < 300; ++tries) {
            if (between)
                between();
            const QImage image = screen();
            if (!image.isNull() && seen(image))
                return true;
            QThread::msleep(200);
        }
        return false;
    };

    ASSERT_TRUE(xdotool({"search", "--sync", "--onlyvisible", "--name", "QuiloVideoConverter"}));
    // Clicking the clip's row (once it is loaded) makes it current: the handles light up.
    const auto handleLit = [&](const QImage& image) { return qGray(image.pixel(RightHandle)) > 180; };
    ASSERT_TRUE(waitFor(handleLit, [&] {
        xdotool({"mousemove", std::to_string(FirstRow.x()), std::to_string(FirstRow.y()), "click", "1"});
    }));

    const std::string y = std::to_string(RightHandle.y());
    ASSERT_TRUE(xdotool({"mousemove", std::to_string(RightHandle.x()), y, "mousedown", "1", "mousemove",
                         std::to_string(RightHandle.x() - 40), y, "mousemove",
                         std::to_string(RightHandle.x() - 73), y, "mouseup", "1"}));
    // Second 15 of 30: red 120, green 135.
    const auto secondFifteen = [](const QImage& image) {
        const QColor c = image.pixelColor(PreviewMiddle);
        return std::abs(c.red() - 120) <= 8 && std::abs(c.green() - 135) <= 8;
    };
    const bool shown = waitFor(secondFifteen);
    const QImage last = screen();
    std::filesystem::create_directories(programDir() + "../screenshots");
    last.save(QString::fromStdString(programDir() + "../screenshots/program-trim-at-15.png"));
    EXPECT_TRUE(shown) << "preview colour " << last.pixelColor(PreviewMiddle).name().toStdString();

    program.terminate();
    if (!program.waitForFinished(30000))
        program.kill();
    program.waitForFinished(5000);
}
