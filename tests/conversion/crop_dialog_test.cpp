// The crop dialog against the real engine: the first frame of a letterboxed
// clip gives the crop without its black bars; OK and Cancel.
#include "conversion/crop_dialog.h"
#include "quilo_test/grabber_support.h"
#include "media/preview_engine.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

using namespace quilo::test;

// 720 x 360 of test pattern padded to 720 x 480 with 60 black rows above and
// below, stored losslessly so the borders stay exactly black.
std::string letterboxedClip() {
    return fixture("trim-letterboxed.mkv", {"-f", "lavfi", "-i", "testsrc=size=720x360:rate=25:duration=3",
                                            "-vf", "pad=720:480:0:60:black", "-c:v", "libx264", "-qp", "0",
                                            "-preset", "ultrafast", "-pix_fmt", "yuv444p"});
}

class CropDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        clip.FilePath = letterboxedClip();
        clip.SetDuration(3);
        clip.SetEndTime(3);
        clip.Width = 720;
        clip.Height = 480;
        clip.PixelAspect = 1.5;
        clip.CropW = 720;
        clip.CropH = 480;
    }
    bool waitPicture(CropDialog& dialog) {
        return WaitProcessingMessages([&] { return dialog.PictureVisible(); }, 60000);
    }
    TempDir data;
    TVideoInfo clip;
};

TEST_F(CropDialogTest, TheFirstFrameFindsTheBlackBarsAndOkKeepsTheCrop) {
    CropDialog dialog(engineLibrary(), data.path());
    ASSERT_TRUE(dialog.OpenCropDialog(clip));
    EXPECT_TRUE(dialog.LabelVisible());
    EXPECT_EQ(dialog.TimeLabel(), "00:00:00 / 00:00:03");
    EXPECT_EQ(dialog.SizeLabel(), "720 x 480");
    ASSERT_TRUE(waitPicture(dialog));
    EXPECT_FALSE(dialog.LabelVisible());
    EXPECT_TRUE(dialog.BordersDetected());
    EXPECT_EQ(dialog.Picture().Width, 720);
    EXPECT_EQ(dialog.Picture().Height, 480);
    EXPECT_EQ(dialog.Geometry.Fields(), (CropRect{0, 60, 720, 360}));
    EXPECT_EQ(clip.CropY, 0); // only OK writes the clip

    dialog.SliderPress(60);
    dialog.SliderMove(60 + 222);
    EXPECT_EQ(dialog.SliderSecond(), 3);
    EXPECT_EQ(dialog.TimeLabel(), "00:00:03 / 00:00:03");
    dialog.SliderMove(60 + 111);
    dialog.SliderRelease();
    EXPECT_TRUE(dialog.LabelVisible());
    ASSERT_TRUE(WaitProcessingMessages([&] { return !dialog.LabelVisible(); }, 60000));
    // Later frames keep the crop the user has.
    EXPECT_EQ(dialog.Geometry.Fields(), (CropRect{0, 60, 720, 360}));

    dialog.Ok();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_TRUE(dialog.Closed());
    EXPECT_TRUE(dialog.Picture().empty());
    EXPECT_EQ(clip.CropX, 0);
    EXPECT_EQ(clip.CropY, 60);
    EXPECT_EQ(clip.CropW, 720);
    EXPECT_EQ(clip.CropH, 360);
}

TEST_F(CropDialogTest, AClipAlreadyCroppedKeepsItsCropAndCancelChangesNothing) {
    clip.CropX = 16;
    clip.CropY = 8;
    clip.CropW = 640;
    clip.CropH = 400;
    CropDialog dialog(engineLibrary(), data.path());
    ASSERT_TRUE(dialog.OpenCropDialog(clip));
    ASSERT_TRUE(waitPicture(dialog));
    EXPECT_EQ(dialog.Geometry.Fields(), (CropRect{16, 8, 640, 400}));
    dialog.Restore();
    EXPECT_EQ(dialog.Geometry.Fields(), (CropRect{0, 0, 720, 480}));
    dialog.Cancel();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(clip.CropX, 16);
    EXPECT_EQ(clip.CropW, 640);
}

TEST_F(CropDialogTest, WithoutTheEngineTheDialogDoesNotOpen) {
    CropDialog dialog(data.file("libTranzel.so"), data.path());
    EXPECT_FALSE(dialog.OpenCropDialog(clip));
    EXPECT_EQ(dialog.Clip(), nullptr);
    dialog.Ok(); // nothing to write into
    EXPECT_EQ(clip.CropW, 720);
}

} // namespace
} // namespace quilo
