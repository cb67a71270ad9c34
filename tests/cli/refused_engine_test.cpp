// quilo-convert with an engine it cannot use: it says why in one line that
// names the file, and ends with exit code 2 before any clip is tried.
#include "authoring.h"
#include "cli_support.h"
#include "conversion/engine_api.h"
#include "dvd/authoring/dvd_authoring.h"
#include "quilo_test/refused_libraries.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quilo::test {
namespace {

TEST(RefusedEngine, QuiloConvertNamesTheFileAndWhyAndExitsWithTwo) {
    const std::string versionReason = " is version " + std::to_string(TRANZEL_ABI_VERSION + 1) +
                                      "; this program needs version " + std::to_string(TRANZEL_ABI_VERSION);
    for (const auto& [folder, reason] :
         {std::pair{std::string("engine-of-another-version"), versionReason},
          std::pair{std::string("engine-lacking-a-name"), std::string(" lacks X_StopConvert")}}) {
        TempDir program, out;
        makeProgramFolderWith(program, "quilo-convert", refusedLibraryFolder(folder) + EngineLibraryName);
        ConverterHome home;
        const ProcessResult run =
            runProcess(program.file("quilo-convert"), {"--output", out.path(), "/MP4", sixSecondClip()},
                       120000, home.environment());
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.err, "quilo-convert: the conversion engine cannot be used: " +
                               program.file(EngineLibraryName) + reason + "\n");
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_TRUE(std::filesystem::is_empty(out.path()));
    }
}

// The authoring library is only asked for once the titles are converted: the
// refusal still names the file and both versions, and no DVD folder is made.
TEST(RefusedAuthoring, QuiloConvertNamesTheFileAndWhyAndExitsWithTwo) {
    TempDir program, out;
    makeProgramFolderWith(program, "quilo-convert",
                          refusedLibraryFolder("authoring-of-another-version") + AuthoringLibraryName);
    ConverterHome home;
    const ProcessResult run =
        runProcess(program.file("quilo-convert"), {"--output", out.path(), "/DVD_Folder", sixSecondClip()},
                   300000, home.environment());
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("quilo-convert: the authoring library cannot be used: " +
                           program.file(AuthoringLibraryName) + " is version " +
                           std::to_string(AUTHORING_ABI_VERSION + 1) + "; this program needs version " +
                           std::to_string(AUTHORING_ABI_VERSION) + "\n"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(out.file("VIDEO_TS"))) << run.err;
}

} // namespace
} // namespace quilo::test
