#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <vector>

#include "platform/RequestClient.h"
#include "platform/RequestServer.h"
#include "testsupport/TestEnvironment.h"

namespace fs = std::filesystem;
using vt::RequestClient;

namespace {

// Keeps what the server handed on.
struct Recorder {
    std::mutex mutex;
    std::vector<vt::Request> requests;
    std::string refuseWith;

    vt::RequestServer::Handler Handler() {
        return [this](const vt::Request& request) {
            std::lock_guard lock(mutex);
            requests.push_back(request);
            return refuseWith;
        };
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return requests.size();
    }
};

// Sends raw bytes and returns the server's answer line.
std::string SendRaw(const std::string& bytes, const fs::path& socket = vt::RequestSocketPath()) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socket.c_str());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return "no connection";
    }
    [[maybe_unused]] ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::string reply;
    char buffer[128];
    ssize_t got;
    while ((got = ::recv(fd, buffer, sizeof buffer, 0)) > 0) reply.append(buffer, got);
    ::close(fd);
    return reply;
}

std::string Header(const char* magic, std::uint32_t kind, std::uint32_t length) {
    std::string out(magic, 4);
    for (std::uint32_t v : {kind, length})
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

}  // namespace

TEST(RequestSocket, RequestsReachTheHandlerAndTheSocketIsPrivate) {
    vt::test::TestEnvironment env;
    Recorder recorder;
    vt::RequestServer server(recorder.Handler());
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(server.Path(), env.RuntimeDir() / "Korvane_TYC_Plus.sock");
    struct stat st {};
    ASSERT_EQ(::lstat(server.Path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    auto dial = RequestClient::Send(vt::kRequestDial, std::string("0212345678\0", 11));
    EXPECT_EQ(dial.outcome, RequestClient::Outcome::Ok);
    auto hangUp = RequestClient::Send(vt::kRequestHangUp, "");
    EXPECT_EQ(hangUp.outcome, RequestClient::Outcome::Ok);
    auto other = RequestClient::Send(7, "anything");
    EXPECT_EQ(other.outcome, RequestClient::Outcome::Ok);
    ASSERT_EQ(recorder.Count(), 3u);
    EXPECT_EQ(recorder.requests[0].kind, vt::kRequestDial);
    EXPECT_EQ(recorder.requests[0].payload, std::string("0212345678\0", 11));
    EXPECT_EQ(recorder.requests[1].kind, vt::kRequestHangUp);
    EXPECT_EQ(recorder.requests[2].kind, 7u);
}

TEST(RequestSocket, HandlerRefusalIsReportedToTheClient) {
    vt::test::TestEnvironment env;
    Recorder recorder;
    recorder.refuseWith = "number too long";
    vt::RequestServer server(recorder.Handler());
    ASSERT_TRUE(server.Start());
    auto answer = RequestClient::Send(vt::kRequestDial, std::string(60, '1'));
    EXPECT_EQ(answer.outcome, RequestClient::Outcome::Refused);
    EXPECT_EQ(answer.text, "number too long");
    EXPECT_NE(RequestClient::Describe(answer).find("number too long"), std::string::npos);
}

TEST(RequestSocket, MalformedRequestsAreRefusedBeforeTheHandler) {
    vt::test::TestEnvironment env;
    Recorder recorder;
    vt::RequestServer server(recorder.Handler());
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(SendRaw(Header("XXXX", 16, 1) + "1"), "ERR bad magic\n");
    EXPECT_EQ(SendRaw(Header("VTRQ", 16, 1025) + std::string(1025, '1')), "ERR request too long\n");
    EXPECT_EQ(SendRaw(Header("VTRQ", 16, 10) + "12"), "ERR short request\n")
        << "the client closed before its payload was complete";
    EXPECT_EQ(recorder.Count(), 0u);
    // The server still serves after refusals.
    EXPECT_EQ(SendRaw(Header("VTRQ", 32, 0)), "OK\n");
    EXPECT_EQ(recorder.Count(), 1u);
}

TEST(RequestSocket, ReadRequestGivesUpOnASlowClient) {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    const std::string partial = Header("VTRQ", 16, 4).substr(0, 6);
    ASSERT_EQ(::send(fds[1], partial.data(), partial.size(), 0), 6);
    vt::Request request;
    EXPECT_EQ(vt::RequestServer::ReadRequest(fds[0], 20, request), "short request");
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(RequestSocket, NoProgramGivesOneClearLine) {
    vt::test::TestEnvironment env;
    auto answer = RequestClient::Send(vt::kRequestHangUp, "");
    EXPECT_EQ(answer.outcome, RequestClient::Outcome::NotRunning);
    EXPECT_EQ(RequestClient::Describe(answer), "Vantelo is not running");
}

TEST(RequestSocket, StaleSocketIsReplacedAndStopRemovesIt) {
    vt::test::TestEnvironment env;
    {
        // A socket file left behind by a program that died.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, vt::RequestSocketPath().c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    EXPECT_EQ(RequestClient::Send(vt::kRequestHangUp, "").outcome,
              RequestClient::Outcome::NotRunning);
    Recorder recorder;
    vt::RequestServer server(recorder.Handler());
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(RequestClient::Send(vt::kRequestHangUp, "").outcome, RequestClient::Outcome::Ok);
    server.Stop();
    EXPECT_FALSE(fs::exists(vt::RequestSocketPath()));
    EXPECT_EQ(RequestClient::Send(vt::kRequestHangUp, "").outcome,
              RequestClient::Outcome::NotRunning);
}

TEST(RequestSocket, AFileThatIsNotASocketIsLeftAlone) {
    vt::test::TestEnvironment env;
    std::ofstream(vt::RequestSocketPath()) << "keep me";
    vt::RequestServer server([](const vt::Request&) { return std::string(); });
    std::string error;
    EXPECT_FALSE(server.Start(&error));
    EXPECT_EQ(error, "소켓이 아닙니다: " + vt::RequestSocketPath().string());
    EXPECT_EQ(vt::test::ReadText(vt::RequestSocketPath()), "keep me");
}

TEST(RequestSocket, AnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    vt::test::TestEnvironment env;
    ::chmod(env.Root().c_str(), 0755);
    ::chmod(env.RuntimeDir().c_str(), 0755);
    Recorder recorder;
    vt::RequestServer server(recorder.Handler());
    ASSERT_TRUE(server.Start());
    ::chmod(server.Path().c_str(), 0666);  // so that only the credential check stands
    pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const std::string reply = SendRaw(Header("VTRQ", 32, 0), server.Path());
        if (reply != "ERR wrong user\n")
            std::fprintf(stderr, "child got: %s\n", reply.c_str());
        ::_exit(reply == "ERR wrong user\n" ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(recorder.Count(), 0u);
}
