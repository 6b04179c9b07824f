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

LdapTestServer::LdapTestServer(const fs::path& folder) : folder_(folder) {
    vt::EnsureFolder(folder_, 0700);
    vt::EnsureFolder(folder_ / "db", 0700);
    const std::string conf =
        "include /etc/ldap/schema/core.schema\n"
        "include /etc/ldap/schema/cosine.schema\n"
        "include /etc/ldap/schema/inetorgperson.schema\n"
        "pidfile " +
        (folder_ / "slapd.pid").string() +
        "\n"
        "modulepath /usr/lib/ldap\n"
        "moduleload back_mdb\n"
        "database mdb\n"
        "maxsize 4194304\n"
        "suffix \"dc=example,dc=org\"\n"
        "rootdn \"" +
        std::string(kAdminDn) +
        "\"\n"
        "rootpw " +
        kAdminPassword +
        "\n"
        "directory " +
        (folder_ / "db").string() + "\n";
    WriteFile(folder_ / "slapd.conf", conf);
    port_ = FreeLoopbackPort();
    // -d keeps it in the foreground, a child of the test, until stopped.
    process_ = std::make_unique<ChildProcess>(
        "/usr/sbin/slapd",
        std::vector<std::string>{"-d", "0", "-f", (folder_ / "slapd.conf").string(), "-h",
                                 Url() + "/"});
    const auto end = std::chrono::steady_clock::now() + 15s;
    while (!Accepts(port_)) {
        if (process_->WaitExit(0ms) || std::chrono::steady_clock::now() > end)
            throw std::runtime_error("slapd did not start: " + process_->Output());
        std::this_thread::sleep_for(20ms);
    }
    Load(
        "dn: dc=example,dc=org\nobjectClass: dcObject\nobjectClass: organization\n"
        "dc: example\no: Example\n\n"
        "dn: " +
        std::string(kBase) + "\nobjectClass: organizationalUnit\nou: people\n");
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
