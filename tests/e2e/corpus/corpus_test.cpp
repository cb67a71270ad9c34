// Every file of the corpus through quilo-convert to MP4, MP3 and DVD_Folder.
// Each run ends in time, either converted (exit 0, an output an independent
// reader plays, about as long as the source, or no longer than what the
// ffmpeg program makes of the same damaged file) or refused (exit 1 with its reason
// in one line); never exit 0 without its output.
#include "quilo_test/support.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

#ifndef QUILO_CORPUS_EVERY
#define QUILO_CORPUS_EVERY 1
#endif

namespace quilo::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            all.push_back(line);
    return all;
}

// The length the output may have: that of the clean file it was made from.
double sourceSeconds(const CorpusFile& file) {
    const bool clean =
        file.name.find("-cut-") == std::string::npos && file.name.find("-flip-") == std::string::npos &&
        file.name.find("-zero-") == std::string::npos && file.name.find("-swap-") == std::string::npos &&
        file.name.find("-bad-") == std::string::npos && file.name.find("-wild-") == std::string::npos;
    const double seconds = clean ? durationSeconds(ffprobe(file.path)) : 0;
    return seconds > 0 ? seconds : 3.0; // every damaged file comes from a 3 s source
}

// The length of what the ffmpeg program itself makes of a file: damage such
// as swapped blocks moves timestamps, and no converter can know the true length.
double ffmpegOutputSeconds(const CorpusFile& file) {
    TempDir scratch;
    const std::string output = scratch.file("ffmpeg.mkv");
    runProcess("ffmpeg", {"-v", "quiet", "-y", "-i", file.path, "-c:v", "mpeg4", "-c:a", "mp2", output},
               240000);
    return durationSeconds(ffprobe(output));
}

// Says what is wrong with one run, or nothing.
std::string judge(const CorpusFile& file, const std::string& target, const ProcessResult& run) {
    if (run.timedOut)
        return "did not end in time";
    if (run.crashed)
        return "crashed";
    const std::vector<std::string> written = lines(run.out);
    if (run.exitCode == 1) {
        // The reason: a clip's "failed: ...", a file's "path : reason", or the
        // list of unsupported files naming it.
        const bool said = run.err.find("failed: ") != std::string::npos ||
                          run.err.find(file.path + " : ") != std::string::npos ||
                          run.err.find("UNSUPPORTED file(s) format can not add in. \n\n" + file.path +
                                       "\n") != std::string::npos;
        return said ? "" : "exit 1 without a reason: " + run.err;
    }
    if (run.exitCode != 0)
        return "exit " + std::to_string(run.exitCode) + ": " + run.err;
    if (written.size() != 1)
        return "exit 0 with " + std::to_string(written.size()) + " outputs: " + run.out;
    std::string played = written[0];
    if (target == "DVD_Folder")
        played += "VIDEO_TS/VTS_01_1.VOB";
    if (!fileExists(played))
        return "exit 0 without its output " + played;
    const double seconds = durationSeconds(ffprobe(played));
    const double source = sourceSeconds(file);
    if (seconds <= 0.2 || (seconds > source + 1.0 && seconds > ffmpegOutputSeconds(file) + 0.5))
        return "an output of " + std::to_string(seconds) + " s from a source of " + std::to_string(source) +
               " s";
    return {};
}

class Corpus : public ::testing::TestWithParam<std::string> {};

TEST_P(Corpus, EveryFileConvertsOrIsRefusedWithItsReason) {
    const std::string target = GetParam();
    TempDir home;
    const std::map<std::string, std::string> environment = {
        {"HOME", home.path()}, {"XDG_DATA_HOME", home.file("data")}, {"XDG_RUNTIME_DIR", home.path()}};
    const std::vector<CorpusFile> files = corpus();
    ASSERT_GE(files.size(), 40u);
    int converted = 0, refused = 0, run = 0;
    const auto started = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < files.size(); i += QUILO_CORPUS_EVERY) {
        const CorpusFile& file = files[i];
        SCOPED_TRACE(file.name + " (" + file.description + ") to " + target);
        const ProcessResult result = runProcess(
            programDir() + "quilo-convert",
            {"--output", home.file("out/" + file.name), "/" + target, file.path}, 240000, environment);
        EXPECT_EQ(judge(file, target, result), "");
        ++run;
        (result.exitCode == 0 ? converted : refused)++;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << target << ": " << run << " files, " << converted << " converted, " << refused
              << " refused, in " << seconds << " s\n";
}

INSTANTIATE_TEST_SUITE_P(Targets, Corpus, ::testing::Values("MP4", "MP3", "DVD_Folder"));

} // namespace
} // namespace quilo::test
