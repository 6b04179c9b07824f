// One send against a real mail server on loopback: which step failed is
// told in one line, and only an accepted message counts as sent.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "notify/SmtpSender.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;
using notify::MailFailure;

// A port that takes connections (the kernel's backlog) and never says a word.
class SilentPort {
public:
    SilentPort() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 4);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
    }
    ~SilentPort() { ::close(fd_); }
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

class SmtpSenderTest : public ::testing::Test {
protected:
    notify::MailSettings Settings(const std::string& server) {
        notify::MailSettings s;
        s.server = server;
        s.from = "desk@example.org";
        s.to = {"me@example.org"};
        return s;
    }
    notify::OutgoingMail Mail() {
        notify::OutgoingMail m;
        m.subject = "새 메시지: 시험";
        m.body = "본문\n";
        m.messageId = "t1";
        return m;
    }
    vt::test::TestEnvironment env_;
};

TEST_F(SmtpSenderTest, EachFailingStepIsToldInOneLineAndNothingIsAccepted) {
    const fs::path cert = env_.Root() / "cert.pem", key = env_.Root() / "key.pem";
    ASSERT_TRUE(vt::test::MakeSelfSignedCertificate(cert, key));
    struct Case {
        std::string name;
        vt::test::SmtpServerOptions server;
        std::string user, password;
        std::vector<std::string> to;
        MailFailure failure;
        std::vector<std::string> inLine;
    };
    const Case cases[] = {
        {"accepted", {}, "", "", {"me@example.org"}, MailFailure::None, {"127.0.0.1:"}},
        {"recipient refused",
         {.reject = {"nobody@example.org"}},
         "",
         "",
         {"me@example.org", "nobody@example.org"},
         MailFailure::Recipient,
         {"받는 사람 nobody@example.org을(를) 거부했습니다", "550"}},
        {"closed before the reply to the message",
         {.closeOnData = true},
         "",
         "",
         {"me@example.org"},
         MailFailure::Closed,
         {"메시지를 받기 전에 연결을 끝냈습니다"}},
        {"login accepted",
         {.user = "desk", .password = "right"},
         "desk",
         "right",
         {"me@example.org"},
         MailFailure::None,
         {"(으)로 보냈습니다"}},
        {"login refused",
         {.user = "desk", .password = "right"},
         "desk",
         "wrong",
         {"me@example.org"},
         MailFailure::Login,
         {"desk(으)로 로그인하는 것을 거부했습니다", "535"}},
        {"certificate not trusted",
         {.tlsCert = cert, .tlsKey = key},
         "",
         "",
         {"me@example.org"},
         MailFailure::Tls,
         {"127.0.0.1:"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        vt::test::SmtpTestServer server(env_.Root() / ("mail-" + std::to_string(&c - cases)),
                                        c.server);
        auto settings = Settings(server.Url());
        settings.user = c.user;
        settings.to = c.to;
        const auto outcome = notify::SmtpSender(settings, c.password).Send(Mail());
        EXPECT_EQ(outcome.failure, c.failure) << outcome.line;
        for (const auto& part : c.inLine)
            EXPECT_NE(outcome.line.find(part), std::string::npos) << outcome.line;
        EXPECT_EQ(outcome.line.find('\n'), std::string::npos);
        EXPECT_EQ(server.Messages().size(), c.failure == MailFailure::None ? 1u : 0u);
    }
}

TEST_F(SmtpSenderTest, AbsentAndSilentServersAreConnectionFailuresWithinTheLimit) {
    const int closed = vt::test::FreeLoopbackPort();
    SilentPort silent;
    const notify::SendLimits limits{std::chrono::milliseconds(800), std::chrono::seconds(5)};
    struct Case {
        std::string server;
        std::string inLine;
    };
    const Case cases[] = {
        {"smtp://127.0.0.1:" + std::to_string(closed),
         "127.0.0.1:" + std::to_string(closed) + "에 연결할 수 없습니다"},
        {"smtp://127.0.0.1:" + std::to_string(silent.Port()),
         "127.0.0.1:" + std::to_string(silent.Port()) + "이(가) 1초 안에 응답하지 않았습니다"},
        {"smtp://no-such-host.invalid:25",
         "smtp://no-such-host.invalid:25의 서버 이름을 찾을 수 없습니다"},
    };
    for (const auto& c : cases) {
        const auto outcome = notify::SmtpSender(Settings(c.server), "", limits).Send(Mail());
        EXPECT_EQ(outcome.failure, MailFailure::Connection) << outcome.line;
        EXPECT_NE(outcome.line.find(c.inLine), std::string::npos) << outcome.line;
    }
}

TEST_F(SmtpSenderTest, AStopEndsASendThatWaitsOnTheServer) {
    SilentPort silent;
    std::atomic<bool> stop{true};
    const auto outcome =
        notify::SmtpSender(Settings("smtp://127.0.0.1:" + std::to_string(silent.Port())), "")
            .Send(Mail(), &stop);
    EXPECT_EQ(outcome.failure, MailFailure::Stopped) << outcome.line;
}

}  // namespace
