#pragma once
// The address-book sync of a running phone: one thread of its own runs a
// sync every few minutes (the settings' SyncMinutes) and whenever SyncNow
// is called, so no network wait ever holds the window's thread. Each run's
// one-line status goes to the sink (called on the sync thread: the program
// hands it to its own thread). A server that is away only gives that line;
// the next run tries again.

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "directory/CardDavSettings.h"
#include "directory/CardDavSync.h"

namespace directory {

class CardDavService {
public:
    using Sink = std::function<void(const CardDavReport& report, const std::string& statusLine)>;

    CardDavService(std::filesystem::path database, Sink sink);
    ~CardDavService();  // stops and joins the thread
    CardDavService(const CardDavService&) = delete;
    CardDavService& operator=(const CardDavService&) = delete;

    // Starts, or hands new settings to the running thread, and syncs at
    // once; settings that are not Enabled() pause the syncs. Never waits for
    // a sync in progress (the window's thread calls it).
    void Start(const CardDavSettings& settings);
    void SyncNow();
    // Ends a sync in progress and joins the thread (the program's end).
    void Stop();

private:
    void Loop();

    std::filesystem::path database_;
    Sink sink_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    CardDavSettings settings_;
    bool stop_ = false;
    bool now_ = false;
    std::atomic<bool> abort_{false};
    std::thread thread_;
};

}  // namespace directory
