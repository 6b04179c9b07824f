// "vtdb mail-test" against a real mail server on loopback: exit 0 when the
// server accepted the test mail, else one line naming the step that failed.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>

#include "platform/IniStore.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int code = -1;
    std::string output;
};

Result MailTest() {
    vt::test::ChildProcess vtdb(vt::test::BinaryFolder() / "vtdb", {"mail-test"});
    Result r;
    const auto status = vtdb.WaitExit(std::chrono::seconds(60));
    if (status && WIFEXITED(*status))
        r.code = WEXITSTATUS(*status);
    r.output = vtdb.Output();
    return r;
}

class VtdbMailTest : public ::testing::Test {
protected:
    void SetUp() override { env_.Set("DBUS_SESSION_BUS_ADDRESS", ""); }

    void Settings(const std::string& server,
                  std::vector<std::pair<std::string, std::string>> more) {
        fs::remove(vt::SettingsFilePath());
        vt::IniStore store(vt::SettingsFilePath());
        if (!server.empty())
            store.SetString("Mail", "Server", server);
        store.SetString("Mail", "From", "desk@example.org");
        store.SetString("Mail", "To", "me@example.org");
        for (const auto& [k, v] : more) store.SetString("Mail", k, v);
        ASSERT_TRUE(store.Save());
    }

    vt::test::TestEnvironment env_;
};

TEST_F(VtdbMailTest, SaysWhichStepFailedOrThatTheMailWasSent) {
    const fs::path cert = env_.Root() / "cert.pem", key = env_.Root() / "key.pem";
    ASSERT_TRUE(vt::test::MakeSelfSignedCertificate(cert, key));
    const fs::path good = env_.Root() / "password", open = env_.Root() / "open-password";
    std::ofstream(good) << "right\n";
    std::ofstream(open) << "right\n";
    ::chmod(good.c_str(), 0600);
    ::chmod(open.c_str(), 0644);
    const int absent = vt::test::FreeLoopbackPort();

    struct Case {
        std::string name;
        std::optional<vt::test::SmtpServerOptions> server;  // none: nothing listens
        std::vector<std::pair<std::string, std::string>> more;
        int code;
        std::string line;  // "PORT" stands for the server's port
    };
    const std::vector<Case> cases = {
        {"accepted",
         vt::test::SmtpServerOptions{},
         {},
         0,
         "mail-test: smtp://127.0.0.1:PORT을(를) 거쳐 me@example.org(으)로 보냈습니다"},
        {"login accepted",
         vt::test::SmtpServerOptions{.user = "desk", .password = "right"},
         {{"User", "desk"}, {"PasswordFile", good.string()}},
         0,
         "mail-test: smtp://127.0.0.1:PORT을(를) 거쳐 "},
        {"absent",
         std::nullopt,
         {},
         1,
         "vtdb: mail-test: connection 단계 실패: 127.0.0.1:PORT에 연결할 수 없습니다"},
        {"recipient",
         vt::test::SmtpServerOptions{.reject = {"me@example.org"}},
         {},
         1,
         "vtdb: mail-test: recipient 단계 실패: 127.0.0.1:PORT이(가) 받는 사람 "
         "me@example.org을(를) 거부했습니다: 550"},
        {"login",
         vt::test::SmtpServerOptions{.user = "desk", .password = "other"},
         {{"User", "desk"}, {"PasswordFile", good.string()}},
         1,
         "vtdb: mail-test: login 단계 실패: 127.0.0.1:PORT이(가) desk(으)로 로그인하는 것을 "
         "거부했습니다: 535"},
        {"TLS",
         vt::test::SmtpServerOptions{.tlsCert = cert, .tlsKey = key},
         {},
         1,
         "vtdb: mail-test: TLS 단계 실패: 127.0.0.1:PORT와(과)의 TLS가 실패했습니다"},
        {"password file",
         vt::test::SmtpServerOptions{},
         {{"User", "desk"}, {"PasswordFile", open.string()}},
         1,
         "vtdb: mail-test: password 단계 실패: 비밀번호 파일 " + open.string() +
             "을(를) 다른 사람이 읽을 수 있습니다 (모드 0644): chmod 600 " + open.string() +
             "을(를) 실행하십시오"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<vt::test::SmtpTestServer> server;
        int port = absent;
        if (c.server) {
            server = std::make_unique<vt::test::SmtpTestServer>(env_.Root() / c.name, *c.server);
            port = server->Port();
        }
        Settings("smtp://127.0.0.1:" + std::to_string(port), c.more);
        const Result r = MailTest();
        EXPECT_EQ(r.code, c.code) << r.output;
        std::string line = c.line;
        if (const auto at = line.find("PORT"); at != std::string::npos)
            line.replace(at, 4, std::to_string(port));
        EXPECT_EQ(r.output.rfind(line, 0), 0u) << r.output;
        EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
        if (server) {
            EXPECT_EQ(server->Messages().size(), c.code == 0 ? 1u : 0u);
        }
    }
}

TEST_F(VtdbMailTest, SettingsThatCannotWorkAreNamed) {
    struct Case {
        std::string server;
        std::string line;
    };
    const Case cases[] = {
        {"", "vtdb: mail-test: settings 단계 실패: 메일이 꺼져 있습니다: " +
                 vt::SettingsFilePath().string() + "의 [Mail]에 Server가 없습니다"},
        {"smtp://127.0.0.1:0x",
         "vtdb: mail-test: settings 단계 실패: Server 'smtp://127.0.0.1:0x'"},
    };
    for (const auto& c : cases) {
        Settings(c.server, {});
        const Result r = MailTest();
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.output.rfind(c.line, 0), 0u) << r.output;
    }
    // The same line in English, as an English desk reads it.
    env_.SetLocale("en_US.UTF-8");
    Settings("", {});
    EXPECT_EQ(MailTest().output,
              "vtdb: mail-test: settings failed: mail is off: no Server in "
              "[Mail] of " +
                  vt::SettingsFilePath().string() + "\n");
}

}  // namespace
