#pragma once
// Sends one mail through libcurl's SMTP and MIME support and tells what
// happened in one line: which step failed (connection, TLS, login, sender,
// recipient, the message itself) with the server's reply where it gave one.
// A mail counts as sent only when the server accepted its data (a 250 reply
// to the end of the message); a server that closes before is a failure.

#include <atomic>
#include <chrono>
#include <string>

#include "notify/MailSettings.h"
#include "notify/MailText.h"

namespace notify {

enum class MailFailure {
    None,        // sent
    Settings,    // the [Mail] section cannot be used
    Password,    // no usable password
    Outbox,      // the outbox cannot be written or read
    Connection,  // no connection, or the server cannot be reached
    Tls,         // TLS could not be set up or the certificate was refused
    Login,       // the server refused the user name or password
    Sender,      // the server refused the From address
    Recipient,   // the server refused a To address
    Rejected,    // the server refused the message after receiving it
    Closed,      // the connection ended before the server accepted the message
    Timeout,     // the server stopped answering
    Stopped,     // the program stopped the send
    Other,
};

// A short English name of the kind ("connection", "TLS", "login", ...).
const char* MailFailureName(MailFailure failure);

struct SendOutcome {
    MailFailure failure = MailFailure::None;
    std::string line;  // one line for the status bar or the terminal
    bool Sent() const { return failure == MailFailure::None; }
};

struct SendLimits {
    std::chrono::milliseconds connect{15000};  // to connect (and TLS)
    std::chrono::milliseconds total{300000};   // the whole send
};

class SmtpSender {
public:
    SmtpSender(MailSettings settings, std::string password, SendLimits limits = {});

    // Blocks for at most the limits; `stop` (may be null) ends it within
    // about a second.
    SendOutcome Send(const OutgoingMail& mail, const std::atomic<bool>* stop = nullptr) const;

private:
    MailSettings settings_;
    std::string password_;
    SendLimits limits_;
};

}  // namespace notify
