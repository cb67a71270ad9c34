#include "platform/optical_drive_watch.h"
#include "quilo_test/support.h"

#include <QCoreApplication>
#include <filesystem>
#include <gtest/gtest.h>

namespace quilo {
namespace {

void application() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// Handles events until `told` reaches `count` (or a generous bound passes).
void waitUntilTold(const int& told, int count) {
    for (int rounds = 0; told < count && rounds < 300; ++rounds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
}

TEST(OpticalDriveWatch, ToldWhenADriveNodeComesOrGoes) {
    application();
    test::TempDir dev;
    test::writeFile(dev.file("sr0"), "");
    OpticalDriveWatch watch(QString::fromStdString(dev.path()));
    int told = 0;
    QObject::connect(&watch, &OpticalDriveWatch::drivesChanged, [&] { ++told; });
    watch.start();

    // A drive arrives beside another device.
    test::writeFile(dev.file("ttyS9"), "");
    test::writeFile(dev.file("sr1"), "");
    waitUntilTold(told, 1);
    EXPECT_EQ(told, 1);

    // A drive leaves beside another device.
    std::filesystem::remove(dev.file("ttyS9"));
    std::filesystem::remove(dev.file("sr0"));
    waitUntilTold(told, 2);
    EXPECT_EQ(told, 2);
    watch.stop();
}

} // namespace
} // namespace quilo
