#pragma once
// For tests of what another local user can do: a throw-away system user,
// made with useradd for the life of the object (the tests run as root) and
// removed again. Where no user can be made, Available() is false and
// SkipReason() says why, so the test skips with that message.

#include <sys/types.h>

#include <functional>
#include <string>

namespace vt::test {

class SecondUser {
public:
    SecondUser();
    ~SecondUser();
    SecondUser(const SecondUser&) = delete;
    SecondUser& operator=(const SecondUser&) = delete;

    bool Available() const { return available_; }
    const std::string& SkipReason() const { return skipReason_; }
    uid_t Uid() const { return uid_; }
    gid_t Gid() const { return gid_; }

    // Runs `body` in a child process as this user (same environment); its
    // result is the child's exit code, -1 if the child could not run.
    int RunAs(const std::function<int()>& body) const;

private:
    std::string name_;
    bool available_ = false;
    std::string skipReason_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

}  // namespace vt::test
