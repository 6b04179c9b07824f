// The device table's destruction at program exit ends the slots' threads.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "testsupport/TestEnvironment.h"

extern char** environ;

TEST(Unload, ProgramExitsWhileASlotIsServed) {
    vt::test::TestEnvironment env;
    const std::string probe = (vt::test::BinaryFolder() / "lindev_exit_probe").string();
    char* argv[] = {const_cast<char*>(probe.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, probe.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    pid_t done = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the program hung at exit: a slot thread outlived main";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
