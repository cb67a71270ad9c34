// Every test process starts with the folders of this build and without a
// display; a variable already set in the environment wins.
#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("QUILO_PROGRAM_DIR", QUILO_TEST_PROGRAM_DIR, 0);
        setenv("QUILO_FIXTURE_DIR", QUILO_TEST_FIXTURE_DIR, 0);
        setenv("QUILO_SOURCE_DIR", QUILO_TEST_SOURCE_DIR, 0);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
};

const TestEnvironment environment;

} // namespace
