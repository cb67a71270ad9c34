// The DVD-Video image of a VIDEO_TS folder, made by genisoimage into a temporary file.
#include "grabber.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

bool isVideoTsName(const fs::path& path) {
    std::string name = path.filename().string();
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name == "VIDEO_TS";
}

// The VIDEO_TS folder itself, or the one inside `folder`; empty when there is none.
fs::path videoTsFolderOf(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::path(folder);
    if (!path.has_filename())
        path = path.parent_path();
    if (isVideoTsName(path) && fs::is_directory(path, error))
        return path;
    for (const char* name : {"VIDEO_TS", "video_ts"}) {
        if (fs::is_directory(path / name, error))
            return path / name;
    }
    return {};
}

// Runs genisoimage; on failure `output` holds what it said.
bool runGenisoimage(std::vector<std::string> args, std::string& output) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        output = std::string("cannot create a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "genisoimage", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        output = std::string("cannot run genisoimage: ") + std::strerror(spawned);
        return false;
    }
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        if (output.size() < 16384)
            output.append(buffer, static_cast<size_t>(got));
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// genisoimage has no option for the volume dates, so they are set in the primary
// volume descriptor afterwards: sector 16, creation date at 813, modification at 830.
bool stampVolumeDates(const fs::path& image, int year, int month, int day, int hour, int minute, int second,
                      int hundredths) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d%02d%02d%02d%02d%02d%02d", year % 10000, month % 100, day % 100,
                  hour % 100, minute % 100, second % 100, hundredths % 100);
    std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return false;
    constexpr std::streamoff Descriptor = 16 * 2048;
    for (const std::streamoff field : {813, 830}) {
        file.seekp(Descriptor + field);
        file.write(date, 16);
        file.put('\0'); // offset from GMT in 15-minute steps
    }
    return static_cast<bool>(file.flush());
}

void removeWorkFolder(const fs::path& folder) {
    std::error_code ignored;
    if (!folder.empty())
        fs::remove_all(folder, ignored);
}

} // namespace

using namespace discwriter;

DISCWRITER_API int discwriter_dvdvideo_create(discwriter_dvdvideo** out, const char* folder,
                                              char* exception_text, size_t text_size, unsigned* status,
                                              const char* volume_label, const char* publisher,
                                              const char* application, int year, int month, int day, int hour,
                                              int minute, int second, int hundredths) {
    if (!out)
        return failWith(exception_text, text_size, status, DISCWRITER_E_ARGUMENT, "no object to fill");
    *out = nullptr;
    const fs::path videoTs = videoTsFolderOf(folder ? folder : "");
    std::error_code error;
    if (videoTs.empty() || !fs::is_regular_file(videoTs / "VIDEO_TS.IFO", error))
        return failWith(exception_text, text_size, status, DISCWRITER_E_FOLDER,
                        std::string("no DVD-Video folder (VIDEO_TS with VIDEO_TS.IFO) in '") +
                            (folder ? folder : "") + "'");

    std::string work = (fs::temp_directory_path(error) / "discwriter-XXXXXX").string();
    if (!mkdtemp(work.data()))
        return failWith(exception_text, text_size, status, DISCWRITER_E_IMAGE,
                        std::string("cannot make a temporary folder: ") + std::strerror(errno));
    // genisoimage reads the DVD structure from the root it is given; a root with
    // only a link to the VIDEO_TS folder keeps everything beside it off the disc.
    const fs::path root = fs::path(work) / "root";
    fs::create_directory(root, error);
    fs::create_directory_symlink(fs::absolute(videoTs, error), root / "VIDEO_TS", error);
    if (error) {
        removeWorkFolder(work);
        return failWith(exception_text, text_size, status, DISCWRITER_E_IMAGE,
                        "cannot prepare the image folder: " + error.message());
    }

    auto* image = new discwriter_dvdvideo;
    image->workFolder = work;
    image->image = fs::path(work) / "dvd.iso";
    std::vector<std::string> args = {"genisoimage", "-quiet", "-dvd-video", "-udf", "-follow-links"};
    if (volume_label && *volume_label)
        args.insert(args.end(), {"-V", std::string(volume_label).substr(0, 32)});
    if (publisher && *publisher)
        args.insert(args.end(), {"-publisher", publisher});
    if (application && *application)
        args.insert(args.end(), {"-A", application});
    args.insert(args.end(), {"-o", image->image.string(), root.string()});
    std::string said;
    if (!runGenisoimage(args, said) ||
        !stampVolumeDates(image->image, year, month, day, hour, minute, second, hundredths)) {
        discwriter_dvdvideo_destroy(&image);
        return failWith(exception_text, text_size, status, DISCWRITER_E_IMAGE,
                        "genisoimage failed" + (said.empty() ? std::string() : ": " + said));
    }
    image->size = fs::file_size(image->image, error);
    *out = image;
    if (status)
        *status = 0;
    copyText("", exception_text, text_size);
    return DISCWRITER_OK;
}

DISCWRITER_API uint64_t discwriter_dvdvideo_size(const discwriter_dvdvideo* image) {
    return image ? image->size : 0;
}

DISCWRITER_API void discwriter_dvdvideo_destroy(discwriter_dvdvideo** image) {
    if (!image || !*image)
        return;
    removeWorkFolder((*image)->workFolder);
    delete *image;
    *image = nullptr;
}
