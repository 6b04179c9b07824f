#pragma once
// `linesim serve`: one model played as a plugged-in adapter. Serves the
// device socket vt::DeviceSocketPath(id) (usbline's socket back end
// connects there, one connection per handle) and the control socket
// vt::ControlSocketPath(id) (the text protocol of CommandInterpreter), both
// mode 0600 in a 0700 folder. Several processes may open the adapter at
// once; the state lives as long as the daemon. An exclusive lock per
// adapter id keeps a second daemon from taking over the sockets.
//
// It survives abuse: connections are capped (at the cap the oldest idle
// one is closed to serve the new client), idle control connections and
// device connections that never open a handle are closed after a time-out,
// a failing accept backs off instead of spinning, and sockets (or the lock)
// removed under the running daemon are made again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "linesim/CommandInterpreter.h"
#include "linesim/Model.h"
#include "platform/SingleInstanceLock.h"

namespace linesim {

class DeviceSession;
class ListeningSocket;

class Daemon {
public:
    struct Limits {
        // Connections served at once (both sockets together); lowered to
        // fit the process's descriptor limit.
        std::size_t maxConnections = 256;
        // A control connection without a command, or a device connection
        // without its open, for this long is closed.
        std::chrono::milliseconds idleTimeout{30000};
    };

    explicit Daemon(int id) : Daemon(id, Limits{}) {}
    Daemon(int id, Limits limits);
    ~Daemon();
    Daemon(const Daemon&) = delete;
    Daemon& operator=(const Daemon&) = delete;

    // Takes the adapter's lock and creates both sockets. False, with the
    // reason, when another daemon serves this id or a socket cannot be made.
    bool Start(std::string* error);
    // Serves until RequestStop (or until the adapter's lock or sockets are
    // taken over by another daemon; `*reason` then says so); then ends every
    // connection and removes the sockets.
    void Run(std::string* reason = nullptr);
    // Async-signal-safe: may be called from a signal handler.
    void RequestStop();
    // A descriptor that, once readable, stops Run as RequestStop does: the
    // program's signalfd of its stop signals, read in the serving loop.
    void StopWhenReadable(int fd) { stopFd_ = fd; }

    Model& GetModel() { return model_; }

private:
    struct Connection {
        int fd = -1;
        bool device = false;
        std::atomic<bool> done{false};
        std::atomic<bool> busy{false};     // a command or call is being served
        std::atomic<bool> opened{false};   // a device handle past its open
        std::atomic<bool> evicted{false};  // closed to make room
        std::atomic<std::uint64_t> lastActiveMs{0};
        std::thread thread;
    };

    std::string SetPlugged(bool plugged);
    // Takes one connection from a listener's queue; false when none was
    // waiting (or none could be taken).
    bool Accept(int listenFd, bool device);
    bool EvictOldestIdleLocked();
    std::size_t LiveConnectionsLocked() const;
    void ServeControl(Connection& c);
    void ServeDevice(Connection& c);
    void ShutDownConnections(bool deviceOnly);
    void Reap(bool all);
    void Wake();
    // Makes removed sockets (or the lock file) again; false, with the
    // reason, when the daemon must end.
    bool KeepSocketsAndLock(std::string* reason);

    const int id_;
    const Limits limits_;
    Model model_;
    CommandInterpreter interpreter_;
    vt::SingleInstanceLock lock_;
    int wake_[2] = {-1, -1};
    int stopFd_ = -1;
    std::atomic<bool> stopping_{false};
    std::uint64_t acceptPausedUntilMs_ = 0;  // serving loop only

    std::mutex mutex_;  // guards everything below
    std::unique_ptr<ListeningSocket> control_, device_;
    bool deviceListening_ = false;
    std::vector<int> retired_;  // listening sockets to close in the serving loop
    std::list<Connection> connections_;
    std::map<std::uint64_t, std::weak_ptr<DeviceSession>> sessions_;
    std::uint64_t nextOpenId_ = 1;
};

}  // namespace linesim
