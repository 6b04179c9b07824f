#include "testsupport/LdapTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "platform/Folders.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/SmtpTestServer.h"

namespace vt::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::trunc);
    out << text;
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

LdapTestServer::LdapTestServer(const fs::path& folder, LdapServerOptions options)
    : folder_(folder) {
    vt::EnsureFolder(folder_, 0700);
    vt::EnsureFolder(folder_ / "db", 0700);
    const bool tls = !options.tlsCert.empty() && !options.tlsKey.empty();
    // Global settings (TLS) come before the first database.
    std::string conf;
    if (tls) {
        conf += "TLSCertificateFile " + options.tlsCert.string() + "\n";
        conf += "TLSCertificateKeyFile " + options.tlsKey.string() + "\n";
    }
    for (const char* schema : {"core", "cosine", "inetorgperson"})
        conf += std::string("include /etc/ldap/schema/") + schema + ".schema\n";
    conf += "pidfile " + (folder_ / "slapd.pid").string() + "\n";
    conf += "modulepath /usr/lib/ldap\nmoduleload back_mdb\n";
    conf += "database mdb\nmaxsize 4194304\nsuffix \"dc=example,dc=org\"\n";
    conf += "rootdn \"" + std::string(kAdminDn) + "\"\nrootpw " + kAdminPassword + "\n";
    conf += "directory " + (folder_ / "db").string() + "\n";
    WriteFile(folder_ / "slapd.conf", conf);
    port_ = FreeLoopbackPort();
    std::string urls = Url() + "/";
    if (tls) {
        do tlsPort_ = FreeLoopbackPort();
        while (tlsPort_ == port_);
        urls += " ldaps://127.0.0.1:" + std::to_string(tlsPort_) + "/";
    }
    // -d keeps it in the foreground, a child of the test, until stopped.
    process_ = std::make_unique<ChildProcess>(
        "/usr/sbin/slapd",
        std::vector<std::string>{"-d", "0", "-f", (folder_ / "slapd.conf").string(), "-h", urls});
    const auto end = std::chrono::steady_clock::now() + 15s;
    while (!Accepts(port_) || (tls && !Accepts(tlsPort_))) {
        if (process_->WaitExit(0ms) || std::chrono::steady_clock::now() > end)
            throw std::runtime_error("slapd did not start: " + process_->Output());
        std::this_thread::sleep_for(20ms);
    }
    const std::string base = std::string("dn: ") + kBase + "\nobjectClass: organizationalUnit\n";
    Load(
        "dn: dc=example,dc=org\nobjectClass: dcObject\nobjectClass: organization\n"
        "dc: example\no: Example\n\n" +
        base + "ou: people\n");
}

LdapTestServer::~LdapTestServer() {
    if (process_) {
        process_->Signal(SIGTERM);
        if (!process_->WaitExit(10s))
            process_->Signal(SIGKILL);
        process_->WaitExit(5s);
    }
}

void LdapTestServer::Load(const std::string& ldif) {
    const fs::path file = folder_ / ("add" + std::to_string(++added_) + ".ldif");
    WriteFile(file, ldif);
    ChildProcess add("/usr/bin/ldapadd", {"-x", "-H", Url(), "-D", kAdminDn, "-w", kAdminPassword,
                                          "-f", file.string()});
    const auto status = add.WaitExit(15s);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
        throw std::runtime_error("ldapadd failed: " + add.Output());
}

void LdapTestServer::Add(const LdapPerson& p) {
    std::string ldif = "dn: uid=" + p.uid + "," + kBase +
                       "\nobjectClass: inetOrgPerson\nuid: " + p.uid + "\ncn: " + p.cn +
                       "\nsn: " + p.cn + "\n";
    if (!p.displayName.empty())
        ldif += "displayName: " + p.displayName + "\n";
    for (const auto& v : p.telephoneNumber) ldif += "telephoneNumber: " + v + "\n";
    for (const auto& v : p.mobile) ldif += "mobile: " + v + "\n";
    for (const auto& v : p.homePhone) ldif += "homePhone: " + v + "\n";
    Load(ldif);
}

SilentServer::SilentServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, 64) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no silent server socket");
    port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() {
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace vt::test
