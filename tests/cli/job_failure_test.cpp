// Jobs that cannot make what was asked: each ends with exit 1 and says why in
// one line, and none leaves a file that looks finished.
#include "cli_support.h"

#include <gtest/gtest.h>

namespace quilo::test {
namespace {

// Runs quilo-convert with `folder` replaced by a file system made by `mountOptions`,
// inside a mount namespace of its own (no privileges needed).
// `afterwards` runs in the namespace once the converter has ended (its output
// goes to the result's `out`); without it the converter's own output is kept.
ProcessResult convertOnMount(const ConverterHome& home, const std::string& folder,
                             const std::string& mountOptions, const std::vector<std::string>& arguments,
                             const std::string& afterwards = {}) {
    const std::string mount = "mkdir -p \"$2\" && mount -t tmpfs -o \"$1\" tmpfs \"$2\" || exit 99; ";
    const std::string convert =
        afterwards.empty() ? "shift 2; exec \"$@\"" : "(shift 2; \"$@\" >/dev/null)" + afterwards;
    std::vector<std::string> script = {"-rm",      "sh",         "-c",   mount + convert,
                                       "sh",       mountOptions, folder, programDir() + "quilo-convert",
                                       "--output", folder};
    script.insert(script.end(), arguments.begin(), arguments.end());
    return runProcess("unshare", script, 300000, home.environment());
}

bool mountNamespaces() {
    return runProcess("unshare", {"-rm", "true"}).exitCode == 0;
}

TEST(JobFailure, AnOutputFolderThatCannotTakeTheFilesIsNamedBeforeAnyClip) {
    ConverterHome home;
    TempDir out;
    writeFile(out.file("taken"), "a file where the folder should be");
    ProcessResult run = home.convert({"--output", out.file("taken"), "/MP4", sixSecondClip()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find("The output folder " + out.file("taken/")), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("\n  failed"), std::string::npos) << "no clip should have been tried:\n"
                                                             << run.err;

    if (!mountNamespaces())
        GTEST_SKIP() << "no mount namespaces here: the read-only and full folders are not tried";
    run = convertOnMount(home, out.file("readonly"), "ro", {"/MP4", sixSecondClip()});
    ASSERT_NE(run.exitCode, 99) << run.err;
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Read-only file system"), std::string::npos) << run.err;

    run = convertOnMount(home, out.file("full"), "size=256k", {"/MP4", sixSecondClip()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find("is on a full disk"), std::string::npos) << run.err;
}

TEST(JobFailure, ADiskThatFillsUpFailsTheClipAndLeavesNothingBehind) {
    if (!mountNamespaces())
        GTEST_SKIP() << "no mount namespaces here";
    ConverterHome home;
    TempDir out;
    // Room enough to start, not for the clip: the DVD job made nothing.
    const ProcessResult run =
        convertOnMount(home, out.file("small"), "size=1536k", {"/DVD_Folder", sixSecondClip()},
                       "; status=$?; ls -A \"$2\"; exit $status");
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("failed: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("None of the clips could be converted."), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << "the folder should be left empty";
}

} // namespace
} // namespace quilo::test
