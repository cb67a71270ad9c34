// Reports of a worker reach the owner's thread one at a time, and the worker
// waits for each.
#include "downloader/callback_carrier.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace quilo;

TEST(CallerThreadCarrier, HandlersRunOnTheOwnerInOrderWhileTheWorkerWaits) {
    CallerThreadCarrier carrier;
    const auto owner = std::this_thread::get_id();
    std::vector<int> seen;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 5; ++i) {
            int observed = -1;
            carrier.carry([&] {
                EXPECT_EQ(std::this_thread::get_id(), owner);
                seen.push_back(i);
                observed = i;
            });
            // The handler has run when carry returns.
            EXPECT_EQ(observed, i);
        }
        done = true;
        carrier.wake();
    });
    carrier.waitUntil([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(carrier.runPending(), 0);
}

TEST(CallerThreadCarrier, AThrowingHandlerStillReleasesTheWorker) {
    CallerThreadCarrier carrier;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        carrier.carry([] { throw std::runtime_error("handler failed"); });
        returned = true;
        carrier.wake();
    });
    EXPECT_THROW(carrier.waitUntil([&] { return returned.load(); }), std::runtime_error);
    carrier.waitUntil([&] { return returned.load(); });
    worker.join();
    EXPECT_TRUE(returned);
}

TEST(CallerThreadCarrier, ACarryFromTheOwnerRunsAtOnce) {
    CallerThreadCarrier carrier;
    int ran = 0;
    carrier.carry([&] { ++ran; });
    EXPECT_EQ(ran, 1);
}
