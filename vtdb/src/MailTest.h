#pragma once
// "vtdb mail-test": one test mail sent with the [Mail] settings, saying
// exactly which step failed (settings, password, connection, TLS, login,
// sender, recipient, the message).

#include <atomic>
#include <iosfwd>
#include <string>
#include <vector>

namespace vtdb {

// `args` are those after "mail-test"; `stop` ends a send in progress.
int MailTest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const std::atomic<bool>* stop);

}  // namespace vtdb
