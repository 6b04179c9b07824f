// Closing and starting the main program, against the stand-in that holds
// vantelo's lock and answers its request socket.
#include <gtest/gtest.h>

#include "VanconvFixture.h"
#include "platform/RequestClient.h"
#include "vanconv/RunningVantelo.h"

namespace vanconv {
namespace {

TEST(RunningVanteloTest, NothingRunningMeansNothingToClose) {
    vt::test::TestEnvironment env;
    RunningVantelo program;
    EXPECT_EQ(program.Close({}), MainProgram::CloseResult::NotRunning);
    // The converter now holds the lock: no vantelo starts meanwhile.
    EXPECT_TRUE(test::FakeVantelo::LockHeld());
    program.Release();
    EXPECT_FALSE(test::FakeVantelo::LockHeld());
    EXPECT_EQ(vt::RequestClient::Send(vt::kRequestClose, {}).outcome,
              vt::RequestClient::Outcome::NotRunning);
}

TEST(RunningVanteloTest, ClosesARunningProgramAndStartsItAgain) {
    vt::test::TestEnvironment env;
    const VanteloInstall install = test::Register(env);
    test::FakeVantelo fake(env);
    ASSERT_TRUE(fake.Start());
    RunningVantelo program;
    int waits = 0;
    EXPECT_EQ(program.Close([&] { ++waits; }), MainProgram::CloseResult::Closed);
    EXPECT_EQ(fake.Count("request 256"), 1);
    EXPECT_EQ(fake.Count("closed"), 1);

    std::string error;
    ASSERT_TRUE(program.Start(install, error)) << error;
    EXPECT_TRUE(fake.WaitFor("started", 2));
    EXPECT_TRUE(test::FakeVantelo::LockHeld());
    // The one started again answers too, and closes.
    EXPECT_EQ(program.Close({}), MainProgram::CloseResult::Closed);
    EXPECT_EQ(fake.Count("closed"), 2);
    program.Release();
}

TEST(RunningVanteloTest, AProgramThatDoesNotEndIsReportedAfterTheWait) {
    vt::test::TestEnvironment env;
    test::FakeVantelo fake(env);
    ASSERT_TRUE(fake.Start(/*stubborn=*/true));
    RunningVantelo program(300);
    EXPECT_EQ(program.Close({}), MainProgram::CloseResult::StillRunning);
    EXPECT_EQ(fake.Count("request 256"), 1);
    EXPECT_TRUE(test::FakeVantelo::LockHeld());
}

TEST(RunningVanteloTest, StartReportsAProgramThatCannotRun) {
    vt::test::TestEnvironment env;
    std::string error;
    EXPECT_FALSE(StartDetached(env.Root() / "no-such-program", env.Root(), error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(StartDetached(test::FakeVanteloPath(), env.Root() / "no-folder", error));
    EXPECT_FALSE(error.empty());
    RunningVantelo program;
    VanteloInstall unnamed;
    unnamed.installFolder = env.AppHome().string();
    EXPECT_FALSE(program.Start(unnamed, error));
}

}  // namespace
}  // namespace vanconv
