// Drives no real device can be made to act like: fixed speed answers, missing
// write modes, a session that will not close.
#include "dvd/burning/disc_device.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

struct FakeDrive {
    int discType = 9;
    unsigned maxWrite = 22160;
    unsigned fixedRate = 0; // non-zero: every request is answered with it
    unsigned current = 0;
    unsigned char trackAtOnce = 1;
    int closeResult = DISCWRITER_OK;
    int sizeQueries = 0;
    bool wrote = false;
    discwriter_callback callback = nullptr;
    void* context = nullptr;
} fake;
char handleToken;
discwriter_grabber* const FakeHandle = reinterpret_cast<discwriter_grabber*>(&handleToken);
char imageToken;

DiscLibraryCalls FakeCalls() {
    DiscLibraryCalls c;
    c.up_start = [] { return 0; };
    c.shut_down = [] {};
    c.grabber_create = [](discwriter_grabber** out, char*, size_t, unsigned*, discwriter_callback cb,
                          void* ctx, const char*, int) {
        fake.callback = cb;
        fake.context = ctx;
        *out = FakeHandle;
        return 0;
    };
    c.grabber_release = [](discwriter_grabber** h) { *h = nullptr; };
    c.grabber_error = [](const discwriter_grabber*) { return "scripted"; };
    c.test_unit_ready = [](discwriter_grabber*) { return 0; };
    c.disc_type = [](discwriter_grabber*) { return fake.discType; };
    c.disc_used_space = [](discwriter_grabber*, uint64_t* v) {
        ++fake.sizeQueries;
        *v = 1000;
        return 0;
    };
    c.disc_free_space = [](discwriter_grabber*, uint64_t* v) {
        ++fake.sizeQueries;
        *v = 2000;
        return 0;
    };
    c.get_speeds = [](discwriter_grabber*, unsigned*, unsigned*, unsigned* cw, unsigned* mw) {
        if (cw)
            *cw = fake.current;
        if (mw)
            *mw = fake.maxWrite;
        return 0;
    };
    c.set_speeds = [](discwriter_grabber*, unsigned, unsigned w) {
        fake.current = fake.fixedRate ? fake.fixedRate : std::min(w, fake.maxWrite);
        return 0;
    };
    c.dvdvideo_create = [](discwriter_dvdvideo** out, const char*, char*, size_t, unsigned*, const char*,
                           const char*, const char*, int, int, int, int, int, int, int) {
        *out = reinterpret_cast<discwriter_dvdvideo*>(&imageToken);
        return 0;
    };
    c.dvdvideo_destroy = [](discwriter_dvdvideo** image) { *image = nullptr; };
    c.probe_write_modes = [](discwriter_grabber*, unsigned char* tao, unsigned char*, unsigned char*,
                             unsigned char*) {
        *tao = fake.trackAtOnce;
        return 0;
    };
    c.get_bup = [](discwriter_grabber*, unsigned char*, unsigned char*) { return 0; };
    c.set_bup = [](discwriter_grabber*, int) { return 0; };
    c.send_opc = [](discwriter_grabber*) { return 0; };
    c.track_at_once = [](discwriter_grabber*, char*, size_t, unsigned*, const discwriter_dvdvideo*, int) {
        fake.wrote = true;
        uint64_t total = 0, written = 0;
        fake.callback(DISCWRITER_EVENT_PROGRESS, fake.context, &total, &written); // no size known yet
        total = 300, written = 100;
        fake.callback(DISCWRITER_EVENT_PROGRESS, fake.context, &total, &written);
        return 0;
    };
    c.close_session = [](discwriter_grabber*) { return fake.closeResult; };
    return c;
}

class DiscDeviceOnScriptedDrive : public ::testing::Test {
protected:
    void SetUp() override {
        fake = {};
        CDevice::UseDiscLibrary(&calls);
    }
    void TearDown() override { CDevice::UseDiscLibrary(nullptr); }
    TSpeeds speedsOf(int discType) {
        fake.discType = discType;
        CDevice drive(TransportSPTI, "fake");
        EXPECT_TRUE(drive.RefreshDiscType());
        TSpeeds speeds;
        EXPECT_TRUE(drive.GetSpeedList(speeds));
        return speeds;
    }
    DiscLibraryCalls calls = FakeCalls();
};

std::vector<std::string> namesOf(const TSpeeds& speeds) {
    std::vector<std::string> names;
    for (const auto& speed : speeds)
        names.emplace_back(speed.name);
    return names;
}

TEST_F(DiscDeviceOnScriptedDrive, SpeedListFollowsWhatTheDriveAccepts) {
    fake.maxWrite = 5540;
    EXPECT_EQ(namesOf(speedsOf(9)), (std::vector<std::string>{"1.0x", "2.0x", "2.4x", "3.0x", "4.0x"}));

    // A CD drive stops probing at its maximum.
    fake.maxWrite = 1400;
    EXPECT_EQ(namesOf(speedsOf(2)),
              (std::vector<std::string>{"1.0x", "2.0x", "2.2x", "3.0x", "4.0x", "8.0x"}));

    fake.maxWrite = 22160;
    fake.fixedRate = 4155;
    const TSpeeds single = speedsOf(5);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_STREQ(single[0].name, "3.0x");

    // Exactly between 2.0x (2770) and 2.4x (3324): the lower row's name.
    fake.fixedRate = 3047;
    EXPECT_EQ(namesOf(speedsOf(8)), std::vector<std::string>{"2.0x"});
    // Outside the table: nothing.
    fake.fixedRate = 30000;
    EXPECT_TRUE(speedsOf(9).empty());
    // No disc, or a kind the tables do not cover.
    fake.fixedRate = 0;
    EXPECT_TRUE(speedsOf(DiscTypeEmpty).empty());
    EXPECT_TRUE(speedsOf(19).empty());
}

TEST_F(DiscDeviceOnScriptedDrive, NoDiscHasNoSpaceWithoutAsking) {
    fake.discType = DiscTypeEmpty;
    CDevice drive(TransportSPTI, "fake");
    ASSERT_TRUE(drive.RefreshDiscInfo());
    EXPECT_EQ(drive.GetUsedSpace(), 0.0);
    EXPECT_EQ(drive.GetFreeSpace(), 0.0);
    EXPECT_EQ(fake.sizeQueries, 0);
    EXPECT_EQ(DiscTypeName(drive.GetDiscType()), "Empty");
    EXPECT_EQ(DiscTypeName(23), "");
}

TEST_F(DiscDeviceOnScriptedDrive, BurnFailsWithoutTrackAtOnceOrAClosedSession) {
    TBurnParams params;
    fake.trackAtOnce = 0;
    {
        CDevice drive(TransportSPTI, "fake");
        EXPECT_FALSE(drive.BurnDVDVideo(params, "/dvd"));
        EXPECT_FALSE(fake.wrote);
    }
    fake.trackAtOnce = 1;
    fake.closeResult = DISCWRITER_E_SESSION_OPEN;
    CDevice drive(TransportSPTI, "fake");
    EXPECT_FALSE(drive.BurnDVDVideo(params, "/dvd"));
    EXPECT_TRUE(fake.wrote);
    EXPECT_EQ(drive.GetLastResult(), unsigned(DISCWRITER_E_SESSION_OPEN));
    // The progress event without a size left the percent alone; the next one set it.
    EXPECT_EQ(drive.GetProgress(), 33);

    fake.closeResult = DISCWRITER_OK;
    CDevice good(TransportSPTI, "fake");
    EXPECT_TRUE(good.BurnDVDVideo(params, "/dvd"));
    EXPECT_EQ(good.GetProgress(), 100);
}

TEST_F(DiscDeviceOnScriptedDrive, ACopyKeepsTheDriveButNotItsHandleOrSpeeds) {
    fake.discType = 9;
    CDevice drive(TransportSPTI, "fake");
    TSpeeds speeds;
    drive.RefreshDiscInfo();
    drive.GetSpeedList(speeds);
    ASSERT_FALSE(speeds.empty());
    drive.SetProgress(42);
    CDevice copy = drive;
    EXPECT_EQ(copy.GetDeviceName(), "fake");
    EXPECT_EQ(copy.GetDiscType(), 9);
    EXPECT_EQ(copy.GetProgress(), 42);
    fake.fixedRate = 1385; // the copy probes afresh
    TSpeeds copied;
    copy.GetSpeedList(copied);
    EXPECT_EQ(copied.size(), 1u);
}

} // namespace
} // namespace quilo
