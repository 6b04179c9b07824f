#include "testsupport/SmtpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <stdexcept>

#include "platform/Folders.h"
#include "testsupport/ChildProcess.h"

namespace vt::test {

namespace fs = std::filesystem;

namespace {

std::string Unescape(const std::string& v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const char n = v[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += v[i];
        }
    }
    return out;
}

}  // namespace

SmtpTestServer::SmtpTestServer(const fs::path& folder, SmtpServerOptions options)
    : folder_(folder) {
    vt::EnsureFolder(folder_, 0700);
    std::vector<std::string> args = {VT_SMTP_TEST_SERVER, "serve",  "--dir",
                                     folder_.string(),    "--port", std::to_string(options.port)};
    for (const auto& r : options.reject) {
        args.push_back("--reject");
        args.push_back(r);
    }
    if (options.closeOnData)
        args.push_back("--close-on-data");
    if (!options.tlsCert.empty()) {
        args.insert(args.end(),
                    {"--tls-cert", options.tlsCert.string(), "--tls-key", options.tlsKey.string()});
    }
    if (!options.user.empty())
        args.insert(args.end(), {"--user", options.user, "--password", options.password});
    process_ = std::make_unique<ChildProcess>(VT_SYSTEM_PYTHON, args);
    if (!process_->WaitForOutput("\n", std::chrono::seconds(15)))
        throw std::runtime_error("the test mail server did not start: " + process_->Output());
    const std::string& out = process_->Output();
    const auto at = out.find("ready ");
    if (at == std::string::npos)
        throw std::runtime_error("the test mail server did not start: " + out);
    port_ = std::stoi(out.substr(at + 6));
}

SmtpTestServer::~SmtpTestServer() {
    if (process_) {
        process_->Signal(SIGTERM);
        process_->WaitExit(std::chrono::seconds(5));
    }
}

std::vector<fs::path> SmtpTestServer::Messages() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec))
        if (entry.path().extension() == ".eml")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<ReceivedMail> ReadReceivedMail(const fs::path& message, const fs::path& outFolder) {
    vt::EnsureFolder(outFolder, 0700);
    ChildProcess python(VT_SYSTEM_PYTHON,
                        {VT_SMTP_TEST_SERVER, "extract", message.string(), outFolder.string()});
    const auto status = python.WaitExit(std::chrono::seconds(15));
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
        return std::nullopt;
    ReceivedMail mail;
    const std::string& out = python.Output();
    std::size_t at = 0;
    while (at < out.size()) {
        const auto end = std::min(out.find('\n', at), out.size());
        const std::string line = out.substr(at, end - at);
        at = end + 1;
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const std::string value = Unescape(line.substr(eq + 1));
        if (key == "subject")
            mail.subject = value;
        else if (key == "from")
            mail.from = value;
        else if (key == "to")
            mail.to = value;
        else if (key == "message-id")
            mail.messageId = value;
        else if (key == "body")
            mail.body = value;
        else if (key == "attachment") {
            mail.attachmentName = value;
            mail.attachment = outFolder / value;
        } else if (key == "attachment-type")
            mail.attachmentType = value;
        else if (key == "attachment-bytes")
            mail.attachmentBytes = std::stoull(value);
    }
    return mail;
}

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

bool MakeSelfSignedCertificate(const fs::path& cert, const fs::path& key,
                               const std::string& ipAddress) {
    std::vector<std::string> args = {"req",        "-x509", "-newkey",    "rsa:2048",
                                     "-nodes",     "-days", "1",          "-keyout",
                                     key.string(), "-out",  cert.string()};
    if (ipAddress.empty()) {
        args.insert(args.end(), {"-subj", "/CN=localhost"});
    } else {
        args.insert(args.end(),
                    {"-subj", "/CN=" + ipAddress, "-addext", "subjectAltName=IP:" + ipAddress});
    }
    ChildProcess openssl("/usr/bin/openssl", args);
    const auto status = openssl.WaitExit(std::chrono::seconds(30));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0 && fs::exists(cert);
}

}  // namespace vt::test
