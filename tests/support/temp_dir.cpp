#include "quilo_test/support.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quilo::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quilo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

bool fileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

static std::string folderFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        throw std::runtime_error(std::string(name) + " is not set; run the tests through ctest");
    std::string folder = value;
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::string programDir() {
    return folderFromEnvironment("QUILO_PROGRAM_DIR");
}
std::string sourceDir() {
    return folderFromEnvironment("QUILO_SOURCE_DIR");
}

} // namespace quilo::test
