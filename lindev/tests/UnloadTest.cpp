// The device table's destruction at program exit ends the slots' threads.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

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

TEST(Unload, ARecordingRunningAtExitIsFinishedAndTheCloseIsLogged) {
    vt::test::TestEnvironment env;
    std::filesystem::create_directories(env.AppHome());
    std::filesystem::current_path(env.AppHome());
    const vt::test::ProbeExit run = vt::test::RunProbe(
        vt::test::BinaryFolder() / "lindev_exit_probe", {"record"}, std::chrono::seconds(20));
    ASSERT_EQ(run.spawnError, 0);
    if (run.hung)
        FAIL() << "the program hung at exit: a recording thread outlived main";
    ASSERT_TRUE(WIFEXITED(run.status)) << "killed by signal " << WTERMSIG(run.status);
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    // The recording's end and the close are logged at exit, the clock still there.
    std::string log;
    for (const auto& entry : std::filesystem::directory_iterator(env.AppHome() / "Log"))
        log += vt::test::ReadText(entry.path());
    EXPECT_NE(log.find("Record() End. WM_TY_THREADNOTIFY 1L"), std::string::npos);
    const std::size_t close = log.rfind("TyClose(). \r\n");
    ASSERT_NE(close, std::string::npos);
    EXPECT_EQ(close + std::string("TyClose(). \r\n").size(), log.size()) << "the last line";
    const auto info = std::filesystem::file_size(env.AppHome() / "exit.wav");
    EXPECT_GE(info, 44u);
}
