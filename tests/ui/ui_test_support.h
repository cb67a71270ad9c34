// What the window tests share: one application object for the process, a
// generated clip, and a main window with scripted messages and a recording
// desktop, its files in temporary folders.
#pragma once

#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"
#include "skin/skin_palette.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quilo::test {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the engine's threads and Qt's own may outlive the tests.
    static QApplication* app = [] {
        auto* made = new QApplication(argc, argv);
        skin::Apply(*made);
        return made;
    }();
    return *app;
}

inline std::string shortClip() {
    return fixture("ui-two-seconds.mp4", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25", "-f", "lavfi",
                                          "-i", "sine=frequency=440", "-t", "2", "-c:v", "libx264", "-preset",
                                          "ultrafast", "-c:a", "aac", "-shortest"});
}

// Answers from a script and lets a test act when a message shows.
class WatchingPrompter : public ScriptedPrompter {
public:
    std::function<void(const std::string&)> onAsk;
    PromptAnswer ask(PromptKind kind, const std::string& text, PromptButtons buttons) override {
        if (onAsk)
            onAsk(text);
        return ScriptedPrompter::ask(kind, text, buttons);
    }
};

class WindowTest : public ::testing::Test {
protected:
    TempDir home, appData;
    WatchingPrompter prompter;
    RecordingDesktopServices desktop;
    std::unique_ptr<MainWindow> window;
    // What the Browse buttons' folder chooser answers.
    std::string chosenFolder;

    void SetUp() override {
        // The base output folder falls back into the home folder.
        setenv("HOME", home.path().c_str(), 1);
        application();
        restart();
    }

    // A new main window over the same files, as the next run of the program.
    void restart() {
        window.reset();
        const ProductIdentity identity{"Quilo Video Converter", "1.0", "Build on 2026-12-09",
                                       "QuiloVideoConverterUiTest"};
        window = std::make_unique<MainWindow>(
            identity, programDir(),
            MainWindowServices{&prompter, &desktop, appData.path(),
                               [this](const std::string&, const std::string&) { return chosenFolder; }});
        window->applyArguments({});
    }
};

// The main window shown on the X display that xvfb-run gives the test, not
// the offscreen one.
class ShownWindowTest : public WindowTest {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        WindowTest::SetUp();
        QApplication::setQuitOnLastWindowClosed(false);
        showWindow();
    }

    void showWindow() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Focus moves between the fields only in the active window.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // What the X server shows where `widget` is, saved in the build's
    // screenshots folder for looking at.
    static void saveScreen(QWidget* widget, const std::string& name) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(widget->window()));
        QApplication::processEvents();
        const std::string folder = programDir() + "../screenshots/";
        std::filesystem::create_directories(folder);
        const QRect area(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        QGuiApplication::primaryScreen()
            ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .save(QString::fromStdString(folder + name));
    }
};

} // namespace quilo::test
