// tyctl as a user runs it, against a real `linesim serve` daemon that is
// unplugged, stopped (SIGSTOP) or ended under it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "linesim/ScopedDaemon.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/Eventually.h"
#include "testsupport/TestEnvironment.h"

namespace {

using namespace std::chrono_literals;
using linesim::test::ScopedDaemon;
using vt::test::ChildProcess;
using vt::test::Eventually;

std::filesystem::path Tyctl() {
    return vt::test::BinaryFolder() / "tyctl";
}

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

int ExitCode(std::optional<int> status) {
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

class AdapterGoneTest : public ::testing::Test {
protected:
    // Starts the monitor and waits until it serves the adapter (a polarity
    // reversal is reported).
    void StartMonitor() {
        monitor_ = std::make_unique<ChildProcess>(Tyctl(), std::vector<std::string>{"monitor"});
        daemon_.Command("reverse on");
        ASSERT_TRUE(monitor_->WaitForOutput("WM_TY_REVERSETONE 0 1", 10s)) << monitor_->Output();
        daemon_.Command("reverse off");
        ASSERT_TRUE(monitor_->WaitForOutput("WM_TY_REVERSETONE 0 0", 10s)) << monitor_->Output();
    }

    vt::test::TestEnvironment env_;
    ScopedDaemon daemon_{0};
    std::unique_ptr<ChildProcess> monitor_;
};

TEST_F(AdapterGoneTest, AStoppedSimulatorIsReportedRemovedOnceAndTheMonitorStillEnds) {
    StartMonitor();
    ASSERT_TRUE(vt::test::StopProcess(daemon_.Pid()));
    const bool removed = monitor_->WaitForOutput("WM_TY_DEVICEREMOVED", 10s);
    std::this_thread::sleep_for(1s);  // more polls, and a first look for the adapter
    monitor_->Signal(SIGTERM);
    const std::optional<int> status = monitor_->WaitExit(10s);
    ::kill(daemon_.Pid(), SIGCONT);
    EXPECT_TRUE(removed) << monitor_->Output();
    EXPECT_EQ(Occurrences(monitor_->Output(), "WM_TY_DEVICEREMOVED"), 1u) << monitor_->Output();
    EXPECT_EQ(ExitCode(status), 0) << "the monitor must end on SIGTERM";
}

TEST_F(AdapterGoneTest, OneShotCommandsOnAStoppedSimulatorEnd) {
    ASSERT_TRUE(vt::test::StopProcess(daemon_.Pid()));
    ChildProcess state(Tyctl(), {"state"});
    const std::optional<int> status = state.WaitExit(20s);
    ChildProcess interrupted(Tyctl(), {"hookoff"});
    std::this_thread::sleep_for(100ms);
    interrupted.Signal(SIGINT);
    const std::optional<int> second = interrupted.WaitExit(20s);
    ::kill(daemon_.Pid(), SIGCONT);
    ASSERT_TRUE(status.has_value()) << "tyctl state hung on a stopped adapter";
    EXPECT_EQ(ExitCode(status), 3) << state.Output();
    EXPECT_TRUE(second.has_value()) << "tyctl hookoff hung after SIGINT";
}

TEST_F(AdapterGoneTest, ARemovalRightAfterAReopenIsReportedAndAnIdleReopenPostsNothing) {
    StartMonitor();
    daemon_.Command("unplug");
    ASSERT_TRUE(monitor_->WaitForOutput("WM_TY_DEVICEREMOVED", 10s)) << monitor_->Output();
    daemon_.Command("log clear");
    daemon_.Command("plug");
    // The monitor looks again within 2 s and reads the versions when it opens.
    ASSERT_TRUE(Eventually(
        [&] { return daemon_.Command("log").find("VENDOR_READ 0x7E") != std::string::npos; }));
    daemon_.Command("unplug");
    EXPECT_TRUE(Eventually([&] {
        return Occurrences(monitor_->Output(), "WM_TY_DEVICEREMOVED") == 2;
    })) << monitor_->Output();
    const std::string out = monitor_->Output();
    const std::string afterFirst = out.substr(out.find("WM_TY_DEVICEREMOVED") + 1);
    EXPECT_EQ(afterFirst.find("WM_TY_LINENOTIFY"), std::string::npos) << out;
    EXPECT_EQ(afterFirst.find("WM_TY_GETARS"), std::string::npos) << out;
    EXPECT_EQ(afterFirst.find("WM_TY_REVERSETONE"), std::string::npos) << out;
}

TEST_F(AdapterGoneTest, UnplugDropsTheLineTheAdapterHeld) {
    ChildProcess hookoff(Tyctl(), {"hookoff"});
    ASSERT_EQ(ExitCode(hookoff.WaitExit(20s)), 0) << hookoff.Output();
    ASSERT_NE(daemon_.Command("status").find("hook=off"), std::string::npos);
    daemon_.Command("ring 1000 1000 0");  // refused while off-hook; nothing rings
    daemon_.Command("unplug");
    daemon_.Command("plug");
    const std::string status = daemon_.Command("status");
    EXPECT_NE(status.find("hook=on"), std::string::npos) << status;
    EXPECT_NE(status.find("call=idle"), std::string::npos) << status;
    EXPECT_NE(status.find("tone=off"), std::string::npos) << status;
}

TEST_F(AdapterGoneTest, SendAfterTheDaemonEndedSaysTheAdapterIsGone) {
    daemon_.Command("handset up");  // the line is held, so digits may be sent
    ChildProcess send(Tyctl(), {"send", "1234567890123456"});
    ASSERT_TRUE(Eventually(
        [&] { return daemon_.Command("log").find("VENDOR_WRITE 0x62") != std::string::npos; }));
    daemon_.Stop();
    const std::optional<int> status = send.WaitExit(20s);
    EXPECT_EQ(ExitCode(status), 3) << send.Output();
    EXPECT_NE(send.Output().find("어댑터가 없어졌습니다"), std::string::npos) << send.Output();
    EXPECT_EQ(send.Output().find("회선을 잡았습니까"), std::string::npos) << send.Output();
}

}  // namespace
