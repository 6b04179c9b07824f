#pragma once
// The optional network caller-ID server of the phone, as both the window and
// the headless program run it: reads CallerIdServer and DeskName, listens,
// seeds the log clients get at connect with the newest incoming calls of the
// call log, and hands the controller a watcher of its line. The server's own
// lines (a client let go, connections refused) go to the user log.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "callerid/CallerIdFeed.h"
#include "callerid/CallerIdServer.h"
#include "vantelo/core/LineWatcher.h"

namespace vantelo {

class CallerIdService {
public:
    // Calls of the call log a client gets at connect.
    static constexpr std::size_t kLoggedCalls = 100;

    CallerIdService(std::filesystem::path appFolder, std::filesystem::path database);
    ~CallerIdService();
    CallerIdService(const CallerIdService&) = delete;
    CallerIdService& operator=(const CallerIdService&) = delete;

    // Nothing happens when the setting is empty (false). A value that is no
    // address, or one that cannot be listened on, is one line through `say`
    // (in the user's language) and the phone runs on without the server.
    bool Start(const std::function<void(const std::string&)>& say);
    // The watcher for the controller; nullptr when the server does not run.
    LineWatcher* Watcher() { return feed_.get(); }
    // The port listened on; 0 when the server does not run.
    unsigned short Port() const { return server_ ? server_->Port() : 0; }

    // The newest `count` incoming calls with a number, oldest first, as the
    // protocol tells them: on the line of the desk that logged each call
    // (`desk` for calls logged before desks were named).
    static std::vector<callerid::CallInfo> RecentCalls(const std::filesystem::path& database,
                                                       const std::string& desk, std::size_t count);

private:
    std::filesystem::path appFolder_;
    std::filesystem::path database_;
    std::unique_ptr<callerid::CallerIdServer> server_;
    std::unique_ptr<callerid::CallerIdFeed> feed_;
};

}  // namespace vantelo
