// The look-up over TLS (StartTLS and ldaps://) against a slapd with a
// certificate of the test's own. A program of its own: the client library
// reads LDAPTLS_CACERT once per process, at its first call.

#include <gtest/gtest.h>
#include <stdlib.h>

#include "directory/LdapClient.h"
#include "testsupport/LdapTestServer.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"

namespace directory {
namespace {

using namespace std::chrono_literals;

TEST(LdapTlsTest, StartTlsAndLdapsReachTheDirectory) {
    vt::test::TestEnvironment env;
    const auto cert = env.Root() / "cert.pem", key = env.Root() / "key.pem";
    // For the address, not "localhost": the client library checks a
    // certificate for localhost against the machine's own name.
    ASSERT_TRUE(vt::test::MakeSelfSignedCertificate(cert, key, "127.0.0.1"));
    // The certificate a desk would get from its office: trusted as the
    // system's ldap.conf (TLS_CACERT) or this variable says.
    ::setenv("LDAPTLS_CACERT", cert.c_str(), 1);
    vt::test::LdapTestServer server(env.Root() / "slapd", {cert, key});
    server.Add({"kim", "Kim", "김철수", {"+82 2-765-4321"}, {}, {}});

    LdapSettings settings;
    settings.base = vt::test::LdapTestServer::kBase;
    settings.bindDn = vt::test::LdapTestServer::kAdminDn;
    struct Case {
        std::string server;
        bool startTls;
    };
    for (const Case& c : {Case{server.Url(), true}, Case{server.TlsUrl(), false}}) {
        settings.server = c.server;
        settings.startTls = c.startTls;
        LdapClient client(settings, vt::test::LdapTestServer::kAdminPassword);
        const LdapAnswer answer = client.Find("027654321", std::chrono::steady_clock::now() + 10s);
        EXPECT_EQ(answer.name, "김철수") << c.server << ": " << answer.error;
    }
    // StartTLS asked of a server without it fails in one line, and never
    // falls back to a plain bind.
    vt::test::LdapTestServer plain(env.Root() / "plain");
    settings.server = plain.Url();
    settings.startTls = true;
    LdapClient client(settings, vt::test::LdapTestServer::kAdminPassword);
    const LdapAnswer refused = client.Find("027654321", std::chrono::steady_clock::now() + 10s);
    EXPECT_EQ(refused.outcome, LdapAnswer::Outcome::Failed);
    EXPECT_NE(refused.error.find("StartTLS"), std::string::npos) << refused.error;
}

}  // namespace
}  // namespace directory
