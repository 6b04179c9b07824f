#pragma once
// Caller look-ups in the directory on a thread of their own, one after the
// other, each within its time budget (300 ms from the moment it is asked):
// asking never waits. The password (with a BindDn) is found on that thread
// too when it starts, from the Secret Service or the PasswordFile.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "directory/LdapClient.h"
#include "directory/LdapSettings.h"

namespace directory {

inline constexpr std::chrono::milliseconds kLookupBudget{300};

class LdapLookup {
public:
    // Runs on the look-up thread, once for every number asked.
    using Answered = std::function<void(const std::string& number, const LdapAnswer& answer)>;

    LdapLookup(LdapSettings settings, Answered answered,
               std::chrono::milliseconds budget = kLookupBudget);
    // Look-ups not started are dropped; the one running ends by its deadline.
    ~LdapLookup();
    LdapLookup(const LdapLookup&) = delete;
    LdapLookup& operator=(const LdapLookup&) = delete;

    void Ask(const std::string& number);

private:
    struct Asked {
        std::string number;
        LdapClient::Deadline deadline;
    };
    void Run();

    LdapSettings settings_;
    Answered answered_;
    std::chrono::milliseconds budget_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Asked> waiting_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace directory
