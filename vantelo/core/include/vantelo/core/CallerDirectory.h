#pragma once
// A directory that may know a caller the contact book and the inner-line
// list do not (an office's LDAP server). Asking never waits: the answer
// comes later, on the phone's thread, as PhoneController::DirectoryAnswered,
// so the ring pop-up and the number display are never held back for it.

#include <string>

namespace vantelo {

class CallerDirectory {
public:
    virtual ~CallerDirectory() = default;
    virtual void Ask(const std::string& number) = 0;
};

}  // namespace vantelo
