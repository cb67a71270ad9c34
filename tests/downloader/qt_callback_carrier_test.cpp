// The windowed program's carrier: reports of a worker run on the window's
// thread inside its event loop, one at a time, while the worker waits.
#include "downloader/qt_callback_carrier.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace quilo;

namespace {

struct QtCarrierTest : ::testing::Test {
    int argc = 1;
    char name[8] = "carrier";
    char* argv[1] = {name};
    QCoreApplication app{argc, argv};
    QtCallbackCarrier carrier;
};

} // namespace

TEST_F(QtCarrierTest, ReportsRunInTheEventLoopInOrderWhileTheWorkerWaits) {
    const auto owner = std::this_thread::get_id();
    std::vector<int> seen;
    std::thread worker([&] {
        for (int i = 0; i < 5; ++i) {
            int observed = -1;
            carrier.carry([&] {
                EXPECT_EQ(std::this_thread::get_id(), owner);
                seen.push_back(i);
                observed = i;
            });
            EXPECT_EQ(observed, i); // the report has run when carry returns
        }
        carrier.carry([] { QCoreApplication::quit(); });
    });
    QCoreApplication::exec();
    worker.join();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(QtCarrierTest, WaitingRunsTheReportsButNotTheRestOfTheEventLoop) {
    bool timerFired = false;
    QTimer::singleShot(0, &app, [&] { timerFired = true; });
    std::atomic<bool> done{false};
    int reports = 0;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            carrier.carry([&] { ++reports; });
        done = true;
        carrier.wake();
    });
    carrier.waitUntil([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(reports, 3);
    // Other events wait for the event loop: a wait may not re-enter the window.
    EXPECT_FALSE(timerFired);
    QCoreApplication::processEvents();
    EXPECT_TRUE(timerFired);
}

TEST_F(QtCarrierTest, AFailingReportStillReleasesTheWorker) {
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        carrier.carry([] { throw std::runtime_error("report failed"); });
        returned = true;
        carrier.wake();
    });
    carrier.waitUntil([&] { return returned.load(); });
    worker.join();
    EXPECT_TRUE(returned);

    int ran = 0;
    carrier.carry([&] { ++ran; }); // from the owner: at once
    EXPECT_EQ(ran, 1);
}
