// scripts/run.sh as a new user starts it: build (nothing to do here), a
// simulated adapter and the phone program, then Ctrl-C.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "linesim/ControlClient.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/TestEnvironment.h"

namespace {

using namespace std::chrono_literals;

TEST(RunScript, CtrlCStopsThePhoneBeforeTheAdapterAndNothingIsReconfigured) {
    vt::test::TestEnvironment env;
    const std::filesystem::path build = vt::test::BinaryFolder().parent_path();
    const std::filesystem::path script =
        std::filesystem::path(VANTELO_SOURCE_DIR) / "scripts" / "run.sh";
    env.Set("VANTELO_BUILD_DIR", build.string());
    // setsid: the script gets a process group of its own, as in a terminal,
    // so the "Ctrl-C" below reaches the script and what it runs in front.
    vt::test::ChildProcess run("/usr/bin/setsid", {"bash", script.string()});
    ASSERT_TRUE(run.WaitForOutput("Simulated adapter started", 120s)) << run.Output();
    // The phone serves the adapter once it shows a ringing line.
    const std::string ringing = "status: 전화가 왔습니다.";
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!run.WaitForOutput(ringing, 500ms) && std::chrono::steady_clock::now() < end)
        linesim::ControlClient::TrySend(0, "ring 1000 1000");
    ASSERT_NE(run.Output().find(ringing), std::string::npos) << run.Output();
    ::kill(-run.Pid(), SIGINT);
    const std::optional<int> status = run.WaitExit(30s);
    ASSERT_TRUE(status.has_value()) << run.Output();
    const std::string out = run.Output();
    EXPECT_EQ(out.find("Vantelo Removed!!"), std::string::npos) << out;
    EXPECT_EQ(out.find("-- Configuring"), std::string::npos) << out;
    EXPECT_EQ(out.find("Could NOT find"), std::string::npos) << out;
    EXPECT_FALSE(linesim::ControlClient::TrySend(0, "status").has_value())
        << "the adapter the script started is stopped";
}

}  // namespace
