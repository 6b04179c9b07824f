#pragma once
// The other desks of a shared database, as both the window and the headless
// program hear them: the tables they changed, handed over in batches (a burst
// of changes is one look at each table), and the rings on their lines. This
// desk's own rings are announced through Watcher(). With a database file
// there are no other desks and nothing starts.

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "vantelo/core/DeskChannel.h"

namespace vantelo {

class OtherDesks {
public:
    using Post = std::function<void(std::function<void()>)>;
    struct Shown {
        // Run on the program's thread (through `post`).
        std::function<void(const std::set<std::string>& tables)> tablesChanged;
        std::function<void(const RingAnnouncement&)> ring;
    };

    OtherDesks(Post post, Shown shown);
    ~OtherDesks();
    OtherDesks(const OtherDesks&) = delete;
    OtherDesks& operator=(const OtherDesks&) = delete;

    // Listens when `database` is a server; false (nothing runs) for a file.
    bool Start(const std::filesystem::path& database, const std::string& desk);
    // For the controller beside its other watchers; null when not started.
    LineWatcher* Watcher() { return channel_ ? &channel_->Watcher() : nullptr; }
    // True while the other desks' news is heard.
    bool Listening() const { return channel_ && channel_->Listening(); }

    // The user's line for a ring: "<desk>: <name> <number>" while it rings,
    // then that the call was answered there or the caller gave up.
    static std::string NoticeLine(const RingAnnouncement& ring);

private:
    void Changed(const std::string& table);

    Post post_;
    Shown shown_;
    std::mutex mutex_;
    std::set<std::string> pending_;  // changed tables not yet handed over
    std::shared_ptr<bool> alive_;    // tasks posted after this object went do nothing
    std::unique_ptr<DeskChannel> channel_;
};

}  // namespace vantelo
