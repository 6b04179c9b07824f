#include "testsupport/RadicaleTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/Folders.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/SmtpTestServer.h"

namespace vt::test {

namespace fs = std::filesystem;

namespace {

bool Answers(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok =
        fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

}  // namespace

RadicaleTestServer::RadicaleTestServer(const fs::path& folder, std::string user,
                                       std::string password)
    : folder_(folder), user_(std::move(user)), password_(std::move(password)) {
    vt::EnsureFolder(folder_, 0700);
    vt::EnsureFolder(folder_ / "storage", 0700);
    WriteFile(folder_ / "users", user_ + ":" + password_ + "\n");
    port_ = FreeLoopbackPort();
    WriteFile(folder_ / "config", "[server]\nhosts = 127.0.0.1:" + std::to_string(port_) +
                                      "\nmax_content_length = 100000000\n"
                                      "[auth]\ntype = htpasswd\nhtpasswd_filename = " +
                                      (folder_ / "users").string() +
                                      "\nhtpasswd_encryption = plain\ndelay = 0\n"
                                      "[rights]\ntype = owner_only\n"
                                      "[storage]\nfilesystem_folder = " +
                                      (folder_ / "storage").string() +
                                      "\n[web]\ntype = none\n"
                                      "[logging]\nlevel = error\n");
    process_ = std::make_unique<ChildProcess>(
        VT_SYSTEM_PYTHON,
        std::vector<std::string>{"-m", "radicale", "--config", (folder_ / "config").string()});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!Answers(port_)) {
        if (process_->WaitExit(std::chrono::milliseconds(50)) ||
            std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("Radicale did not start: " + process_->Output());
    }
}

RadicaleTestServer::~RadicaleTestServer() {
    if (process_) {
        process_->Signal(SIGTERM);
        process_->WaitExit(std::chrono::seconds(5));
    }
}

std::string RadicaleTestServer::BookUrl(const std::string& name) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + user_ + "/" + name + "/";
}

std::string RadicaleTestServer::CreateAddressBook(const std::string& name) {
    const std::string url = BookUrl(name);
    const CurlReply r = Curl("MKCOL", url,
                             "<?xml version=\"1.0\"?><mkcol xmlns=\"DAV:\" "
                             "xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><set><prop>"
                             "<resourcetype><collection/><C:addressbook/></resourcetype>"
                             "</prop></set></mkcol>",
                             {"Content-Type: application/xml"});
    if (r.status != 201)
        throw std::runtime_error("MKCOL " + url + " answered " + std::to_string(r.status));
    return url;
}

void RadicaleTestServer::StoreCards(const std::string& book,
                                    const std::vector<std::pair<std::string, std::string>>& cards) {
    const fs::path dir = folder_ / "storage" / "collection-root" / user_ / book;
    for (const auto& [name, text] : cards) WriteFile(dir / name, text);
}

void RadicaleTestServer::StoreForeignMember(const std::string& book, const std::string& name,
                                            const std::string& text) {
    const fs::path dir = folder_ / "storage" / "collection-root" / user_ / book;
    ChildProcess python(VT_SYSTEM_PYTHON, {VT_RADICALE_FOREIGN_MEMBER, dir.string(), name, text});
    const auto status = python.WaitExit(std::chrono::seconds(15));
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
        throw std::runtime_error("cannot store a foreign member: " + python.Output());
}

CurlReply RadicaleTestServer::Curl(const std::string& method, const std::string& url,
                                   const std::string& body, const std::vector<std::string>& headers,
                                   const std::string& user, const std::string& password) const {
    static int serial = 0;
    const std::string stem = "curl-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
    const fs::path in = folder_ / (stem + ".in"), out = folder_ / (stem + ".out"),
                   head = folder_ / (stem + ".head");
    WriteFile(in, body);
    std::vector<std::string> args = {
        "-s",
        "-X",
        method,
        "-o",
        out.string(),
        "-D",
        head.string(),
        "-w",
        "%{http_code}",
        "--max-time",
        "60",
        "-u",
        (user.empty() ? user_ : user) + ":" + (user.empty() ? password_ : password)};
    if (!body.empty())
        args.insert(args.end(), {"--data-binary", "@" + in.string()});
    for (const auto& h : headers) args.insert(args.end(), {"-H", h});
    args.push_back(url);
    ChildProcess curl("/usr/bin/curl", args);
    CurlReply reply;
    const auto status = curl.WaitExit(std::chrono::seconds(70));
    if (status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        reply.status = std::stol(curl.Output());
    reply.body = ReadFile(out);
    std::istringstream lines(ReadFile(head));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() > 5 && (line.rfind("ETag:", 0) == 0 || line.rfind("etag:", 0) == 0)) {
            reply.etag = line.substr(5);
            reply.etag.erase(0, reply.etag.find_first_not_of(' '));
            while (!reply.etag.empty() && (reply.etag.back() == '\r' || reply.etag.back() == ' '))
                reply.etag.pop_back();
        }
    }
    std::error_code ec;
    fs::remove(in, ec);
    fs::remove(out, ec);
    fs::remove(head, ec);
    return reply;
}

}  // namespace vt::test
