#pragma once
// The running main program, as the converter needs it: closed before the
// contact table is written and started again afterwards.

#include <functional>

#include "vanconv/VanteloInstall.h"

namespace vanconv {

class MainProgram {
public:
    enum class CloseResult {
        NotRunning,    // no vantelo held its lock
        Closed,        // one ran, was asked to close and has released its lock
        StillRunning,  // one runs and did not end in time
    };

    virtual ~MainProgram() = default;

    // Asks a running vantelo to close and waits until it has released its
    // single-instance lock; `whileWaiting` is called between the checks so
    // a window stays responsive. Unless StillRunning, the converter now holds
    // that lock, so no vantelo starts while the table is written.
    virtual CloseResult Close(const std::function<void()>& whileWaiting) = 0;
    // Lets the lock go.
    virtual void Release() = 0;
    // Lets the lock go and starts the registered executable in the install
    // folder, detached. False (with `error`) when it could not be started.
    virtual bool Start(const VanteloInstall& install, std::string& error) = 0;
};

}  // namespace vanconv
