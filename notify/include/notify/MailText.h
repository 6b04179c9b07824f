#pragma once
// The words of a message mail: subject, body and header encoding. The SMTP
// and MIME structure around them is libcurl's (SmtpSender).

#include <chrono>
#include <filesystem>
#include <string>

#include "notify/MailSettings.h"
#include "notify/MessageMail.h"

namespace notify {

// What one mail carries, ready for SmtpSender.
struct OutgoingMail {
    std::string subject;               // UTF-8; encoded for the header by the sender
    std::string body;                  // UTF-8 plain text
    std::filesystem::path attachment;  // empty: none
    std::string attachmentName;        // file name shown to the reader
    std::string attachmentType;        // "audio/mpeg" or "audio/wav"
    std::string messageId;             // unique part of the Message-ID header
};

// A header value as RFC 2047 encoded words ("=?UTF-8?B?...?="), each at most
// 75 characters and cut only between whole UTF-8 characters, separated by
// spaces. Printable ASCII text is returned as it is.
std::string EncodeHeaderText(const std::string& utf8);

// "1분 5초"; "12초" under a minute.
std::string LengthText(int seconds);

std::string MessageSubject(const MessageMail& message);
std::string MessageBody(const MessageMail& message, AttachKind attach);

// The mail of a message whose attachment (if any) is `attachment`.
OutgoingMail MessageToMail(const MessageMail& message, AttachKind attach,
                           const std::filesystem::path& attachment, const std::string& id);

// The mail `vtdb mail-test` sends.
OutgoingMail TestMail(std::chrono::system_clock::time_point now);

// An RFC 5322 date ("Wed, 09 Dec 2026 19:35:00 +0900"), independent of the
// program's locale.
std::string MailDate(std::chrono::system_clock::time_point at);

}  // namespace notify
