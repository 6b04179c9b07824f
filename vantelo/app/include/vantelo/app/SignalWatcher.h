#pragma once
// SIGINT and SIGTERM for a program that ends by its own exit sequence: they
// are blocked in every thread (BlockSignals, before any thread starts) and
// taken by the watcher's thread, which calls the handler for each one. The
// handler runs on that thread; it hands the work to the program's own.

#include <atomic>
#include <functional>
#include <thread>

namespace vantelo {

class SignalWatcher {
public:
    // Blocks SIGINT and SIGTERM in the calling thread (and so in every thread
    // started from it later) and ignores SIGPIPE. Call first in main.
    static void BlockSignals();

    explicit SignalWatcher(std::function<void()> onSignal);
    ~SignalWatcher();
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace vantelo
