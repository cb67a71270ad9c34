// The preview's grabber session against the real engine: start, frames at the
// asked seconds, the label, snapshots read back by independent readers, and
// the shutdown wait.
#include "quilo_test/grabber_support.h"
#include "media/preview_grabber.h"

#include <QImage>
#include <gtest/gtest.h>

namespace quilo {
namespace {

using namespace quilo::test;

class PreviewGrabberTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        clip.FilePath = colourPerSecondClip();
        clip.SetDuration(5);
        clip.SetEndTime(5);
        clip.Width = 160;
        clip.Height = 120;
        clip.Thumbnail = Bitmap24(80, 60);
    }
    // Waits for the engine's answers, delivering them as the window would.
    bool waitFrames(PreviewGrabber& grabber, int frames) {
        return WaitProcessingMessages(
            [&] { return grabber.FramesShown() >= frames && !grabber.LabelVisible(); }, 60000);
    }
    Colour thumbnailColour() const {
        return meanOf(clip.Thumbnail.Pixels.data(), clip.Thumbnail.Width, clip.Thumbnail.Height);
    }

    TempDir data;
    TVideoInfo clip;
};

TEST_F(PreviewGrabberTest, FramesArriveForTheAskedSecondsAndTheSessionShutsDown) {
    PreviewGrabber grabber(engineLibrary(), data.path());
    grabber.SetClip(&clip);
    EXPECT_FALSE(grabber.Loaded());
    grabber.ShowSeeking();
    grabber.RequestFrame(0); // a short clip: 0 - 10 becomes second 1
    EXPECT_TRUE(grabber.Loaded());
    EXPECT_TRUE(grabber.LabelVisible());
    EXPECT_FALSE(grabber.TrimBarEnabled());
    ASSERT_TRUE(waitFrames(grabber, 1));
    EXPECT_TRUE(grabber.Ready());
    EXPECT_EQ(grabber.LastFrameTime(), 1);
    EXPECT_TRUE(grabber.SnapshotEnabled());
    EXPECT_TRUE(grabber.TrimBarEnabled());
    Colour c = thumbnailColour();
    EXPECT_LT(c.r, 30);
    EXPECT_GT(c.g, 220); // lime: second 1

    // The same second again ends seeking without asking the engine.
    const int asked = grabber.RequestsSent();
    grabber.ShowSeeking();
    grabber.RequestFrame(1);
    EXPECT_EQ(grabber.RequestsSent(), asked);
    EXPECT_FALSE(grabber.LabelVisible());
    EXPECT_TRUE(grabber.SnapshotEnabled());

    clip.SetDuration(20); // long enough that 3 stays 3
    grabber.ShowSeeking();
    grabber.RequestFrame(3);
    EXPECT_EQ(grabber.RequestsSent(), asked + 1);
    ASSERT_TRUE(waitFrames(grabber, 2));
    EXPECT_EQ(grabber.LastFrameTime(), 3);
    c = thumbnailColour();
    EXPECT_GT(c.r, 220);
    EXPECT_GT(c.g, 220);
    EXPECT_LT(c.b, 40); // yellow

    grabber.StopGrabber();
    EXPECT_FALSE(grabber.Loaded());
    EXPECT_TRUE(grabber.Done());
    EXPECT_FALSE(grabber.Ready());
    EXPECT_FALSE(grabber.Stopping());
}

TEST_F(PreviewGrabberTest, TheLastSecondAskedWhileTheSessionStartsIsTheOneShown) {
    clip.SetDuration(20); // long enough that 3 stays 3
    PreviewGrabber grabber(engineLibrary(), data.path());
    grabber.SetClip(&clip);
    grabber.ShowSeeking();
    grabber.RequestFrame(1); // starts the session
    grabber.RequestFrame(2);
    grabber.RequestFrame(3); // before the engine is ready: this one wins
    ASSERT_TRUE(waitFrames(grabber, 1));
    EXPECT_EQ(grabber.LastFrameTime(), 3);
    const Colour c = thumbnailColour();
    EXPECT_GT(c.r, 220);
    EXPECT_GT(c.g, 220);
    EXPECT_LT(c.b, 40); // yellow
    // Nothing else is on its way: no later frame replaces it.
    EXPECT_EQ(grabber.RequestsSent(), 2);
}

TEST_F(PreviewGrabberTest, ANewClipStopsTheSessionAndStartsItsOwn) {
    PreviewGrabber grabber(engineLibrary(), data.path());
    grabber.SetClip(&clip);
    grabber.RequestFrame(1);
    ASSERT_TRUE(waitFrames(grabber, 1));

    TVideoInfo other;
    other.FilePath = clip.FilePath;
    other.SetDuration(30);
    other.SetStartTime(4);
    other.SetEndTime(30);
    other.Thumbnail = Bitmap24(40, 30);
    grabber.SetClip(&other);
    EXPECT_FALSE(grabber.Loaded());
    EXPECT_TRUE(grabber.Done());
    grabber.RequestFrame(4);
    ASSERT_TRUE(waitFrames(grabber, 2));
    EXPECT_EQ(grabber.LastFrameTime(), 4);
    const Colour c = meanOf(other.Thumbnail.Pixels.data(), 40, 30);
    EXPECT_GT(c.b, 220);
    EXPECT_GT(c.g, 220); // white
}

TEST_F(PreviewGrabberTest, SnapshotsAreWrittenAtTheDisplaySizeInTheChosenFormat) {
    PreviewGrabber grabber(engineLibrary(), data.path());
    EXPECT_TRUE(grabber.SaveSnapshot(data.file("none"), SnapshotFilter::Jpg).empty()); // no clip, no grabber
    clip.UseAspectCode = true;
    clip.AspectCode = Aspect::Ratio16x9;
    grabber.SetClip(&clip);
    grabber.RequestFrame(2);
    ASSERT_TRUE(waitFrames(grabber, 1));

    const std::string jpeg = grabber.SaveSnapshot(data.file("Picture"), SnapshotFilter::Jpg);
    ASSERT_EQ(jpeg, data.file("Picture.jpg"));
    const QJsonObject stream = firstStream(ffprobe(jpeg), "video");
    EXPECT_EQ(stream["codec_name"].toString().toStdString(), "mjpeg");
    EXPECT_EQ(stream["width"].toInt(), 160);
    EXPECT_EQ(stream["height"].toInt(), 90);

    const std::string bitmap = grabber.SaveSnapshot(data.file("shot.BMP"), SnapshotFilter::Bmp);
    ASSERT_EQ(bitmap, data.file("shot.BMP"));
    const QImage image(QString::fromStdString(bitmap));
    ASSERT_EQ(image.size(), QSize(160, 90));
    const QColor middle = image.pixelColor(80, 45);
    EXPECT_LT(middle.red(), 30);
    EXPECT_GT(middle.green(), 220); // the frame shown is second 1
    EXPECT_EQ(QImage(QString::fromStdString(jpeg)).pixelColor(80, 45).green() > 220, true);
    grabber.StopGrabber();
}

TEST(SnapshotNames, ExtensionAndSize) {
    EXPECT_EQ(SnapshotFileName("/p/a", SnapshotFilter::Jpg), "/p/a.jpg");
    EXPECT_EQ(SnapshotFileName("/p/a.JpG", SnapshotFilter::Jpg), "/p/a.JpG");
    EXPECT_EQ(SnapshotFileName("/p/a.jpg", SnapshotFilter::Bmp), "/p/a.jpg.bmp");
    EXPECT_EQ(SnapshotFileName("/p.d/a", SnapshotFilter::Bmp), "/p.d/a.bmp");
    TVideoInfo clip;
    clip.Width = 720;
    clip.Height = 576;
    int w = 0, h = 0;
    SnapshotSize(clip, w, h);
    EXPECT_EQ(h, 576);
    clip.UseAspectCode = true;
    clip.AspectCode = Aspect::Ratio16x9;
    SnapshotSize(clip, w, h);
    EXPECT_EQ(w, 720);
    EXPECT_EQ(h, 404);
    clip.AspectCode = Aspect::Ratio221x1;
    SnapshotSize(clip, w, h);
    EXPECT_EQ(h, 324); // 325 made even
}

TEST_F(PreviewGrabberTest, WithoutAUsableEngineTheThumbnailStays) {
    clip.Thumbnail.Pixels.assign(clip.Thumbnail.Pixels.size(), 7);
    for (const std::string& library : {data.file("libTranzel.so"), programDir() + "libvideodl.so"}) {
        SCOPED_TRACE(library);
        PreviewGrabber grabber(library, data.path());
        grabber.SetClip(&clip);
        EXPECT_FALSE(grabber.StartGrabber());
        grabber.RequestFrame(1);
        EXPECT_FALSE(grabber.Loaded());
        grabber.StopGrabber(); // nothing to wait for
        EXPECT_EQ(clip.Thumbnail.Pixels.front(), 7);
    }
}

TEST_F(PreviewGrabberTest, StoppingBeforeTheEngineWasAskedDoesNotWait) {
    PreviewGrabber grabber(engineLibrary(), data.path());
    grabber.SetClip(&clip);
    ASSERT_TRUE(grabber.StartGrabber());
    EXPECT_TRUE(grabber.LabelVisible());
    grabber.SetStopWaitLimit(0x7fffffff); // a wait here would never end
    grabber.StopGrabber();
    EXPECT_FALSE(grabber.Loaded());
}

} // namespace
} // namespace quilo
