#pragma once
// `linesim serve`: one model played as a plugged-in adapter. Serves the
// device socket vt::DeviceSocketPath(id) (usbline's socket back end
// connects there, one connection per handle) and the control socket
// vt::ControlSocketPath(id) (the text protocol of CommandInterpreter), both
// mode 0600 in a 0700 folder. Several processes may open the adapter at
// once; the state lives as long as the daemon. An exclusive lock per
// adapter id keeps a second daemon from taking over the sockets.

#include <atomic>
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

class Daemon {
public:
    explicit Daemon(int id);
    ~Daemon();
    Daemon(const Daemon&) = delete;
    Daemon& operator=(const Daemon&) = delete;

    // Takes the adapter's lock and creates both sockets. False, with the
    // reason, when another daemon serves this id or a socket cannot be made.
    bool Start(std::string* error);
    // Serves until RequestStop; then ends every connection and removes the
    // sockets.
    void Run();
    // Async-signal-safe: may be called from a signal handler.
    void RequestStop();

    Model& GetModel() { return model_; }

private:
    struct Connection {
        int fd = -1;
        bool device = false;
        std::atomic<bool> done{false};
        std::thread thread;
    };

    std::string SetPlugged(bool plugged);
    void Accept(int listenFd, bool device);
    void ServeControl(Connection& c);
    void ServeDevice(Connection& c);
    void ShutDownConnections(bool deviceOnly);
    void Reap(bool all);
    void Wake();

    const int id_;
    const std::string devicePath_, controlPath_;
    Model model_;
    CommandInterpreter interpreter_;
    vt::SingleInstanceLock lock_;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};

    std::mutex mutex_;  // guards everything below
    int controlFd_ = -1, deviceFd_ = -1;
    std::vector<int> retired_;  // listening sockets to close in the serving loop
    std::list<Connection> connections_;
    std::map<std::uint64_t, std::weak_ptr<DeviceSession>> sessions_;
    std::uint64_t nextOpenId_ = 1;
};

}  // namespace linesim
