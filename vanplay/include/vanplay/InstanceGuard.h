#pragma once
// The player's single-instance rule: the lock "VRC Player", held for the
// life of the process. A second start is refused with a message box.

#include <string>

#include "platform/SingleInstanceLock.h"

namespace vanplay {

class InstanceGuard {
public:
    enum class Outcome { Acquired, AlreadyRunning, Failed };

    InstanceGuard();

    // Takes the lock. On Failed, Error() holds the system's text for why.
    Outcome Acquire();
    const std::string& Error() const { return error_; }

    // Acquire, and on refusal the warning box ("TYcaller_Warning", error
    // icon; on top for a second instance), shown modally. True to go on.
    bool AcquireOrWarn();

private:
    vt::SingleInstanceLock lock_;
    std::string error_;
};

}  // namespace vanplay
