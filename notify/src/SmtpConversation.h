#pragma once
// What libcurl's debug stream shows of an SMTP conversation, kept to tell
// which step failed: the last command sent (never its arguments for AUTH),
// the server's last reply, the recipient being asked for, and whether the
// message data went out and got its final reply.

#include <curl/curl.h>

#include <string>

namespace notify {

class SmtpConversation {
public:
    // For CURLOPT_DEBUGFUNCTION with this object as CURLOPT_DEBUGDATA.
    static int Debug(CURL* handle, curl_infotype type, char* data, size_t size, void* self);

    const std::string& LastCommand() const { return command_; }  // "MAIL", "RCPT", ...
    const std::string& LastReply() const { return reply_; }      // "550 5.1.1 no such user"
    int LastReplyCode() const { return replyCode_; }
    const std::string& Recipient() const { return recipient_; }
    bool DataSent() const { return dataSent_; }      // the server said "354", data followed
    bool FinalReply() const { return finalReply_; }  // a reply came after the data
    bool AnyReply() const { return replyCode_ != 0; }
    // Still setting up: greeting, EHLO, STARTTLS, login.
    bool Connecting() const {
        return command_.empty() || command_ == "EHLO" || command_ == "HELO" ||
               command_ == "STARTTLS" || command_ == "AUTH";
    }

private:
    void Sent(std::string line);
    void Received(std::string line);

    std::string command_;
    std::string reply_;
    int replyCode_ = 0;
    std::string recipient_;
    bool dataSent_ = false;
    bool finalReply_ = false;
    bool quitting_ = false;
};

}  // namespace notify
