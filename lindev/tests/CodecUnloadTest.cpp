// A conversion still running when the library unloads is stopped and
// waited for: the program exits promptly and cleanly, leaving no
// half-written destination.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "testsupport/TestEnvironment.h"

extern char** environ;

TEST(CodecUnload, ProgramExitsWhileAnEncodingRuns) {
    vt::test::TestEnvironment env;
    const std::string probe = (vt::test::BinaryFolder() / "lindev_codec_exit_probe").string();
    const std::string folder = env.Root().string();
    char* argv[] = {const_cast<char*>(probe.c_str()), const_cast<char*>(folder.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, probe.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    pid_t done = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the program hung at exit";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(std::filesystem::exists(env.Root() / "long.wav"));
    EXPECT_FALSE(std::filesystem::exists(env.Root() / "long.vrc"))
        << "the stopped encoding left its unfinished output";
}
