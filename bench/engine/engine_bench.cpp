// The engine against the ffmpeg program on the same 1080p H.264 source, target
// by target, with the same encoders and settings. Each conversion runs in a
// child process of its own so that its peak memory can be read when it ends.
//
//   engine_bench [repetitions] [threads] [target number]
//
// threads is what X_SetPar_Global receives (0 = automatic, as the ffmpeg
// program chooses by itself); the ffmpeg program gets -threads only when it
// is not 0. The best time of the repetitions counts for both. Besides the
// wall-clock time, the processor time (user + system) of each child is shown:
// on a machine shared with other work it varies much less.
#include "tranzel.h"

#include <algorithm>
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

struct Target {
    const char* label;
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
    const char* extension;
    // The ffmpeg program's arguments between the input and the output.
    std::vector<std::string> ffmpeg;
};

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"MP4 H.264 1280x720",
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
          "-f",         "mp4"}},
        {"AVI MPEG-4 1280x720",
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
         "avi",
         {"-vf", "scale=1280:720:flags=bicubic,setsar=1,fps=25", "-c:v", "mpeg4", "-g", "12", "-b:v", "3000k",
          "-pix_fmt", "yuv420p", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-f", "avi"}},
        {"WMV 1280x720",
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
         "wmv",
         {"-vf", "scale=1280:720:flags=bicubic,setsar=1,fps=25", "-c:v", "wmv2", "-g", "12", "-b:v", "3000k",
          "-pix_fmt", "yuv420p", "-c:a", "wmav2", "-b:a", "128k", "-ar", "44100", "-f", "asf"}},
        {"DVD MPEG-2 PAL 16:9",
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

Run runChild(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
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
                                    target.audioKbps, t, t, "Album", "Artist", "MyVideo", "25", "-1", "-1",
                                    output.c_str(), "0", "0", 0, 20051124);
#define LIST_L                                                                                               \
    nullptr, 2, files, 1, "-1", "0", target.sampleRate, target.aspect, target.videoFormat, target.container, \
        target.videoKbps, target.audioKbps, t, t, "Album", "Artist", "MyVideo", "25", "-1", "-1",            \
        output.c_str(), "0", "0"
    if (entry == "X_TO_HD_AVC")
        return BIND(X_TO_HD_AVC)(LIST_L, 0, target.audioCodec, 20051124);
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
        convertWithEngine(targets()[0], source, output, threads);
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

bool makeSource(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && info.st_size > 0)
        return true;
    const std::string partial = path + ".part.mp4";
    const Run made = runChild({"ffmpeg",    "-y",
                               "-nostdin",  "-hide_banner",
                               "-loglevel", "error",
                               "-f",        "lavfi",
                               "-i",        "testsrc2=size=1920x1080:rate=25:duration=10",
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
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    const int threads = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
    const int only = argc > 3 ? std::atoi(argv[3]) : -1;
    const std::string work = QUILO_BENCH_WORK_DIR;
    const std::string source = work + "source-1080p-h264.mp4";
    if (!makeSource(source)) {
        std::fprintf(stderr, "the ffmpeg program could not make %s\n", source.c_str());
        return 1;
    }
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;

    std::printf("source: 10 s of 1920x1080 H.264 at 25 fps with AAC stereo; best of %d; threads %d\n",
                repetitions, threads);
    std::printf("%-22s %9s %9s %7s %9s %9s %7s %10s %10s\n", "target", "engine s", "ffmpeg s", "ratio",
                "engine", "ffmpeg", "ratio", "engine", "ffmpeg");
    std::printf("%-22s %9s %9s %7s %9s %9s %7s %10s %10s\n", "", "(wall)", "(wall)", "", "cpu s", "cpu s",
                "(cpu)", "peak MB", "peak MB");
    int failures = 0;
    for (std::size_t i = 0; i < targets().size(); ++i) {
        if (only >= 0 && static_cast<int>(i) != only)
            continue;
        const Target& target = targets()[i];
        const std::string ours = work + "engine-out." + target.extension;
        const std::string theirs = work + "ffmpeg-out." + target.extension;
        std::vector<std::string> ffmpeg = {"ffmpeg",    "-y",    "-nostdin", "-hide_banner",
                                           "-loglevel", "error", "-i",       source};
        if (threads > 0) {
            ffmpeg.push_back("-threads");
            ffmpeg.push_back(std::to_string(threads));
        }
        ffmpeg.insert(ffmpeg.end(), target.ffmpeg.begin(), target.ffmpeg.end());
        ffmpeg.push_back(theirs);
        Run best{0, 1e9, 1e9, 0}, bestFfmpeg{0, 1e9, 1e9, 0};
        bool failed = false;
        for (int r = 0; r < repetitions && !failed; ++r) {
            // Alternate, so that a busy moment of the machine hits both alike.
            const Run engine =
                runChild({self, "--run", std::to_string(i), source, ours, std::to_string(threads)});
            const Run reference = runChild(ffmpeg);
            if (engine.status != 0 || reference.status != 0) {
                std::printf("%-22s failed: engine %d, ffmpeg %d\n", target.label, engine.status,
                            reference.status);
                ++failures;
                failed = true;
                break;
            }
            for (auto [into, from] : {std::pair{&best, &engine}, std::pair{&bestFfmpeg, &reference}}) {
                into->seconds = std::min(into->seconds, from->seconds);
                into->cpuSeconds = std::min(into->cpuSeconds, from->cpuSeconds);
                into->peakKb = std::max(into->peakKb, from->peakKb);
            }
        }
        if (!failed)
            std::printf("%-22s %9.2f %9.2f %7.3f %9.2f %9.2f %7.3f %10.1f %10.1f\n", target.label,
                        best.seconds, bestFfmpeg.seconds, best.seconds / bestFfmpeg.seconds, best.cpuSeconds,
                        bestFfmpeg.cpuSeconds, best.cpuSeconds / bestFfmpeg.cpuSeconds, best.peakKb / 1024.0,
                        bestFfmpeg.peakKb / 1024.0);
        std::fflush(stdout);
        std::remove(ours.c_str());
        std::remove(theirs.c_str());
    }
    std::fflush(stdout);
    const std::string stopped = work + "engine-stopped.mp4";
    if (runChild({self, "--stop", source, stopped, std::to_string(threads)}).status != 0)
        ++failures;
    std::remove(stopped.c_str());
    return failures == 0 ? 0 : 1;
}
