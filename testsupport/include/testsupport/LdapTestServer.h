#pragma once
// A real directory server for tests: Debian's slapd with a configuration of
// its own in a private folder, listening on a free loopback port, the base
// "ou=people,dc=example,dc=org" made and persons added with ldapadd; stopped
// by the destructor. And a server that never answers, for time-outs.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vt::test {

class ChildProcess;

struct LdapPerson {
    std::string uid;
    std::string cn;
    std::string displayName;  // left out when empty
    std::vector<std::string> telephoneNumber, mobile, homePhone;
};

struct LdapServerOptions {
    // With both: StartTLS on the plain port, and a second port for ldaps://.
    std::filesystem::path tlsCert, tlsKey;
};

class LdapTestServer {
public:
    static constexpr const char* kBase = "ou=people,dc=example,dc=org";
    static constexpr const char* kAdminDn = "cn=admin,dc=example,dc=org";
    static constexpr const char* kAdminPassword = "test-secret";

    // Starts slapd with its configuration and data in `folder` (created
    // 0700). Throws std::runtime_error when it does not serve within 15 s.
    explicit LdapTestServer(const std::filesystem::path& folder, LdapServerOptions options = {});
    ~LdapTestServer();
    LdapTestServer(const LdapTestServer&) = delete;
    LdapTestServer& operator=(const LdapTestServer&) = delete;

    std::string Url() const { return "ldap://127.0.0.1:" + std::to_string(port_); }
    std::string TlsUrl() const { return "ldaps://127.0.0.1:" + std::to_string(tlsPort_); }
    // Adds an inetOrgPerson under kBase; throws when ldapadd fails.
    void Add(const LdapPerson& person);

private:
    void Load(const std::string& ldif);

    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
    int tlsPort_ = 0;
    int added_ = 0;
};

// A loopback port that takes connections and never says a word: the kernel
// completes every connection into the listening socket's queue, and nobody
// reads from it.
class SilentServer {
public:
    SilentServer();  // throws std::runtime_error when no socket can be made
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int Port() const { return port_; }
    std::string LdapUrl() const { return "ldap://127.0.0.1:" + std::to_string(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace vt::test
