#pragma once
// A desk's own copy of the office's shared contact book, inner-line list and
// block list, in a private SQLite file of the application folder, so callers
// are named and screened while the shared server is away. A thread of its
// own looks at the server now and then: it copies a table again only when
// the server's table changed, and it tells whether the server answered, so
// the phone's thread never waits on a server that is gone.

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "storage/Connection.h"

namespace vantelo {

class OfflineCopy {
public:
    static constexpr const char* kFileName = "VanteloCopy.db";

    OfflineCopy(const vt::Clock& clock, std::filesystem::path server, std::filesystem::path file);
    ~OfflineCopy();  // stops the thread and waits for it
    OfflineCopy(const OfflineCopy&) = delete;
    OfflineCopy& operator=(const OfflineCopy&) = delete;

    // Looks every `periodMs` on a thread of its own, the first time at once.
    void Start(unsigned periodMs);
    // One look on the calling thread: true when the server answered (and the
    // copy is current). Not while the thread runs.
    bool LookNow();
    // The answer of the last look (true before the first).
    bool ServerAnswered() const { return answered_; }
    // Asks the thread for a look now instead of at the end of its period.
    void Wake();

    const std::filesystem::path& File() const { return file_; }

private:
    void Run(unsigned periodMs);

    const vt::Clock& clock_;
    std::filesystem::path server_;
    std::filesystem::path file_;
    std::unique_ptr<storage::Connection> connection_;  // to the server, between looks
    std::map<std::string, std::string> copied_;  // table -> the server's version copied
    std::atomic<bool> answered_{true};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool woken_ = false;
    std::thread thread_;
};

}  // namespace vantelo
