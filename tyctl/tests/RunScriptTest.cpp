// scripts/run.sh as a new user starts it: build (nothing to do here), a
// simulated adapter and the phone program (its window on a virtual screen,
// or headless), then Ctrl-C or SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "linesim/ControlClient.h"
#include "platform/Folders.h"
#include "platform/RequestClient.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/TestEnvironment.h"

namespace {

using namespace std::chrono_literals;

const std::filesystem::path kScript =
    std::filesystem::path(VANTELO_SOURCE_DIR) / "scripts" / "run.sh";

void UseThisBuild(vt::test::TestEnvironment& env) {
    env.Set("VANTELO_BUILD_DIR", vt::test::BinaryFolder().parent_path().string());
}

TEST(RunScript, CtrlCStopsTheHeadlessPhoneBeforeTheAdapterAndNothingIsReconfigured) {
    vt::test::TestEnvironment env;
    UseThisBuild(env);
    env.Set("VANTELO_HEADLESS", "1");
    const std::filesystem::path& script = kScript;
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

TEST(RunScript, WithoutADisplayTheWindowOpensOnAVirtualScreenAndSigtermEndsAll) {
    vt::test::TestEnvironment env;
    UseThisBuild(env);
    env.Set("DISPLAY", "");
    env.Set("WAYLAND_DISPLAY", "");
    env.Set("VANTELO_HEADLESS", "");
    vt::test::ChildProcess run("/usr/bin/setsid", {"bash", kScript.string()});
    ASSERT_TRUE(run.WaitForOutput("Simulated adapter started", 120s)) << run.Output();
    ASSERT_TRUE(run.WaitForOutput("virtual screen (xvfb-run)", 10s)) << run.Output();
    // The window program is up once it serves its request socket.
    const auto socket = vt::RequestSocketPath();
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (!std::filesystem::exists(socket) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(std::filesystem::exists(socket)) << run.Output();
    EXPECT_EQ(vt::RequestClient::Send(vt::kRequestHangUp, "").outcome,
              vt::RequestClient::Outcome::Ok);
    ::kill(run.Pid(), SIGTERM);
    const std::optional<int> status = run.WaitExit(30s);
    ASSERT_TRUE(status.has_value()) << run.Output();
    EXPECT_FALSE(std::filesystem::exists(socket)) << "the phone ran its exit sequence";
    EXPECT_FALSE(linesim::ControlClient::TrySend(0, "status").has_value())
        << "the adapter the script started is stopped";
    EXPECT_EQ(run.Output().find("Vantelo Removed!!"), std::string::npos) << run.Output();
}

}  // namespace
