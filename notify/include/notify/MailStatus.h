#pragma once
// What the mail delivery tells its owner: a mail sent, or one line per
// failure (repeated failures of the same kind are told once).

#include <string>

#include "notify/SmtpSender.h"

namespace notify {

struct MailStatus {
    MailFailure failure = MailFailure::None;  // None: a mail was sent
    std::string line;
    std::string itemId;  // the outbox item concerned, if any
};

}  // namespace notify
