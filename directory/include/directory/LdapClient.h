#pragma once
// One connection to the directory, asked on one thread: the name of the
// entry that holds a number, in any writing, in one of the number
// attributes. Every wait (connect, StartTLS, bind, search) ends by the
// deadline given; OpenLDAP's asynchronous calls with time-outs, never its
// blocking ones. A connection that failed or timed out is dropped and made
// again at the next look-up.

#include <chrono>
#include <string>

#include "directory/LdapSettings.h"

typedef struct ldap LDAP;

namespace directory {

struct LdapAnswer {
    enum class Outcome { Found, NotFound, Failed };
    Outcome outcome = Outcome::NotFound;
    std::string name;   // Found: the first name attribute the entry has
    std::string error;  // Failed: one line
};

class LdapClient {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // `password` is used with a BindDn only.
    LdapClient(LdapSettings settings, std::string password);
    ~LdapClient();
    LdapClient(const LdapClient&) = delete;
    LdapClient& operator=(const LdapClient&) = delete;

    LdapAnswer Find(const std::string& number, Deadline deadline);

private:
    bool Connect(Deadline deadline, std::string& error);
    // Waits for the one answer to `msgid`; its result code, or false with
    // the reason.
    bool WaitResult(int msgid, Deadline deadline, int& code, std::string& error);
    void Drop();
    std::string LastError() const;

    LdapSettings settings_;
    std::string password_;
    LDAP* ld_ = nullptr;
};

}  // namespace directory
