#pragma once
// This desk's line to the other desks of a shared database: it hears which
// of the phone's tables another desk (or this one) changed, and the rings the
// other desks announce, and it announces this desk's own rings through its
// line watcher. A database file has no other desks: Open gives nothing.
// The handlers are called on the channel's own thread: they hand the news
// to the program's thread and return.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "storage/ChangeListener.h"
#include "vantelo/core/RingAnnouncement.h"
#include "vantelo/core/RingAnnouncer.h"

namespace vantelo {

// The channels: table changes (payload: the table's name), ring announcements.
inline constexpr const char* kTableChannel = "vt_table";
inline constexpr const char* kRingChannel = "vt_ring";

class DeskChannel {
public:
    struct Handlers {
        // CallList, AddressList, InnerLineList or BlockList changed.
        std::function<void(const std::string& table)> tableChanged;
        // Another desk's ring began or ended (this desk's own are left out).
        std::function<void(const RingAnnouncement&)> ring;
        // The server was away: any table may have changed meanwhile.
        std::function<void()> resumed;
    };

    static std::unique_ptr<DeskChannel> Open(const std::filesystem::path& database,
                                             std::string desk, Handlers handlers);
    DeskChannel(const DeskChannel&) = delete;
    DeskChannel& operator=(const DeskChannel&) = delete;

    // For the controller (through LineWatchers beside other watchers).
    LineWatcher& Watcher() { return announcer_; }
    bool Listening() const { return listener_->Listening(); }

private:
    DeskChannel(std::string desk, Handlers handlers);

    std::string desk_;
    Handlers handlers_;
    RingAnnouncer announcer_;
    std::unique_ptr<storage::ChangeListener> listener_;  // last: stops first
};

}  // namespace vantelo
