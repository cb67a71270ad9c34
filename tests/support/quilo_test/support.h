// Helpers shared by every test: temporary folders, child processes, generated
// media fixtures and an independent reader (ffprobe) for checking outputs.
#pragma once

#include <QJsonObject>
#include <map>
#include <string>
#include <vector>

class QProcess;

namespace quilo::test {

// A fresh folder removed with everything in it when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Ends with '/'.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

struct ProcessResult {
    int exitCode = -1;
    bool crashed = false;
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs a program to its end (or kills it at the timeout). `env` entries are added
// to the inherited environment; an empty value removes the variable.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         int timeoutMs = 120000, const std::map<std::string, std::string>& env = {},
                         const std::string& workingDir = {});

// Starts quilo-convert with `env` added to the environment and waits until it
// reports its first clip's progress. False when it never does; `printed` holds
// what it wrote to its error stream meanwhile.
bool startConverter(QProcess& process, const std::map<std::string, std::string>& env,
                    const std::vector<std::string>& arguments, std::string& printed);

// The folder of the built program (QUILO_PROGRAM_DIR), ending with '/'.
std::string programDir();
// The repository's source folder (QUILO_SOURCE_DIR), ending with '/'.
std::string sourceDir();

// A media file made once by the ffmpeg CLI and shared by all tests of a build:
// `ffmpeg -y -hide_banner -loglevel error <args> <fixture folder>/<name>`.
// Safe when several test processes ask for the same name at once.
std::string fixture(const std::string& name, const std::vector<std::string>& ffmpegArgs);
// 30 seconds of 160 x 120 with sound whose frames show their own second: red is
// 8 x the second, green 255 minus that, blue 100; a key frame every 2 seconds.
std::string secondsClip();
// Two seconds of 160 x 120 with two sound streams, English and German.
std::string twoLanguageClip();
// A minute of 320 x 240 with sound: long enough to be caught converting.
std::string sixtySecondClip();

// The damaged and unusual media of tests/e2e/corpus/make_corpus.py, made once
// and shared like the fixtures.
struct CorpusFile {
    std::string name, path, description;
};
std::vector<CorpusFile> corpus();
std::string corpusFile(const std::string& name);

// ffprobe's view of a file: {"format": {...}, "streams": [...]}. Empty on failure.
QJsonObject ffprobe(const std::string& path);
// The first stream of the given codec_type ("video", "audio"), or an empty object.
QJsonObject firstStream(const QJsonObject& probe, const QString& codecType);
// Number of streams of the given codec_type.
int streamCount(const QJsonObject& probe, const QString& codecType);
// format.duration in seconds, 0 when unknown.
double durationSeconds(const QJsonObject& probe);

bool fileExists(const std::string& path);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

} // namespace quilo::test
