#include "SmtpConversation.h"

#include <algorithm>
#include <cctype>

namespace notify {

namespace {

std::string FirstLine(const char* data, size_t size) {
    std::string line(data, size);
    line = line.substr(0, line.find_first_of("\r\n"));
    for (char& c : line)
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    return line;
}

}  // namespace

int SmtpConversation::Debug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    auto* conversation = static_cast<SmtpConversation*>(self);
    if (type == CURLINFO_HEADER_OUT)
        conversation->Sent(FirstLine(data, size));
    else if (type == CURLINFO_HEADER_IN)
        conversation->Received(FirstLine(data, size));
    return 0;
}

void SmtpConversation::Sent(std::string line) {
    std::string verb = line.substr(0, line.find(' '));
    std::transform(verb.begin(), verb.end(), verb.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    // Lines of an AUTH exchange carry credentials: only known verbs are kept.
    static const char* const kVerbs[] = {"EHLO", "HELO", "STARTTLS", "AUTH",
                                         "MAIL", "RCPT", "DATA",     "QUIT"};
    if (std::find_if(std::begin(kVerbs), std::end(kVerbs),
                     [&](const char* v) { return verb == v; }) == std::end(kVerbs))
        return;
    // The reply to QUIT says nothing of the step that failed before it.
    if (verb == "QUIT") {
        quitting_ = true;
        return;
    }
    command_ = verb;
    if (verb == "RCPT") {
        const auto open = line.find('<');
        const auto close = line.find('>', open);
        recipient_ = open == std::string::npos || close == std::string::npos
                         ? line.substr(5)
                         : line.substr(open + 1, close - open - 1);
    }
}

void SmtpConversation::Received(std::string line) {
    if (quitting_ || line.size() < 3 || !std::isdigit(static_cast<unsigned char>(line[0])))
        return;
    const int code = std::stoi(line.substr(0, 3));
    // A multi-line reply ("250-...") is one reply: its last line ends it.
    if (line.size() > 3 && line[3] == '-')
        return;
    if (dataSent_)
        finalReply_ = true;
    if (command_ == "DATA" && code == 354)
        dataSent_ = true;
    reply_ = line;
    replyCode_ = code;
}

}  // namespace notify
