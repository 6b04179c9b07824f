// `linesim serve` and the `linesim CMD` client end to end.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "linesim/ControlClient.h"
#include "linesim/ScopedDaemon.h"
#include "platform/DeviceEnumeration.h"
#include "testsupport/TestEnvironment.h"

namespace linesim::test {
namespace {

unsigned ModeOf(const std::filesystem::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

TEST(DaemonCli, ClientAnswersAndExitCodes) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(2);
    std::string out;
    EXPECT_EQ(RunLinesim("--id 2 ring 1000 1000 2", &out), 0);
    EXPECT_EQ(out, "OK\n");
    EXPECT_EQ(RunLinesim("--id 2 status", &out), 0);
    EXPECT_EQ(out.rfind("OK 0x0001 hook=on", 0), 0u) << out;
    EXPECT_EQ(RunLinesim("--id 2 cid 0212345678 03091405", &out), 0);
    EXPECT_EQ(RunLinesim("--id 2 headset 7", &out), 1);
    EXPECT_EQ(out, "linesim: ERR usage: headset 1|2\n");
    EXPECT_EQ(RunLinesim("--id 2 log", &out), 0);
    EXPECT_EQ(out, "OK 0 lines\n");
    EXPECT_EQ(RunLinesim("serve --id 2 extra", &out), 64);
}

TEST(DaemonCli, HelpListsEveryCommandForm) {
    std::string out;
    EXPECT_EQ(RunLinesim("--help", &out), 0);
    for (const char* form : {"serve [--max-connections N] [--idle-timeout MS]",
                             "ring [ON_MS OFF_MS [COUNT]]",
                             "ring stop",
                             "cid NUMBER|withheld [MMDDhhmm|nodate]",
                             "dtmf DIGITS [ON_MS [OFF_MS]]",
                             "tone dial|ringback|busy1|busy2|off",
                             "answer",
                             "hangup",
                             "handset up|down",
                             "dial DIGITS",
                             "arskey on|off",
                             "headset 1|2",
                             "reverse on|off",
                             "unplug",
                             "plug",
                             "status",
                             "log clear",
                             "version HW FW",
                             "speed N",
                             "audio FILE|off",
                             "mic FILE|tone|off",
                             "capture FILE|off"})
        EXPECT_NE(out.find(form), std::string::npos) << form;
    EXPECT_EQ(RunLinesim("", &out), 64);
    EXPECT_EQ(out.rfind("usage: linesim", 0), 0u) << out;
}

TEST(DaemonCli, NoDaemonIsAnError) {
    vt::test::TestEnvironment env;
    std::string out;
    EXPECT_EQ(RunLinesim("--id 9 status", &out), 2);
    EXPECT_NE(out.find("no simulated adapter 9 is running"), std::string::npos);
    EXPECT_EQ(ControlClient().Send(9, "status"), "ERR no simulated adapter 9 is running");
}

TEST(DaemonCli, SocketsArePrivate) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    EXPECT_EQ(ModeOf(vt::DeviceSocketPath(0)), 0600u);
    EXPECT_EQ(ModeOf(vt::ControlSocketPath(0)), 0600u);
    EXPECT_EQ(ModeOf(vt::DeviceSocketFolder()), 0700u);
}

TEST(DaemonCli, SecondDaemonForTheSameIdRefuses) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(1);
    std::string out;
    EXPECT_EQ(RunLinesim("--id 1 serve", &out), 1);
    EXPECT_NE(out.find("another linesim daemon already serves adapter 1"), std::string::npos);
    EXPECT_EQ(daemon.Command("status").rfind("OK", 0), 0u);  // still serving
    ScopedDaemon other(3);                                   // another id is fine
    EXPECT_EQ(other.Command("status").rfind("OK", 0), 0u);
}

TEST(DaemonCli, StopsCleanlyOnSigintAndRemovesItsSockets) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(4);
    ::kill(daemon.Pid(), SIGINT);
    const int status = daemon.Stop();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(std::filesystem::exists(vt::DeviceSocketPath(4)));
    EXPECT_FALSE(std::filesystem::exists(vt::ControlSocketPath(4)));
}

TEST(DaemonCli, UnplugRemovesTheDeviceFromEnumeration) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    const std::string path = vt::DeviceSocketPath(0).string();
    auto listed = [&] {
        const auto all = vt::EnumerateDeviceInterfaces();
        return std::find(all.begin(), all.end(), path) != all.end();
    };
    EXPECT_TRUE(listed());
    std::string out;
    EXPECT_EQ(RunLinesim("unplug", &out), 0);
    EXPECT_FALSE(listed());
    EXPECT_EQ(RunLinesim("status", &out), 0);
    EXPECT_NE(out.find("0xFFFF"), std::string::npos);
    EXPECT_EQ(RunLinesim("unplug", &out), 1);
    EXPECT_EQ(RunLinesim("plug", &out), 0);
    EXPECT_TRUE(listed());
}

}  // namespace
}  // namespace linesim::test
