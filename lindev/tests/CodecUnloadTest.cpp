// A conversion still running when the library unloads is stopped and
// waited for: the program exits promptly and cleanly, leaving no
// half-written destination.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"

TEST(CodecUnload, ProgramExitsWhileAnEncodingRuns) {
    vt::test::TestEnvironment env;
    const vt::test::ProbeExit run =
        vt::test::RunProbe(vt::test::BinaryFolder() / "lindev_codec_exit_probe",
                           {env.Root().string()}, std::chrono::seconds(30));
    ASSERT_EQ(run.spawnError, 0);
    if (run.hung)
        FAIL() << "the program hung at exit";
    ASSERT_TRUE(WIFEXITED(run.status)) << "killed by signal " << WTERMSIG(run.status);
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    EXPECT_TRUE(std::filesystem::exists(env.Root() / "long.wav"));
    EXPECT_FALSE(std::filesystem::exists(env.Root() / "long.vrc"))
        << "the stopped encoding left its unfinished output";
}
