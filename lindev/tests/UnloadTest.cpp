// The device table's destruction at program exit ends the slots' threads.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"

TEST(Unload, ProgramExitsWhileASlotIsServed) {
    vt::test::TestEnvironment env;
    const vt::test::ProbeExit run = vt::test::RunProbe(
        vt::test::BinaryFolder() / "lindev_exit_probe", {}, std::chrono::seconds(20));
    ASSERT_EQ(run.spawnError, 0);
    if (run.hung)
        FAIL() << "the program hung at exit: a slot thread outlived main";
    ASSERT_TRUE(WIFEXITED(run.status)) << "killed by signal " << WTERMSIG(run.status);
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
}
