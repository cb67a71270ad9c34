#include "quilo_test/support.h"

#include <gtest/gtest.h>

using namespace quilo;

namespace {

// The volumes a child sees after `mounts` ran in a mount namespace of its own,
// so the test mounts without touching the machine's.
test::ProcessResult volumesAfter(const std::string& mounts) {
    return test::runProcess("unshare", {"-rm", "sh", "-c", mounts + " && exec \"$0\" volumes",
                                        test::programDir() + "../tests/platform_test_child"});
}

bool mountNamespaces() {
    return test::runProcess("unshare", {"-rm", "true"}).exitCode == 0;
}

} // namespace

TEST(MountedVolumes, AStickUnderTheMediaFolderIsRemovableAndTheSystemsOwnVolumesAreNot) {
    if (!mountNamespaces())
        GTEST_SKIP() << "no mount namespaces here";
    const test::ProcessResult run = volumesAfter("mount -t tmpfs none /media && mkdir /media/stick && "
                                                 "mount -t tmpfs -o size=1m stick /media/stick");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("volume /media/stick tmpfs"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("removable /media/stick/\n"), std::string::npos) << run.out;
    // The folder that holds the stick is a mount too, but a stick is what lies under it.
    EXPECT_EQ(run.out.find("removable /media/\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("removable /\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("volume / "), std::string::npos) << run.out;
}

TEST(MountedVolumes, NoStickNoRemovableRoot) {
    if (!mountNamespaces())
        GTEST_SKIP() << "no mount namespaces here";
    // An empty media folder of its own, whatever the machine has plugged in.
    const test::ProcessResult run = volumesAfter("mount -t tmpfs none /media");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.find("removable /media/"), std::string::npos) << run.out;
}
