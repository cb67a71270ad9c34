// The progress window on an X display (Xvfb) with the real engine: the whole
// job's percent and remaining time shown under the clip's own figures while
// two clips of different lengths convert. What the screen shows mid-job is
// saved in the build's screenshots folder.
#include "quilo_test/support.h"
#include "ui/progress_window.h"
#include "ui_test_support.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// Twelve seconds of 640 x 360: long enough for several ticks of its own.
std::string twelveSecondClip() {
    return fixture("ui-twelve-seconds.mp4", {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25", "-f",
                                             "lavfi", "-i", "sine=frequency=660", "-t", "12", "-c:v",
                                             "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
}

struct Seen {
    std::string clip, clipPercent, jobPercent, jobRemaining;
};

} // namespace

TEST_F(ShownWindowTest, TheWholeJobsFiguresShowUnderTheClipsAndRiseToTheEnd) {
    window->addChosenFiles({shortClip(), twelveSecondClip()});
    ASSERT_EQ(window->session().clips().Count(), 2);
    window->categoryButton(Category::GeneralVideo)->click();
    window->targetButton(Target::MP4)->click();
    ProgressWindow* progress = window->progressWindow();
    auto label = [progress](const char* name) {
        return progress->findChild<QLabel*>(name)->text().toStdString();
    };

    // What the labels show, whenever it changes, from inside the modal window's loop.
    std::vector<Seen> seen;
    bool pictured = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!progress->isVisible())
            return;
        const Seen now{label("currentClip"), label("percent"), label("jobPercent"), label("jobRemaining")};
        if (seen.empty() || now.jobPercent != seen.back().jobPercent || now.clip != seen.back().clip)
            seen.push_back(now);
        // The long clip half done: both clips' figures and the job's in one picture.
        if (!pictured && now.clip == "ui-twelve-seconds.mp4" &&
            now.jobRemaining.find(':') != std::string::npos && std::atoi(now.clipPercent.c_str()) >= 30) {
            pictured = true;
            saveScreen(progress, "progress-whole-job.png");
        }
    });
    watch.start(20);
    window->startButton()->click(); // returns when the job has ended and its window closed
    watch.stop();

    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(pictured) << "the long clip was never seen a third done";
    int last = 0;
    for (const Seen& one : seen) {
        ASSERT_EQ(one.jobPercent.substr(one.jobPercent.size() - 2), " %") << one.jobPercent;
        const int percent = std::atoi(one.jobPercent.c_str());
        EXPECT_GE(percent, last) << one.clip << " " << one.jobPercent;
        last = percent;
        // The short clip is a seventh of the job: the job's percent is not the clip's.
        if (one.clip == "ui-twelve-seconds.mp4" && percent < 100) {
            EXPECT_GE(percent, 14);
        }
    }
    EXPECT_EQ(label("jobPercent"), "100 %");
    EXPECT_EQ(label("jobRemaining"), "00:00:00");
    EXPECT_EQ(label("percent"), "100");
    ASSERT_EQ(desktop.shown.size(), 1u);
    EXPECT_NEAR(durationSeconds(ffprobe(desktop.shown.front())), 12.0, 0.3);
}
