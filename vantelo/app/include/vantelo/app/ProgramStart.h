#pragma once
// What every face of the phone program (headless or window) does before the
// phone starts, and how it answers the request socket: the single-instance
// lock, the application folder made current, AppPaths.conf for the
// converter and the shipped prompts.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/RequestServer.h"
#include "platform/SingleInstanceLock.h"

namespace vantelo {

class ProgramStart {
public:
    // What stopped or troubled the start: another instance holds the lock,
    // the lock could not be taken at all, or anything else.
    enum class Problem { AlreadyRunning, LockFailed, Other };
    using Report = std::function<void(Problem, const std::string&)>;

    ProgramStart();

    // Takes the lock, makes and enters the application folder, writes
    // AppPaths.conf and installs the prompts. False when the program must
    // not go on; every problem goes to `report` (one message each).
    bool Begin(const Report& report);
    const std::filesystem::path& AppFolder() const { return appFolder_; }

    // The request socket's handler. Dial and hang-up are checked here and
    // handed to `post`, which runs them on the phone's thread through
    // `copyData` (the controller's OnCopyData); close runs `close` there.
    using Post = std::function<void(std::function<void()>)>;
    using CopyData = std::function<void(std::uint32_t kind, const std::string& payload)>;
    static vt::RequestServer::Handler RequestHandler(Post post, CopyData copyData,
                                                     std::function<void()> close);

private:
    vt::SingleInstanceLock lock_;
    std::filesystem::path appFolder_;
};

}  // namespace vantelo
