#include "dvd/burning/disc_device.h"
#include "quilo_test/dvd_folder.h"
#include "quilo_test/support.h"

#include <gtest/gtest.h>
#include <mutex>

namespace quilo {
namespace {

std::mutex linesLock;
std::vector<std::string> lines;
void collectLine(int, int, const std::string& text) {
    std::lock_guard guard(linesLock);
    lines.push_back(text);
}
bool logged(const std::string& text) {
    std::lock_guard guard(linesLock);
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

std::vector<int> hookedEvents;
void collectEvent(int event) {
    hookedEvents.push_back(event);
}

class DiscDeviceOnRealLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        lines.clear();
        hookedEvents.clear();
        CDevice::SetLogHook(collectLine);
        ASSERT_TRUE(CDevice::LoadDiscLibrary(test::programDir()));
        ASSERT_TRUE(CDevice::InitStarBurnDll());
    }
    void TearDown() override {
        CDevice::Devices().clear();
        CDevice::SetPseudoDrives({});
        CDevice::ShutDownStarBurnDll();
        CDevice::SetLogHook(nullptr);
    }
    test::TempDir work;
};

TEST_F(DiscDeviceOnRealLibrary, FindsDescribesAndBurnsAPseudoDrive) {
    ASSERT_EQ(test::MakeDvdFolder(work.file("DVD_DISC"), 3), "");
    const std::string image = work.file("disc.iso");
    CDevice::SetPseudoDrives({"stdio:/no/such/folder/x.iso", "stdio:" + image});
    CDevice::FindSPTIDevices();
    ASSERT_FALSE(CDevice::Devices().empty());
    CDevice& drive = CDevice::Devices().back();
    EXPECT_EQ(drive.GetDeviceName(), "stdio:" + image); // the unreachable one is left out
    EXPECT_EQ(drive.GetTransport(), TransportSPTI);

    ASSERT_TRUE(drive.RefreshDeviceInfo());
    EXPECT_TRUE(drive.InfoLoaded());
    EXPECT_FALSE(drive.GetProduct().empty());
    EXPECT_EQ(drive.GetDriveLetter(), image);
    ASSERT_TRUE(drive.RefreshDiscInfo());
    EXPECT_EQ(DiscTypeName(drive.GetDiscType()), "DVD-RAM");
    EXPECT_GT(drive.GetFreeSpace(), 0.0);
    EXPECT_TRUE(drive.IsDiscBlank());

    // A file accepts every rate: one entry per DVD table row, ascending.
    TSpeeds speeds;
    ASSERT_TRUE(drive.GetSpeedList(speeds));
    ASSERT_EQ(speeds.size(), DvdSpeedTable().size());
    EXPECT_STREQ(speeds.front().name, "1.0x");
    EXPECT_EQ(speeds.back().rate, 22160u);
    drive.ReleaseGrabber();

    TBurnParams params;
    params.writeRate = speeds.back().rate;
    params.writeSpeedName = speeds.back().name;
    params.volumeLabel = "DVD_DISC";
    drive.SetEventHook(collectEvent);
    ASSERT_TRUE(drive.BurnDVDVideo(params, work.file("DVD_DISC/VIDEO_TS"))) << drive.GetExceptionText();
    drive.ReleaseGrabber();
    EXPECT_EQ(drive.GetProgress(), 100);
    EXPECT_EQ(drive.GetState(), DeviceIdle);
    EXPECT_TRUE(logged("Burning Completed"));
    EXPECT_TRUE(logged("Track-At-Once is supported!"));
    ASSERT_FALSE(hookedEvents.empty());
    EXPECT_EQ(hookedEvents.front(), 4);

    const auto lsdvd = test::runProcess("lsdvd", {"-v", "-Oy", image});
    ASSERT_EQ(lsdvd.exitCode, 0) << lsdvd.err;
    EXPECT_NE(lsdvd.out.find("'ix' : 3"), std::string::npos) << lsdvd.out;
    EXPECT_EQ(lsdvd.out.find("'ix' : 4"), std::string::npos) << lsdvd.out;

    drive.ReleaseGrabber();
}

TEST_F(DiscDeviceOnRealLibrary, BadFoldersTargetsAndDrivesFailWithTheirTexts) {
    CDevice::SetPseudoDrives({"stdio:/no/such/folder/x.iso"});
    CDevice::FindSPTIDevices();
    EXPECT_TRUE(CDevice::Devices().empty());

    // A folder of files that are no DVD: nothing is written.
    test::writeFile(work.file("NOT_DVD/clip.mpg"), "not a dvd");
    CDevice drive(TransportSPTI, "stdio:" + work.file("disc.iso"));
    TBurnParams params;
    EXPECT_FALSE(drive.BurnDVDVideo(params, work.file("NOT_DVD")));
    EXPECT_TRUE(logged("Creating DVD-Video file system failed!"));
    EXPECT_FALSE(test::fileExists(work.file("disc.iso")));

    ASSERT_EQ(test::MakeDvdFolder(work.file("DVD_DISC"), 1), "");
    CDevice missing(TransportSPTI, "stdio:/no/such/folder/x.iso");
    EXPECT_FALSE(missing.BurnDVDVideo(params, work.file("DVD_DISC/VIDEO_TS")));
    EXPECT_TRUE(logged("Started Error!"));
    EXPECT_FALSE(missing.RefreshDiscInfo());
    EXPECT_EQ(missing.GetFreeSpace(), 0.0);

    CDevice unwritable(TransportSPTI, "stdio:/proc/version");
    EXPECT_FALSE(unwritable.BurnDVDVideo(params, work.file("DVD_DISC/VIDEO_TS")));
    unwritable.ReleaseGrabber();
    EXPECT_TRUE(logged("Burning Error!"));
    EXPECT_EQ(unwritable.GetState(), DeviceIdle);
    EXPECT_NE(unwritable.GetLastResult(), 0u);
    EXPECT_FALSE(unwritable.GetExceptionText().empty());
}

} // namespace
} // namespace quilo
