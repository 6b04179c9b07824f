#include "testsupport/SecondUser.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace vt::test {

SecondUser::SecondUser() : name_("vtother" + std::to_string(::getpid())) {
    if (::geteuid() != 0) {
        skipReason_ = "needs root to make a second user";
        return;
    }
    const std::string add =
        "useradd --system --no-create-home --shell /usr/sbin/nologin " + name_ + " 2>/dev/null";
    if (std::system(add.c_str()) != 0) {
        skipReason_ = "useradd could not make a second user";
        return;
    }
    const passwd* entry = ::getpwnam(name_.c_str());
    if (!entry) {
        skipReason_ = "the second user made by useradd is not found";
        return;
    }
    uid_ = entry->pw_uid;
    gid_ = entry->pw_gid;
    available_ = true;
}

SecondUser::~SecondUser() {
    if (available_ || ::getpwnam(name_.c_str())) {
        [[maybe_unused]] const int rc = std::system(("userdel " + name_ + " 2>/dev/null").c_str());
    }
}

int SecondUser::RunAs(const std::function<int()>& body) const {
    if (!available_)
        return -1;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid_) != 0 || ::setuid(uid_) != 0)
            ::_exit(125);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

}  // namespace vt::test
