#include "platform/SingleInstanceLock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "testsupport/TestEnvironment.h"

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilRelease) {
    vt::test::TestEnvironment env;
    vt::SingleInstanceLock first("VRC Player");
    vt::SingleInstanceLock second("VRC Player");
    ASSERT_TRUE(first.Acquire());
    EXPECT_TRUE(first.Acquire()) << "acquiring again keeps the lock";
    EXPECT_EQ(first.LockFile(), env.RuntimeDir() / "VRC Player.lock");
    EXPECT_FALSE(second.Acquire());
    first.Release();
    EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstanceLock, AnotherProcessIsRefused) {
    vt::test::TestEnvironment env;
    vt::SingleInstanceLock lock("Korvane_TYC_Plus");
    ASSERT_TRUE(lock.Acquire());
    pid_t child = ::fork();
    if (child == 0) {
        vt::SingleInstanceLock other("Korvane_TYC_Plus");
        ::_exit(other.Acquire() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child must have been refused";
}

TEST(SingleInstanceLock, DestructionReleases) {
    vt::test::TestEnvironment env;
    {
        vt::SingleInstanceLock lock("x");
        ASSERT_TRUE(lock.Acquire());
    }
    vt::SingleInstanceLock again("x");
    EXPECT_TRUE(again.Acquire());
}

TEST(SingleInstanceLock, SymlinkInTheLocksPlaceIsNotFollowed) {
    vt::test::TestEnvironment env;
    const std::filesystem::path victim = env.Root() / "victim";
    { std::ofstream(victim) << "keep"; }
    std::filesystem::create_symlink(victim, env.RuntimeDir() / "planted.lock");
    vt::SingleInstanceLock lock("planted");
    EXPECT_FALSE(lock.Acquire());
    EXPECT_EQ(vt::test::ReadText(victim), "keep");
}

TEST(SingleInstanceLock, NoticesWhenItsFileIsRemoved) {
    vt::test::TestEnvironment env;
    vt::SingleInstanceLock lock("gone");
    ASSERT_TRUE(lock.Acquire());
    EXPECT_TRUE(lock.StillHeld());
    std::filesystem::remove(lock.LockFile());
    EXPECT_FALSE(lock.StillHeld());
    lock.Release();
    EXPECT_TRUE(lock.Acquire());
    EXPECT_TRUE(lock.StillHeld());
}
