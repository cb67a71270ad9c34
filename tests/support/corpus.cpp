#include "quilo_test/support.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace quilo::test {
namespace {

std::vector<CorpusFile> makeCorpus(const std::vector<std::string>& names) {
    const char* folderValue = std::getenv("QUILO_FIXTURE_DIR");
    std::string folder = folderValue && *folderValue ? folderValue : "/tmp/quilo-fixtures";
    folder += folder.back() == '/' ? "corpus/" : "/corpus/";
    std::vector<std::string> arguments = {sourceDir() + "tests/e2e/corpus/make_corpus.py", folder};
    arguments.insert(arguments.end(), names.begin(), names.end());
    const ProcessResult made = runProcess("python3", arguments, 600000);
    if (made.exitCode != 0)
        throw std::runtime_error("the corpus cannot be made: " + made.err);
    std::vector<CorpusFile> files;
    std::istringstream lines(made.out);
    for (std::string line; std::getline(lines, line);) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos)
            files.push_back({line.substr(0, tab), folder + line.substr(0, tab), line.substr(tab + 1)});
    }
    return files;
}

} // namespace

std::vector<CorpusFile> corpus() {
    return makeCorpus({});
}

std::string corpusFile(const std::string& name) {
    const std::vector<CorpusFile> files = makeCorpus({name});
    if (files.size() != 1)
        throw std::runtime_error("the corpus has no file " + name);
    return files.front().path;
}

} // namespace quilo::test
