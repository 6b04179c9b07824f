#pragma once
// The main program found through its single-instance lock
// "Korvane_TYC_Plus" and closed through its request socket.

#include <memory>

#include "platform/SingleInstanceLock.h"
#include "vanconv/MainProgram.h"

namespace vanconv {

class RunningVantelo : public MainProgram {
public:
    // How long Close waits for the program to release its lock.
    static constexpr int kDefaultWaitMs = 5000;

    explicit RunningVantelo(int waitMs = kDefaultWaitMs);

    CloseResult Close(const std::function<void()>& whileWaiting) override;
    void Release() override;
    bool Start(const VanteloInstall& install, std::string& error) override;

private:
    int waitMs_;
    vt::SingleInstanceLock lock_;
};

// Starts `program` in `folder`, detached in its own session (never a child
// left to reap). False with `error` when it cannot be executed.
bool StartDetached(const std::filesystem::path& program, const std::filesystem::path& folder,
                   std::string& error);

}  // namespace vanconv
