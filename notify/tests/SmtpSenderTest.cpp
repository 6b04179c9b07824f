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
        {"accepted", {}, "", "", {"me@example.org"}, MailFailure::None, {"sent to 127.0.0.1"}},
        {"recipient refused",
         {.reject = {"nobody@example.org"}},
         "",
         "",
         {"me@example.org", "nobody@example.org"},
         MailFailure::Recipient,
         {"recipient nobody@example.org refused", "550"}},
        {"closed before the reply to the message",
         {.closeOnData = true},
         "",
         "",
         {"me@example.org"},
         MailFailure::Closed,
         {"ended the connection before accepting the message"}},
        {"login accepted",
         {.user = "desk", .password = "right"},
         "desk",
         "right",
         {"me@example.org"},
         MailFailure::None,
         {"sent"}},
        {"login refused",
         {.user = "desk", .password = "right"},
         "desk",
         "wrong",
         {"me@example.org"},
         MailFailure::Login,
         {"login as desk refused", "535"}},
        {"certificate not trusted",
         {.tlsCert = cert, .tlsKey = key},
         "",
         "",
         {"me@example.org"},
         MailFailure::Tls,
         {"TLS with 127.0.0.1"}},
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
         "no connection to 127.0.0.1:" + std::to_string(closed)},
        {"smtp://127.0.0.1:" + std::to_string(silent.Port()),
         "no answer from 127.0.0.1:" + std::to_string(silent.Port()) + " within 1 s"},
        {"smtp://no-such-host.invalid:25", "the server name in smtp://no-such-host.invalid:25"},
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
