#include "authoring.h"
#include "dvd/authoring/author_control_file.h"
#include "quilo_test/support.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>

namespace quilo {
namespace {

std::mutex logLock;
std::string logText;
void collectLog(const char* line) {
    std::lock_guard guard(logLock);
    logText += line;
}

// The library as the program binds it: loaded from the program folder by name.
struct AuthoringLibrary {
    void* handle = dlopen((test::programDir() + "libauthoring.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ~AuthoringLibrary() {
        if (handle)
            dlclose(handle);
    }
    template <typename F> F bind(const char* name) { return reinterpret_cast<F>(dlsym(handle, name)); }
};

std::string dvdClip(const std::string& name, const std::string& target, int seconds) {
    return test::fixture(name, {"-f", "lavfi", "-i",
                                "testsrc2=size=352x288:rate=25:duration=" + std::to_string(seconds), "-f",
                                "lavfi", "-i", "sine=frequency=440:duration=" + std::to_string(seconds),
                                "-target", target, "-b:v", "1500k", "-shortest"});
}

int runAuthoring(AuthoringLibrary& library, const std::string& controlFile) {
    library.bind<void (*)(void (*)(const char*))>("authoring_set_log_callback")(collectLog);
    library.bind<int (*)(int)>("setreg")(20051124);
    return library.bind<int (*)(const char*)>("author_main")(controlFile.c_str());
}

TEST(AuthoringLibrary, AuthorsAFolderThatLsdvdReads) {
    AuthoringLibrary library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    EXPECT_EQ(library.bind<int (*)()>("authoring_version")(), AUTHORING_ABI_VERSION);

    test::TempDir data, out;
    const std::vector<std::string> clips = {dvdClip("authoring-pal-a.mpg", "pal-dvd", 2),
                                            dvdClip("authoring-pal-b.mpg", "pal-dvd", 3)};
    const auto control = WriteAuthorControlFile(data.path(), out.path(), clips, 2, {true, true, false});
    ASSERT_EQ(control.result, AuthorDone);
    EXPECT_EQ(runAuthoring(library, control.path), 0) << logText;
    EXPECT_GE(*library.bind<int* (*)()>("getVOBsMB")(), 1);

    const auto lsdvd = test::runProcess("lsdvd", {"-v", "-Oy", control.dvdFolder});
    ASSERT_EQ(lsdvd.exitCode, 0) << lsdvd.err;
    EXPECT_NE(lsdvd.out.find("'format' : 'PAL'"), std::string::npos) << lsdvd.out;
    EXPECT_NE(lsdvd.out.find("'ix' : 2"), std::string::npos) << lsdvd.out; // two titles
    EXPECT_NE(lsdvd.out.find("'aspect' : '4/3'"), std::string::npos) << lsdvd.out;
}

TEST(AuthoringLibrary, ReportsFailureInsteadOfPassingAsSuccess) {
    AuthoringLibrary library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    test::TempDir data, out;
    const std::string notMpeg = out.file("not-a-dvd.vob");
    test::writeFile(notMpeg, std::string(4096, 'x'));
    const auto control = WriteAuthorControlFile(data.path(), out.path(), {notMpeg}, 1, {});
    logText.clear();
    EXPECT_EQ(runAuthoring(library, control.path), -1);
    EXPECT_NE(logText.find("authoring:"), std::string::npos) << logText;

    EXPECT_EQ(runAuthoring(library, data.file("no-such-control.xml")), -1);
    EXPECT_EQ(library.bind<int (*)(const char*)>("author_main")(nullptr), -1);
}

} // namespace
} // namespace quilo
