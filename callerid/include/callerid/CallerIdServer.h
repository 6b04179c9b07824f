#pragma once
// The network caller-ID server: a TCP listener with a poll loop on a thread
// of its own. Lines handed over from any thread (Publish) go to every
// connected client; each client first gets the greeting, the call log kept
// here (Remember) and the end-of-start-up lines.
//
// Nothing a client does can hold the phone: every socket is non-blocking,
// a client's unsent lines are bounded (a client that does not read is let
// go), input lines are bounded (longer ones are thrown away unread), the
// number of clients is bounded (more are refused), and the client commands
// of the protocol are ignored.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "callerid/ServerAddress.h"

namespace callerid {

struct ServerLimits {
    std::size_t maxClients = 32;
    std::size_t maxQueuedBytes = 64 * 1024;  // per client, unsent
    std::size_t maxInputLine = 1024;         // longer client lines are dropped
    std::size_t logLines = 200;              // calls kept for the log at connect
    int sendBufferBytes = 32 * 1024;         // the kernel's share of a client's backlog
};

// A text for the user (CallerIdTexts.h) with its "%1" ... values.
struct Notice {
    const char* text = "";
    std::vector<std::string> args;
};

class CallerIdServer {
public:
    // `report` runs on the server's thread.
    using Report = std::function<void(const Notice&)>;

    explicit CallerIdServer(Report report, ServerLimits limits = {});
    ~CallerIdServer();
    CallerIdServer(const CallerIdServer&) = delete;
    CallerIdServer& operator=(const CallerIdServer&) = delete;

    // Listens on `address` and starts the thread. False with the system's
    // reason in `error` when the socket cannot be made.
    bool Start(const ServerAddress& address, std::string* error = nullptr);
    // Closes every connection and ends the thread. Safe to call twice.
    void Stop();
    bool Running() const { return thread_.joinable(); }
    // The port listened on (the one the system chose for port 0).
    unsigned short Port() const { return port_; }

    // Any thread, never waits on a client: `line` (no line end) goes to
    // every client connected now.
    void Publish(const std::string& line);
    // Any thread: `line` joins the call log sent at connect (the oldest
    // leaves beyond the limit).
    void Remember(const std::string& line);

    // Clients connected now (after the server's thread took them in).
    std::size_t ClientCount() const { return clientCount_; }

private:
    struct Client;

    void Serve();
    void TakePending();
    void Accept();
    void Queue(Client& client, const std::string& line);
    void ReadFrom(Client& client);
    void WriteTo(Client& client);
    void Drop(int fd);

    Report report_;
    ServerLimits limits_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    unsigned short port_ = 0;
    std::thread thread_;
    std::atomic<std::size_t> clientCount_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> serving_{false};  // Publish may wake the thread

    std::mutex mutex_;  // guards pending_ and log_
    std::deque<std::string> pending_;
    std::deque<std::string> log_;

    // The server thread's own.
    std::map<int, std::unique_ptr<Client>> clients_;
    bool refusing_ = false;  // told once per run of refusals
    bool acceptPaused_ = false;
    std::chrono::steady_clock::time_point acceptResume_;
};

}  // namespace callerid
