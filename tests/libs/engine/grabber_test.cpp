// The frame grabber as the preview uses it: open, ask for seconds, fetch the
// frames, close; every answer arrives as a posted message.
#include "engine_library.h"
#include "window_posts.h"

#include <cstring>

namespace quilo::test {
namespace {

// One colour per second for five seconds, with a single keyframe, so a frame
// in the middle must be decoded from the start.
std::string colourPerSecondClip() {
    return fixture("engine-colour-per-second.mp4",
                   {"-filter_complex",
                    "color=c=red:s=160x120:r=25:d=1[a];color=c=lime:s=160x120:r=25:d=1[b];"
                    "color=c=blue:s=160x120:r=25:d=1[c];color=c=yellow:s=160x120:r=25:d=1[d];"
                    "color=c=white:s=160x120:r=25:d=1[e];[a][b][c][d][e]concat=n=5",
                    "-c:v", "libx264", "-preset", "ultrafast", "-g", "250", "-pix_fmt", "yuv420p"});
}

const Rgb kSecondColour[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 255, 255}};

class EngineGrabber : public EngineTest {
protected:
    // Fetches the grabber's frame and checks it against the colour of `second`.
    void expectFrameOf(int second, int width, int height) {
        SCOPED_TRACE("second " + std::to_string(second));
        unsigned char* pixels = nullptr;
        int info[10];
        std::memset(info, 0x55, sizeof info);
        ASSERT_EQ(engine.TZ_BIND(X_Get_Frame)(width, height, nullptr, &pixels, info), 0);
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(info[0], second);
        const std::string rgb(reinterpret_cast<const char*>(pixels),
                              static_cast<std::size_t>(width) * height * 3);
        const Rgb mean = meanColour(rgb, width, 0, 0, width, height);
        const Rgb& expected = kSecondColour[second];
        EXPECT_NEAR(mean.r, expected.r, 12);
        EXPECT_NEAR(mean.g, expected.g, 12);
        EXPECT_NEAR(mean.b, expected.b, 12);
    }
};

TEST_F(EngineGrabber, PostsReadyFrameAndClosedInOrderAndGivesThatSecondsFrame) {
    WindowPosts window;
    ASSERT_EQ(engine.TZ_BIND(X_GetFrame_Init)(window.port(), 2, colourPerSecondClip().c_str(), "", "1"), 0);
    ASSERT_TRUE(window.waitForCount(1));
    EXPECT_EQ(window.messages(), std::vector<unsigned>{2312});
    expectFrameOf(1, 80, 60); // the start second is ready with the first message

    const auto next = engine.TZ_BIND(X_Set_NextFrame_Time);
    std::size_t expectedPosts = 1;
    for (int second : {2, 4, 3, 0}) { // forward, and back again
        ASSERT_EQ(next(second), 0);
        ASSERT_TRUE(window.waitForCount(++expectedPosts));
        EXPECT_EQ(window.all().back().message, 2412u);
        EXPECT_EQ(window.all().back().wparam, 1);
        expectFrameOf(second, 40 + 8 * second, 30 + 6 * second);
    }
    // Past the end there is no frame, and the last one stays.
    ASSERT_EQ(next(60), 0);
    ASSERT_TRUE(window.waitForCount(++expectedPosts));
    EXPECT_EQ(window.all().back().message, 2412u);
    EXPECT_EQ(window.all().back().wparam, 0);
    expectFrameOf(0, 80, 60);

    ASSERT_EQ(engine.TZ_BIND(X_GetFrame_UnInit)(), 0);
    ASSERT_TRUE(window.waitForCount(++expectedPosts));
    EXPECT_EQ(window.messages(), (std::vector<unsigned>{2312, 2412, 2412, 2412, 2412, 2412, 2512}));
    // Closed: nothing more is posted and requests are refused.
    EXPECT_EQ(next(1), -1);
    EXPECT_EQ(window.all().size(), expectedPosts);
}

TEST_F(EngineGrabber, AnUnreadableFileStillAnswersEveryStep) {
    const std::string notMedia = out.file("notes.mp4");
    writeFile(notMedia, "these are no pictures\n");
    WindowPosts window;
    ASSERT_EQ(engine.TZ_BIND(X_GetFrame_Init)(window.port(), 2, notMedia.c_str(), "", "0"), 0);
    ASSERT_TRUE(window.waitForCount(1));
    ASSERT_EQ(engine.TZ_BIND(X_Set_NextFrame_Time)(0), 0);
    ASSERT_TRUE(window.waitForCount(2));
    EXPECT_EQ(window.all()[1].wparam, 0);
    unsigned char* pixels = reinterpret_cast<unsigned char*>(&window); // must be cleared
    int info[10] = {};
    EXPECT_EQ(engine.TZ_BIND(X_Get_Frame)(80, 60, nullptr, &pixels, info), -1);
    EXPECT_EQ(pixels, nullptr);
    ASSERT_EQ(engine.TZ_BIND(X_GetFrame_UnInit)(), 0);
    ASSERT_TRUE(window.waitForCount(3));
    EXPECT_EQ(window.messages(), (std::vector<unsigned>{2312, 2412, 2512}));
}

TEST_F(EngineGrabber, StartTextsThatAreNoSecondsOfTheFile) {
    const struct {
        const char* start;
        bool frame;
    } cases[] = {{"1e300", false}, {"99999", false}, {"soon", true}, {"-3", true}, {"", true}};
    for (const auto& start : cases) {
        SCOPED_TRACE(start.start);
        WindowPosts window;
        ASSERT_EQ(
            engine.TZ_BIND(X_GetFrame_Init)(window.port(), 2, colourPerSecondClip().c_str(), "", start.start),
            0);
        ASSERT_TRUE(window.waitForCount(1));
        if (start.frame) {
            expectFrameOf(0, 80, 60); // taken as the start of the file
        } else {
            unsigned char* pixels = nullptr;
            int info[10] = {};
            EXPECT_EQ(engine.TZ_BIND(X_Get_Frame)(80, 60, nullptr, &pixels, info), -1);
        }
        ASSERT_EQ(engine.TZ_BIND(X_GetFrame_UnInit)(), 0);
        ASSERT_TRUE(window.waitForCount(2));
    }
}

TEST_F(EngineGrabber, OpeningAnotherFileClosesTheOpenOneFirst) {
    WindowPosts first, second;
    const auto init = engine.TZ_BIND(X_GetFrame_Init);
    ASSERT_EQ(init(first.port(), 2, colourPerSecondClip().c_str(), "", "0"), 0);
    ASSERT_EQ(init(second.port(), 2, colourPerSecondClip().c_str(), "", "3"), 0);
    ASSERT_TRUE(first.waitForCount(2));
    ASSERT_TRUE(second.waitForCount(1));
    EXPECT_EQ(first.messages(), (std::vector<unsigned>{2312, 2512}));
    expectFrameOf(3, 80, 60); // the second one's frame
    ASSERT_EQ(engine.TZ_BIND(X_GetFrame_UnInit)(), 0);
    ASSERT_TRUE(second.waitForCount(2));
    EXPECT_EQ(second.messages(), (std::vector<unsigned>{2312, 2512}));
    EXPECT_EQ(first.all().size(), 2u);
}

TEST_F(EngineGrabber, GrabsWhileAConversionRuns) {
    // The preview and a conversion are separate users of one loaded library.
    WindowPosts window;
    ASSERT_EQ(engine.TZ_BIND(X_GetFrame_Init)(window.port(), 2, colourPerSecondClip().c_str(), "", "0"), 0);
    ASSERT_TRUE(window.waitForCount(1));
    Job job;
    job.files = {sourceClip()};
    job.container = "avi";
    job.videoFormat = "mpeg4";
    job.audioCodec = "mp3";
    job.output = out.file("meanwhile.avi");
    ASSERT_EQ(engine.TZ_BIND(X_Set_NextFrame_Time)(2), 0);
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2AVI", job), 0) << engineLog();
    ASSERT_TRUE(window.waitForCount(2));
    expectFrameOf(2, 80, 60);
    EXPECT_NEAR(durationSeconds(ffprobe(job.output)), 4.0, 0.1);
    ASSERT_EQ(engine.TZ_BIND(X_GetFrame_UnInit)(), 0);
    ASSERT_TRUE(window.waitForCount(3));
    EXPECT_EQ(window.messages(), (std::vector<unsigned>{2312, 2412, 2512}));
}

} // namespace
} // namespace quilo::test
