// `linesim serve` and its client under abuse: odd input, connection floods,
// removed sockets, a stopped or unreachable daemon.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "linesim/ControlClient.h"
#include "linesim/ScopedDaemon.h"
#include "platform/DeviceEnumeration.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/Eventually.h"
#include "testsupport/SecondUser.h"
#include "testsupport/TestEnvironment.h"

namespace linesim::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vt::test::Eventually;

// A raw connection to a daemon socket; closed at the end of its scope.
class RawConnection {
public:
    explicit RawConnection(const fs::path& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~RawConnection() { ::close(fd_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool Connected() const { return connected_; }
    void Send(const std::string& text) const {
        [[maybe_unused]] const ssize_t n = ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
    }
    // Reads until a line end, the peer's end of stream or `limit`.
    std::string ReadLine(std::chrono::milliseconds limit) const {
        timeval tv{static_cast<time_t>(limit.count() / 1000),
                   static_cast<suseconds_t>(limit.count() % 1000 * 1000)};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        std::string line;
        char ch;
        while (::recv(fd_, &ch, 1, 0) == 1 && ch != '\n') line += ch;
        return line;
    }
    // True once the daemon closed its end (within `limit`).
    bool ClosedByPeer(std::chrono::milliseconds limit) const {
        return Eventually(
            [&] {
                char ch;
                const ssize_t n = ::recv(fd_, &ch, 1, MSG_DONTWAIT);
                return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
            },
            limit);
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

bool Answers(int id) {
    std::optional<std::string> answer = ControlClient::TrySend(id, "status");
    return answer && answer->rfind("OK", 0) == 0;
}

TEST(DaemonRobustness, ControlCharactersNeverMakeASecondCommandOrReachTheTerminal) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    std::string out;
    EXPECT_EQ(RunLinesim("cid \"$(printf '123\\nunplug')\"", &out), 64);
    EXPECT_NE(out.find("must not contain control characters"), std::string::npos) << out;
    EXPECT_NE(daemon.Command("status").find("plugged=yes"), std::string::npos);
    EXPECT_EQ(ControlClient::Query(0, "cid 1\x1b[2J").failure, ControlClient::Failure::BadCommand);

    // A client that sends raw bytes anyway gets them back escaped.
    RawConnection raw(vt::ControlSocketPath(0));
    ASSERT_TRUE(raw.Connected());
    raw.Send(
        "\x1b]0;owned\x07\x9b"
        "2J\n");
    const std::string answer = raw.ReadLine(5s);
    EXPECT_EQ(answer, "ERR unknown command: \\x1B]0;owned\\x07\\x9B2J");
}

TEST(DaemonRobustness, AFloodOfIdleConnectionsNeverLocksOutANewClient) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0, {"--max-connections", "16"});
    std::vector<std::unique_ptr<RawConnection>> idle;
    for (int i = 0; i < 200; ++i) {
        idle.push_back(std::make_unique<RawConnection>(i % 2 ? vt::DeviceSocketPath(0)
                                                             : vt::ControlSocketPath(0)));
    }
    EXPECT_TRUE(Answers(0)) << "the oldest idle connection makes room";
    // Once the queues are taken, all but the cap's worth were closed.
    auto closed = [&] {
        std::size_t n = 0;
        for (const auto& c : idle) n += c->ClosedByPeer(0ms) ? 1 : 0;
        return n;
    };
    EXPECT_TRUE(Eventually([&] { return closed() >= 200u - 16u; })) << closed();
    idle.clear();
    std::string out;
    EXPECT_EQ(RunLinesim("ring 1000 1000 1", &out), 0) << out;
}

TEST(DaemonRobustness, IdleConnectionsAreClosed) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0, {"--idle-timeout", "200"});
    RawConnection control(vt::ControlSocketPath(0));
    RawConnection device(vt::DeviceSocketPath(0));
    ASSERT_TRUE(control.Connected() && device.Connected());
    EXPECT_TRUE(control.ClosedByPeer(10s));
    EXPECT_TRUE(device.ClosedByPeer(10s)) << "a device connection that never opens a handle";
    EXPECT_TRUE(Answers(0));
}

TEST(DaemonRobustness, RemovedSocketFolderIsMadeAgain) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    fs::remove_all(vt::DeviceSocketFolder());
    EXPECT_TRUE(Eventually([] { return Answers(0); }));
    EXPECT_TRUE(Eventually([] {
        const auto all = vt::EnumerateDeviceInterfaces();
        return std::find(all.begin(), all.end(), vt::DeviceSocketPath(0).string()) != all.end();
    }));
    struct stat st {};
    ASSERT_EQ(::stat(vt::DeviceSocketFolder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    std::string out;
    EXPECT_EQ(RunLinesim("serve", &out), 1) << "status and serve agree: one daemon runs";
}

TEST(DaemonRobustness, ASecondDaemonNeverRemovesTheFirstsSockets) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    // The lock file is gone (say, a cleaned runtime folder): a second daemon
    // gets a lock, but must leave the live sockets alone.
    for (const auto& entry : fs::directory_iterator(env.RuntimeDir()))
        if (entry.path().extension() == ".lock")
            fs::remove(entry.path());
    std::string out;
    EXPECT_EQ(RunLinesim("serve", &out), 1);
    EXPECT_NE(out.find("another linesim daemon"), std::string::npos) << out;
    EXPECT_TRUE(Answers(0));
    EXPECT_TRUE(fs::exists(vt::DeviceSocketPath(0)));
    // The first one takes its lock again, so a later second daemon is
    // refused by the lock itself.
    EXPECT_TRUE(Eventually([&] {
        RunLinesim("serve", &out);
        return out.find("already serves adapter 0") != std::string::npos;
    }));
}

TEST(DaemonRobustness, AStoppedDaemonIsToldApartFromOneThatIsNotRunning) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    ASSERT_TRUE(vt::test::StopProcess(daemon.Pid()));
    std::string out;
    const int code = RunLinesim("status", &out);
    ::kill(daemon.Pid(), SIGCONT);
    EXPECT_EQ(code, 2);
    EXPECT_NE(out.find("simulated adapter 0 does not answer"), std::string::npos) << out;
    EXPECT_EQ(out.find("is running"), std::string::npos) << out;
    EXPECT_TRUE(Answers(0));
}

TEST(DaemonRobustness, AFullConnectionQueueIsReportedAsFlooded) {
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    ASSERT_TRUE(vt::test::StopProcess(daemon.Pid()));  // nothing is accepted: the queue fills
    std::vector<int> queued;
    for (int i = 0; i < 1000; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, vt::ControlSocketPath(0).c_str(), sizeof addr.sun_path - 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::close(fd);
            break;
        }
        queued.push_back(fd);
    }
    const ControlClient::Reply reply = ControlClient::Query(0, "status");
    ::kill(daemon.Pid(), SIGCONT);
    EXPECT_EQ(reply.failure, ControlClient::Failure::Flooded);
    EXPECT_NE(ControlClient::FailureText(0, reply.failure).find("flooded"), std::string::npos);
    for (int fd : queued) ::close(fd);
    EXPECT_TRUE(Eventually([] { return Answers(0); }));
}

TEST(DaemonRobustness, AnotherUsersDaemonIsReportedAsNoPermission) {
    vt::test::SecondUser user;
    if (!user.Available())
        GTEST_SKIP() << user.SkipReason();
    vt::test::TestEnvironment env;
    ScopedDaemon daemon(0);
    // The other user may enter the runtime folder, not the sockets' folder.
    ::chmod(env.Root().c_str(), 0755);
    ::chmod(env.RuntimeDir().c_str(), 0777);
    const int verdict = user.RunAs([] {
        const ControlClient::Reply reply = ControlClient::Query(0, "status");
        return reply.failure == ControlClient::Failure::NoPermission ? 0 : 1;
    });
    EXPECT_EQ(verdict, 0);
    EXPECT_NE(
        ControlClient::FailureText(0, ControlClient::Failure::NoPermission).find("no permission"),
        std::string::npos);
}

}  // namespace
}  // namespace linesim::test
