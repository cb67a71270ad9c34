// The queue between two threads of a conversion: order, back-pressure, the
// end of the input and a halt that wakes a waiting side.
#include "bounded_queue.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace tz {
namespace {

using namespace std::chrono_literals;

// Only a guard against a hang; nothing is judged by time.
constexpr auto kWatchdog = 10s;

TEST(BoundedQueue, ItemsArriveInOrderThroughASmallQueue) {
    BoundedQueue<std::unique_ptr<int>> queue(2);
    auto producing = std::async(std::launch::async, [&] {
        for (int i = 0; i < 1000; ++i)
            if (!queue.push(std::make_unique<int>(i)))
                return false;
        queue.close();
        return true;
    });
    std::vector<int> received;
    while (auto item = queue.pop())
        received.push_back(**item);
    ASSERT_EQ(producing.wait_for(kWatchdog), std::future_status::ready);
    EXPECT_TRUE(producing.get());
    ASSERT_EQ(received.size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(received[i], i);
}

TEST(BoundedQueue, AHaltWakesAProducerHeldBackByAFullQueue) {
    BoundedQueue<int> queue(1);
    ASSERT_TRUE(queue.push(1));
    std::promise<void> started;
    auto producing = std::async(std::launch::async, [&] {
        started.set_value();
        return queue.push(2); // waits: the queue is full
    });
    started.get_future().wait();
    queue.halt();
    ASSERT_EQ(producing.wait_for(kWatchdog), std::future_status::ready);
    EXPECT_FALSE(producing.get());
    // After a halt nothing goes in and nothing comes out, not even what was there.
    EXPECT_FALSE(queue.push(3));
    EXPECT_FALSE(queue.pop().has_value());
}

TEST(BoundedQueue, AHaltWakesAConsumerWaitingForItems) {
    BoundedQueue<int> queue(4);
    std::promise<void> started;
    auto consuming = std::async(std::launch::async, [&] {
        started.set_value();
        return queue.pop();
    });
    started.get_future().wait();
    queue.halt();
    ASSERT_EQ(consuming.wait_for(kWatchdog), std::future_status::ready);
    EXPECT_FALSE(consuming.get().has_value());
}

TEST(BoundedQueue, AClosedQueueGivesWhatItHoldsThenEnds) {
    BoundedQueue<int> queue(4);
    ASSERT_TRUE(queue.push(7));
    ASSERT_TRUE(queue.push(8));
    queue.close();
    EXPECT_EQ(queue.pop(), 7);
    EXPECT_EQ(queue.pop(), 8);
    EXPECT_FALSE(queue.pop().has_value());
}

} // namespace
} // namespace tz
