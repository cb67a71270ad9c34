// The engine against the ffmpeg program, and on the H.264 targets also against
// HandBrakeCLI, on the same 1080p H.264 sources, target by target, with the
// same encoders and settings. Each conversion runs in a child process of its
// own so that its peak memory can be read when it ends.
//
//   engine_bench [repetitions] [threads] [target number]
//
// threads is what X_SetPar_Global receives (0 = automatic, as the other
// programs choose by themselves); the ffmpeg program gets -threads only when
// it is not 0. The best time of the repetitions (3 unless told) counts for
// every program; peak memory is the highest of them. Besides the wall-clock
// time, the processor time (user + system) of each child is shown: on a
// machine shared with other work it varies much less. HandBrakeCLI is a
// yardstick only: when it is not installed its figures are left out.
#include "tranzel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The sources: 10 s of 1080p H.264 with AAC stereo, at 25 and at 30 frames a second.
enum Source { k1080p25, k1080p30 };

struct Target {
    const char* label;
    Source source;
    const char* entry;
    const char* container;
    const char* videoFormat;
    const char* audioCodec;
    const char* picture; // also the frame: no borders
    const char* aspect;
    const char* videoKbps;
    const char* audioKbps;
    const char* sampleRate;
    int dvdStandard;
    const char* frameRate;
    const char* extension;
    // The ffmpeg program's arguments between the input and the output.
    std::vector<std::string> ffmpeg;
    // HandBrakeCLI's arguments besides the input and output; empty where it
    // cannot make the same kind of file.
    std::vector<std::string> handbrake = {};
};

// HandBrakeCLI with every picture filter off, the whole picture, square
// pixels, x264's own key-frame interval (as the other two leave it), and the
// first audio track in stereo.
std::vector<std::string> handbrakeH264(const char* kbps, const char* fps, const char* audioKhz) {
    return {"-f",
            "av_mp4",
            "-e",
            "x264",
            "--encoder-preset",
            "medium",
            "--encoder-profile",
            "high",
            "-b",
            kbps,
            "-r",
            fps,
            "--cfr",
            "-w",
            "1280",
            "-l",
            "720",
            "--crop",
            "0:0:0:0",
            "--non-anamorphic",
            "-x",
            "keyint=250",
            "-a",
            "1",
            "-E",
            "av_aac",
            "-B",
            "128",
            "-R",
            audioKhz,
            "-6",
            "stereo",
            "--no-comb-detect",
            "--no-deinterlace",
            "--no-decomb",
            "--no-detelecine",
            "--no-hqdn",
            "--no-nlmeans",
            "--no-unsharp",
            "--no-lapsharp",
            "--no-deblock",
            "--no-chroma-smooth",
            "--no-grayscale",
            "--no-markers"};
}

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"HDMP4 defaults (30 fps)",
         k1080p30,
         "X_TO_HD_AVC",
         "mp4",
         "h264",
         "aac",
         "1280:720",
         "1:1",
         "8000",
         "128",
         "48000",
         0,
         "Auto",
         "mp4",
         {"-vf",        "scale=1280:720:flags=bicubic,setsar=1,fps=30",
          "-c:v",       "libx264",
          "-preset",    "medium",
          "-profile:v", "high",
          "-b:v",       "8000k",
          "-pix_fmt",   "yuv420p",
          "-c:a",       "aac",
          "-b:a",       "128k",
          "-ar",        "48000",
          "-f",         "mp4"},
         handbrakeH264("8000", "30", "48")},
        {"MP4 H.264 1280x720",
         k1080p25,
         "X_TO_HD_AVC",
         "mp4",
         "h264",
         "aac",
         "1280:720",
         "1:1",
         "4000",
         "128",
         "44100",
         0,
         "25",
         "mp4",
         {"-vf",        "scale=1280:720:flags=bicubic,setsar=1,fps=25",
          "-c:v",       "libx264",
          "-preset",    "medium",
          "-profile:v", "high",
          "-b:v",       "4000k",
          "-pix_fmt",   "yuv420p",
          "-c:a",       "aac",
          "-b:a",       "128k",
          "-ar",        "44100",
          "-f",         "mp4"},
         handbrakeH264("4000", "25", "44.1")},
        {"AVI MPEG-4 1280x720",
         k1080p25,
         "X_SetPar_D2AVI",
         "avi",
         "mpeg4",
         "mp3",
         "1280:720",
         "1:1",
         "3000",
         "128",
         "44100",
         0,
         "25",
         "avi",
         {"-vf", "scale=1280:720:flags=bicubic,setsar=1,fps=25", "-c:v", "mpeg4", "-g", "12", "-b:v", "3000k",
          "-pix_fmt", "yuv420p", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-f", "avi"}},
        {"WMV 1280x720",
         k1080p25,
         "X_SetPar_D2WMV",
         "asf",
         "wmv2",
         "wma",
         "1280:720",
         "1:1",
         "3000",
         "128",
         "44100",
         0,
         "25",
         "wmv",
         {"-vf", "scale=1280:720:flags=bicubic,setsar=1,fps=25", "-c:v", "wmv2", "-g", "12", "-b:v", "3000k",
          "-pix_fmt", "yuv420p", "-c:a", "wmav2", "-b:a", "128k", "-ar", "44100", "-f", "asf"}},
        {"FLV 640x360",
         k1080p25,
         "X_SetPar_D2FLV",
         "flv",
         "flv",
         "mp3",
         "640:360",
         "1:1",
         "1000",
         "128",
         "44100",
         0,
         "25",
         "flv",
         {"-vf", "scale=640:360:flags=bicubic,setsar=1,fps=25", "-c:v", "flv", "-g", "12", "-b:v", "1000k",
          "-pix_fmt", "yuv420p", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-f", "flv"}},
        {"DVD MPEG-2 PAL 16:9",
         k1080p25,
         "X_SetPar_D2MPEG",
         "dvd",
         "dvd",
         "ac3",
         "720:576",
         "16:9",
         "5000",
         "192",
         "48000",
         2,
         "25",
         "vob",
         {"-vf",         "scale=720:576:flags=bicubic,setdar=16/9,fps=25",
          "-c:v",        "mpeg2video",
          "-g",          "15",
          "-bf",         "2",
          "-b:v",        "5000k",
          "-maxrate",    "9000k",
          "-minrate",    "0",
          "-bufsize",    "1835008",
          "-pix_fmt",    "yuv420p",
          "-c:a",        "ac3",
          "-b:a",        "192k",
          "-ar",         "48000",
          "-f",          "dvd",
          "-packetsize", "2048",
          "-muxrate",    "10080000"}},
        {"MP3 128 kbit/s",
         k1080p25,
         "X_SetPar_D2IPOD_MP3",
         "",
         "",
         "mp3",
         "",
         "",
         "",
         "128",
         "44100",
         0,
         "",
         "mp3",
         {"-vn", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-f", "mp3"}},
    };
    return all;
}

struct Run {
    int status = -1;
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;
};

Run runChild(const std::vector<std::string>& args, bool quiet = false) {
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    Run run;
    const auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.peakKb = usage.ru_maxrss;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return run;
}

void logLine(const char* line) {
    std::fprintf(stderr, "  engine: %s\n", line);
}

// An entry point of the engine loaded as `engine`.
#define BIND(name) reinterpret_cast<decltype(&::name)>(dlsym(engine, #name))

// In the child: one conversion through the engine, as the job runner makes it.
int convertWithEngine(const Target& target, const std::string& source, const std::string& output,
                      int threads) {
    void* engine = dlopen(QUILO_BENCH_PROGRAM_DIR "libTranzel.so", RTLD_NOW | RTLD_LOCAL);
    if (!engine) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    if (std::getenv("QUILO_BENCH_ENGINE_LOG"))
        BIND(X_ZLog_SetCallBackFun)(logLine);
    BIND(X_SetPar_Global)(threads, 0, 0, 0, 0, -1);
    BIND(X_Global_Set_Crop)(0, "1920", "1080", "0", "0");
    BIND(X_Global_CMD)((output + ".tmp").c_str(), "-1", 1);
    const char* files[] = {source.c_str()};
    const std::string entry = target.entry;
    const char* t = target.picture;
    if (entry == "X_SetPar_D2IPOD_MP3")
        return BIND(X_SetPar_D2IPOD_MP3)(nullptr, 2, files, 1, "-1", "0", target.sampleRate, target.audioKbps,
                                         "Album", "Artist", "MyVideo", "-1", output.c_str(), "0", "0",
                                         target.audioCodec, 20051124);
    if (entry == "X_SetPar_D2AVI")
        return BIND(X_SetPar_D2AVI)(nullptr, 2, files, 1, "-1", "0", target.audioCodec, target.sampleRate,
                                    target.aspect, target.videoFormat, target.container, target.videoKbps,
                                    target.audioKbps, t, t, "Album", "Artist", "MyVideo", target.frameRate,
                                    "-1", "-1", output.c_str(), "0", "0", 0, 20051124);
#define LIST_L                                                                                               \
    nullptr, 2, files, 1, "-1", "0", target.sampleRate, target.aspect, target.videoFormat, target.container, \
        target.videoKbps, target.audioKbps, t, t, "Album", "Artist", "MyVideo", target.frameRate, "-1",      \
        "-1", output.c_str(), "0", "0"
    if (entry == "X_TO_HD_AVC")
        return BIND(X_TO_HD_AVC)(LIST_L, 0, target.audioCodec, 20051124);
    if (entry == "X_SetPar_D2FLV")
        return BIND(X_SetPar_D2FLV)(LIST_L, 0, 20051124);
    if (entry == "X_SetPar_D2WMV")
        return BIND(X_SetPar_D2WMV)(LIST_L, 0, target.audioCodec, 20051124);
    if (entry == "X_SetPar_D2MPEG")
        return BIND(X_SetPar_D2MPEG)(LIST_L, 0, target.dvdStandard, target.audioCodec, 20051124);
    return 3;
}

// In the child: the H.264 target stopped from another thread once two seconds
// are done, as the progress window's Stop button does; prints how long the
// conversion call took to return.
int measureStop(const std::string& source, const std::string& output, int threads) {
    void* engine = dlopen(QUILO_BENCH_PROGRAM_DIR "libTranzel.so", RTLD_NOW | RTLD_LOCAL);
    if (!engine)
        return 2;
    std::atomic<bool> returned{false};
    std::chrono::steady_clock::time_point returnedAt;
    std::thread converting([&] {
        convertWithEngine(targets()[1], source, output, threads);
        returnedAt = std::chrono::steady_clock::now();
        returned.store(true);
    });
    int info[4] = {};
    while (!returned.load() && info[0] < 2) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        BIND(X_Get_Info)(info);
    }
    const auto stoppedAt = std::chrono::steady_clock::now();
    BIND(X_StopConvert)();
    converting.join();
    if (info[0] < 2)
        return 1;
    std::printf("stop of the H.264 target at %d s (%d fps): the call returned %.3f s after X_StopConvert\n",
                info[0], info[1], std::chrono::duration<double>(returnedAt - stoppedAt).count());
    return 0;
}

bool makeSource(const std::string& path, int rate) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && info.st_size > 0)
        return true;
    const std::string partial = path + ".part.mp4";
    const std::string pictures = "testsrc2=size=1920x1080:rate=" + std::to_string(rate) + ":duration=10";
    const Run made = runChild({"ffmpeg",    "-y",
                               "-nostdin",  "-hide_banner",
                               "-loglevel", "error",
                               "-f",        "lavfi",
                               "-i",        pictures,
                               "-f",        "lavfi",
                               "-i",        "sine=frequency=440:sample_rate=48000:duration=10",
                               "-ac",       "2",
                               "-c:v",      "libx264",
                               "-preset",   "veryfast",
                               "-b:v",      "8000k",
                               "-pix_fmt",  "yuv420p",
                               "-c:a",      "aac",
                               "-b:a",      "160k",
                               partial});
    return made.status == 0 && std::rename(partial.c_str(), path.c_str()) == 0;
}

bool onPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    std::size_t from = 0;
    while (from <= folders.size()) {
        const std::size_t to = std::min(folders.find(':', from), folders.size());
        const std::string candidate = folders.substr(from, to - from) + "/" + program;
        if (to > from && access(candidate.c_str(), X_OK) == 0)
            return true;
        from = to + 1;
    }
    return false;
}

enum Program { kEngine, kFfmpeg, kHandbrake, kPrograms };
constexpr std::array<const char*, kPrograms> kProgramNames = {"engine", "ffmpeg", "HandBrakeCLI"};

// The best of the repetitions: least time, most memory.
struct Best {
    bool ran = false;
    double seconds = 1e9, cpuSeconds = 1e9;
    long peakKb = 0;
    void add(const Run& run) {
        ran = true;
        seconds = std::min(seconds, run.seconds);
        cpuSeconds = std::min(cpuSeconds, run.cpuSeconds);
        peakKb = std::max(peakKb, run.peakKb);
    }
};

void printRatios(const Best& engine, const Best& other, const char* name) {
    std::printf("    %-26s %8.3f %8.3f %8.3f\n", (std::string("engine / ") + name).c_str(),
                engine.seconds / other.seconds, engine.cpuSeconds / other.cpuSeconds,
                static_cast<double>(engine.peakKb) / static_cast<double>(other.peakKb));
}

// The goals: wall-clock at most 0.8 of the ffmpeg program's, on the H.264
// targets at most 0.95 of the faster yardstick's; processor time at most 1.05
// of that yardstick's; peak memory at most 1.5 of the ffmpeg program's.
void printGoals(const Target& target, const std::array<Best, kPrograms>& best) {
    const bool h264 = std::string(target.videoFormat) == "h264";
    Program yardstick = kFfmpeg;
    if (h264 && best[kHandbrake].ran && best[kHandbrake].seconds < best[kFfmpeg].seconds)
        yardstick = kHandbrake;
    const double wallGoal = h264 ? 0.95 : 0.8;
    const double wall = best[kEngine].seconds / best[yardstick].seconds;
    const double cpu = best[kEngine].cpuSeconds / best[yardstick].cpuSeconds;
    const double memory =
        static_cast<double>(best[kEngine].peakKb) / static_cast<double>(best[kFfmpeg].peakKb);
    std::printf("    goals against %-13s wall %.3f <= %.2f %s, cpu %.3f <= 1.05 %s, memory %.3f <= 1.5 %s\n",
                kProgramNames[yardstick], wall, wallGoal, wall <= wallGoal ? "met" : "MISSED", cpu,
                cpu <= 1.05 ? "met" : "MISSED", memory, memory <= 1.5 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--stop") == 0)
        return measureStop(argv[2], argv[3], std::atoi(argv[4]));
    if (argc == 6 && std::strcmp(argv[1], "--run") == 0) {
        const int index = std::atoi(argv[2]);
        if (index < 0 || index >= static_cast<int>(targets().size()))
            return 3;
        const int result = convertWithEngine(targets()[index], argv[3], argv[4], std::atoi(argv[5]));
        return result == 0 ? 0 : 1;
    }
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int threads = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
    const int only = argc > 3 ? std::atoi(argv[3]) : -1;
    const std::string work = QUILO_BENCH_WORK_DIR;
    const std::array<std::string, 2> sources = {work + "source-1080p-h264.mp4",
                                                work + "source-1080p30-h264.mp4"};
    for (int i = 0; i < 2; ++i)
        if (!makeSource(sources[i], i == k1080p25 ? 25 : 30)) {
            std::fprintf(stderr, "the ffmpeg program could not make %s\n", sources[i].c_str());
            return 1;
        }
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;
    const bool handbrake = onPath("HandBrakeCLI");

    std::printf("sources: 10 s of 1920x1080 H.264 at 25 or 30 fps with AAC stereo; best of %d; threads %d\n",
                repetitions, threads);
    if (!handbrake)
        std::printf(
            "HandBrakeCLI is not installed (Debian package handbrake-cli): its yardstick is left out\n");
    std::printf("    %-26s %8s %8s %8s\n", "", "wall s", "cpu s", "peak MB");
    int failures = 0;
    for (std::size_t i = 0; i < targets().size(); ++i) {
        if (only >= 0 && static_cast<int>(i) != only)
            continue;
        const Target& target = targets()[i];
        const std::string& source = sources[target.source];
        std::array<std::string, kPrograms> outputs;
        for (int p = 0; p < kPrograms; ++p)
            outputs[p] = work + kProgramNames[p] + "-out." + target.extension;
        std::array<std::vector<std::string>, kPrograms> commands;
        commands[kEngine] = {self,   "--run",          std::to_string(i),
                             source, outputs[kEngine], std::to_string(threads)};
        commands[kFfmpeg] = {"ffmpeg", "-y", "-nostdin", "-hide_banner", "-loglevel", "error", "-i", source};
        if (threads > 0) {
            commands[kFfmpeg].push_back("-threads");
            commands[kFfmpeg].push_back(std::to_string(threads));
        }
        commands[kFfmpeg].insert(commands[kFfmpeg].end(), target.ffmpeg.begin(), target.ffmpeg.end());
        commands[kFfmpeg].push_back(outputs[kFfmpeg]);
        if (handbrake && !target.handbrake.empty()) {
            commands[kHandbrake] = {"HandBrakeCLI", "-i", source, "-o", outputs[kHandbrake]};
            commands[kHandbrake].insert(commands[kHandbrake].end(), target.handbrake.begin(),
                                        target.handbrake.end());
        }
        std::array<Best, kPrograms> best;
        bool failed = false;
        for (int r = 0; r < repetitions && !failed; ++r) {
            // Alternate, so that a busy moment of the machine hits all alike.
            for (int p = 0; p < kPrograms && !failed; ++p) {
                if (commands[p].empty())
                    continue;
                const Run run = runChild(commands[p], p == kHandbrake);
                if (run.status != 0) {
                    std::printf("%s: %s failed with %d\n", target.label, kProgramNames[p], run.status);
                    failed = true;
                }
                best[p].add(run);
            }
        }
        if (failed) {
            ++failures;
        } else {
            std::printf("%s\n", target.label);
            for (int p = 0; p < kPrograms; ++p)
                if (best[p].ran)
                    std::printf("    %-26s %8.2f %8.2f %8.1f\n", kProgramNames[p], best[p].seconds,
                                best[p].cpuSeconds, best[p].peakKb / 1024.0);
            printRatios(best[kEngine], best[kFfmpeg], "ffmpeg");
            if (best[kHandbrake].ran)
                printRatios(best[kEngine], best[kHandbrake], "HandBrakeCLI");
            if (*target.videoFormat)
                printGoals(target, best); // the goals are the video targets'
        }
        std::fflush(stdout);
        for (const auto& output : outputs)
            std::remove(output.c_str());
    }
    std::fflush(stdout);
    const std::string stopped = work + "engine-stopped.mp4";
    if (runChild({self, "--stop", sources[k1080p25], stopped, std::to_string(threads)}).status != 0)
        ++failures;
    std::remove(stopped.c_str());
    return failures == 0 ? 0 : 1;
}
