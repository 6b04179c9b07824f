#pragma once
// A real mail server for tests (aiosmtpd under Debian's python3), listening
// on 127.0.0.1 and saving each accepted message in a private folder; stopped
// by the destructor. Options make it refuse a recipient, close before
// answering a message's end, offer STARTTLS or ask for a login.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vt::test {

class ChildProcess;

struct SmtpServerOptions {
    int port = 0;                     // 0: any free port
    std::vector<std::string> reject;  // recipients refused with 550
    bool closeOnData = false;
    std::filesystem::path tlsCert, tlsKey;  // STARTTLS offered when set
    std::string user, password;             // login required when set
};

class SmtpTestServer {
public:
    // Starts the server with its messages in `folder` (created 0700).
    // Throws std::runtime_error when it does not come up within 15 s.
    explicit SmtpTestServer(const std::filesystem::path& folder, SmtpServerOptions options = {});
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    int Port() const { return port_; }
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }
    // The saved messages, in the order they were accepted.
    std::vector<std::filesystem::path> Messages() const;

private:
    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
};

// What a saved message holds, read with Python's email package.
struct ReceivedMail {
    std::string subject;  // decoded from its encoded words
    std::string from, to, messageId;
    std::string body;  // the text part, decoded
    std::string attachmentName, attachmentType;
    std::filesystem::path attachment;  // decoded into the given folder; empty when none
    std::uintmax_t attachmentBytes = 0;
};
std::optional<ReceivedMail> ReadReceivedMail(const std::filesystem::path& message,
                                             const std::filesystem::path& outFolder);

// A loopback port nobody listens on right now.
int FreeLoopbackPort();

// A self-signed certificate for "localhost" (or for the address
// `ipAddress`, e.g. "127.0.0.1") made with openssl; false if the tool failed.
bool MakeSelfSignedCertificate(const std::filesystem::path& cert, const std::filesystem::path& key,
                               const std::string& ipAddress = "");

}  // namespace vt::test
