#include "platform/qt_window_port.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

namespace quilo {
namespace {

// One application for every test of the process; it lives until the process ends.
void application() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

class Receiver : public QObject {
public:
    struct Message {
        int number;
        long wParam;
        long lParam;
        QThread* thread;
    };

    bool event(QEvent* event) override {
        if (auto* message = dynamic_cast<PortEvent*>(event)) {
            received.push_back(
                {int(event->type()), message->wParam(), message->lParam(), QThread::currentThread()});
            return true;
        }
        if (event->type() < QEvent::User)
            ++qtEvents;
        return QObject::event(event);
    }

    std::vector<Message> received;
    int qtEvents = 0;
};

TEST(PlatformWindowPort, PostsFromSeveralThreadsArriveInOrderOnTheReceiversThread) {
    application();
    Receiver receiver;
    QtWindowPort port(&receiver);

    std::vector<std::thread> workers;
    for (long thread = 0; thread < 4; ++thread) {
        workers.emplace_back([&, thread] {
            for (long i = 0; i < 500; ++i)
                quilo_window_port_post(port.port(), 2412 + unsigned(thread), thread, i);
        });
    }
    for (auto& worker : workers)
        worker.join();
    // Qt's own event numbers and numbers past 65535 are no messages of ours.
    quilo_window_port_post(port.port(), 1, 0, 0);
    quilo_window_port_post(port.port(), 999, 0, 0);
    quilo_window_port_post(port.port(), 70000, 0, 0);
    quilo_window_port_post(port.port(), 65535, 7, 8);
    EXPECT_TRUE(receiver.received.empty()); // nothing is delivered outside the event loop
    QCoreApplication::processEvents();

    ASSERT_EQ(receiver.received.size(), 2001u);
    long next[4] = {0, 0, 0, 0};
    for (size_t i = 0; i + 1 < receiver.received.size(); ++i) {
        const auto& message = receiver.received[i];
        ASSERT_EQ(message.number, 2412 + message.wParam);
        EXPECT_EQ(message.lParam, next[message.wParam]++) << "thread " << message.wParam;
        EXPECT_EQ(message.thread, QThread::currentThread());
    }
    EXPECT_EQ(receiver.received.back().number, 65535);
    EXPECT_EQ(receiver.received.back().lParam, 8);
    EXPECT_EQ(receiver.qtEvents, 0);
    quilo_window_port_post(nullptr, 2312, 0, 0); // a missing port is no crash
}

TEST(PlatformWindowPort, AReceiverOnAnotherThreadGetsItsEventsThere) {
    application();
    QThread thread;
    thread.start();
    auto* receiver = new Receiver;
    receiver->moveToThread(&thread);
    {
        QtWindowPort port(receiver);
        std::thread([&] { quilo_window_port_post(port.port(), 3001, 1, 2); }).join();
        // Queued behind the event on the receiver's thread.
        std::vector<Receiver::Message> got;
        QMetaObject::invokeMethod(
            receiver, [&] { got = receiver->received; }, Qt::BlockingQueuedConnection);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].number, 3001);
        EXPECT_EQ(got[0].thread, &thread);
    }
    thread.quit();
    ASSERT_TRUE(thread.wait(30000));
    delete receiver;
}

TEST(PlatformWindowPort, PostsForADeadReceiverAreDropped) {
    application();
    auto* receiver = new Receiver;
    Receiver survivor;
    QtWindowPort port(receiver);
    QtWindowPort other(&survivor);
    quilo_window_port_post(port.port(), 2612, 1, 1);
    delete receiver; // the window went away with an event on its way
    quilo_window_port_post(port.port(), 2612, 2, 2);
    quilo_window_port_post(other.port(), 2613, 3, 3);
    QCoreApplication::processEvents(); // must not touch the dead receiver
    ASSERT_EQ(survivor.received.size(), 1u);
    EXPECT_EQ(survivor.received[0].number, 2613);
}

} // namespace
} // namespace quilo
