// Damaged files through every way into the engine: file information,
// thumbnail, grabber, video and audio conversion. Each gives -1 or a clean
// result for what is readable; the sanitizer build runs these too.
#include "engine_library.h"
#include "window_posts.h"

#include <cstring>
#include <filesystem>
#include <random>

namespace quilo::test {
namespace {

std::string transportStreamClip() {
    return fixture("engine-damage-source.ts",
                   {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=4", "-f", "lavfi", "-i",
                    "sine=sample_rate=48000:duration=4", "-c:v", "mpeg2video", "-g", "12", "-c:a", "mp2"});
}

// MP4 with its index in front, so that a cut-off file keeps a readable start.
std::string indexFirstClip() {
    return fixture("engine-damage-faststart.mp4",
                   {"-i", sourceClip(), "-c", "copy", "-movflags", "+faststart"});
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xff);
    return bytes;
}

struct Damaged {
    std::string name;
    std::string bytes;
    bool readable; // enough is left to convert
};

std::vector<Damaged> damagedFiles() {
    const std::string ts = readFile(transportStreamClip());
    const std::string mp4 = readFile(sourceClip());
    const std::string fast = readFile(indexFirstClip());
    std::vector<Damaged> files;
    files.push_back({"ts-cut-in-half.ts", ts.substr(0, ts.size() / 2), true});
    files.push_back({"mp4-index-first-cut-in-half.mp4", fast.substr(0, fast.size() / 2), true});
    files.push_back({"mp4-index-last-cut-in-half.mp4", mp4.substr(0, mp4.size() / 2), false});
    std::string zeroed = ts;
    std::memset(zeroed.data(), 0, 16 * 1024);
    files.push_back({"ts-zeroed-header.ts", zeroed, true});
    zeroed = fast;
    std::memset(zeroed.data(), 0, 4096);
    files.push_back({"mp4-zeroed-header.mp4", zeroed, false});
    std::string scrambled = ts; // garbage in the middle of the pictures
    const std::string noise = randomBytes(ts.size() / 10, 7);
    scrambled.replace(ts.size() * 2 / 5, noise.size(), noise);
    files.push_back({"ts-scrambled-middle.ts", scrambled, true});
    scrambled = fast;
    scrambled.replace(fast.size() / 2, fast.size() / 10, randomBytes(fast.size() / 10, 8));
    files.push_back({"mp4-scrambled-middle.mp4", scrambled, true});
    for (const char* extension : {".mp4", ".ts", ".avi", ".mpg", ".mkv", ".mp3"})
        files.push_back({std::string("random") + extension, randomBytes(200 * 1024, 11), false});
    files.push_back({"empty.mp4", "", false});
    return files;
}

class EngineDamagedInput : public EngineTest {};

TEST_F(EngineDamagedInput, FileInformationAndThumbnail) {
    for (const Damaged& damaged : damagedFiles()) {
        SCOPED_TRACE(damaged.name);
        const std::string path = out.file(damaged.name);
        writeFile(path, damaged.bytes);
        std::vector<char> copy(path.begin(), path.end());
        copy.resize(path.size() + 10, '\0');
        TzFileInfo info;
        const int result = engine.TZ_BIND(X_GetFileinfo_GetPic)(copy.data(), 10, &info, 0);
        if (damaged.readable) {
            ASSERT_EQ(result, 0) << engineLog();
            EXPECT_EQ(info.width, 320);
            EXPECT_GE(info.duration, 1);
            EXPECT_LE(info.duration, 4);
        } else if (damaged.name.rfind("random", 0) == 0 || damaged.name == "empty.mp4") {
            EXPECT_EQ(result, -1);
        } else {
            EXPECT_TRUE(result == 0 || result == -1) << result;
        }
        if (result == 0 && info.hasVideo) {
            unsigned char* pixels = nullptr;
            int frame[10] = {};
            if (engine.TZ_BIND(X_Get_Frame)(120, 90, "2.bmp", &pixels, frame) == 0) {
                ASSERT_NE(pixels, nullptr);
                volatile unsigned char last = pixels[120 * 90 * 3 - 1]; // the whole buffer is there
                static_cast<void>(last);
            }
        }
    }
}

TEST_F(EngineDamagedInput, ConversionGivesMinusOneOrAFileOfWhatIsReadable) {
    for (const Damaged& damaged : damagedFiles()) {
        SCOPED_TRACE(damaged.name);
        const std::string path = out.file(damaged.name);
        writeFile(path, damaged.bytes);
        clearLog();
        Job job;
        job.files = {path};
        job.container = "mp4";
        job.videoFormat = "h264";
        job.audioCodec = "aac";
        job.sampleRate = "48000";
        job.output = out.file(damaged.name + ".converted.mp4");
        const int result = callEngine(engine, "X_TO_HD_AVC", job);
        Job audio = job;
        audio.output = out.file(damaged.name + ".converted.mp3");
        audio.audioCodec = "mp3";
        const int audioResult = callEngine(engine, "X_SetPar_D2IPOD_MP3", audio);
        for (const auto& [code, output] :
             {std::pair{result, job.output}, std::pair{audioResult, audio.output}}) {
            SCOPED_TRACE(output);
            if (damaged.readable) {
                EXPECT_EQ(code, 0) << engineLog();
            }
            if (code == 0) {
                // A clean file: ffprobe and a full decode find nothing wrong.
                const double seconds = durationSeconds(ffprobe(output));
                EXPECT_GT(seconds, 0.5);
                EXPECT_LT(seconds, 4.2);
                const auto decoded = runProcess("ffmpeg", {"-v", "error", "-i", output, "-f", "null", "-"});
                EXPECT_EQ(decoded.exitCode, 0);
                EXPECT_EQ(decoded.err, "");
            } else {
                EXPECT_EQ(code, -1);
                EXPECT_FALSE(fileExists(output)); // nothing half-written is left
            }
        }
        if (damaged.name.rfind("random", 0) == 0) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(audioResult, -1);
        }
    }
}

TEST_F(EngineDamagedInput, GrabberAnswersEveryRequest) {
    for (const Damaged& damaged : damagedFiles()) {
        SCOPED_TRACE(damaged.name);
        const std::string path = out.file(damaged.name);
        writeFile(path, damaged.bytes);
        WindowPosts window;
        ASSERT_EQ(engine.TZ_BIND(X_GetFrame_Init)(window.port(), 2, path.c_str(), "", "1"), 0);
        ASSERT_TRUE(window.waitForCount(1));
        for (int second : {3, 0, 2})
            ASSERT_EQ(engine.TZ_BIND(X_Set_NextFrame_Time)(second), 0);
        ASSERT_TRUE(window.waitForCount(4));
        unsigned char* pixels = nullptr;
        int info[10] = {};
        if (engine.TZ_BIND(X_Get_Frame)(64, 48, nullptr, &pixels, info) == 0) {
            ASSERT_NE(pixels, nullptr);
            EXPECT_GE(info[0], 0);
        }
        ASSERT_EQ(engine.TZ_BIND(X_GetFrame_UnInit)(), 0);
        ASSERT_TRUE(window.waitForCount(5));
        EXPECT_EQ(window.messages(), (std::vector<unsigned>{2312, 2412, 2412, 2412, 2512}));
        if (damaged.readable) {
            EXPECT_EQ(window.all()[2].wparam, 1); // second 0 survives every damage made here
        }
    }
}

TEST_F(EngineDamagedInput, NamesAreOnlyEverLocalFiles) {
    // Names that FFmpeg would otherwise read as protocols: joining other
    // files, reading standard input, reaching the network.
    const std::string joined = "concat:" + sourceClip() + "|" + sourceClip();
    for (const std::string& name : {joined, std::string("pipe:0"), std::string("tcp://127.0.0.1:9/x.mp4")}) {
        SCOPED_TRACE(name);
        clearLog();
        std::vector<char> copy(name.begin(), name.end());
        copy.resize(name.size() + 10, '\0');
        TzFileInfo info;
        EXPECT_EQ(engine.TZ_BIND(X_GetFileinfo_GetPic)(copy.data(), 10, &info, 0), -1);
        Job job;
        job.files = {name};
        job.container = "mp4";
        job.videoFormat = "mpeg4";
        job.output = out.file("joined.mp4");
        EXPECT_EQ(callEngine(engine, "X_SetPar_D2IMP4", job), -1);
        EXPECT_FALSE(fileExists(job.output));
        EXPECT_NE(engineLog().find("No such file"), std::string::npos) << engineLog();
    }
    // A real file whose name looks like a protocol is read as the file it is.
    const std::string odd = out.file("concat:clip.mp4");
    std::filesystem::copy_file(sourceClip(), odd);
    Job job;
    job.files = {odd};
    job.container = "mp4";
    job.videoFormat = "mpeg4";
    job.output = out.file("pipe:1.mp4");
    ASSERT_EQ(callEngine(engine, "X_SetPar_D2IMP4", job), 0) << engineLog();
    EXPECT_NEAR(durationSeconds(ffprobe("file:" + job.output)), 4.0, 0.1);
}

} // namespace
} // namespace quilo::test
