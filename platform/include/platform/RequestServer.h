#pragma once
// Serves the request socket for the process that holds the single-instance
// lock: a stale socket file is replaced, the new one is private (0600) and
// only a peer of the same user is heard. Each well-formed request goes to
// the handler on the server's own thread; the handler answers with an
// empty text (OK) or a short reason for refusing it.

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/RequestProtocol.h"

namespace vt {

class RequestServer {
public:
    using Handler = std::function<std::string(const Request&)>;

    explicit RequestServer(Handler handler);
    ~RequestServer();
    RequestServer(const RequestServer&) = delete;
    RequestServer& operator=(const RequestServer&) = delete;

    // Binds the socket and starts the thread. False with a reason in `error`
    // when the socket cannot be made.
    bool Start(std::string* error = nullptr);
    // Stops the thread and removes the socket file. Safe to call twice.
    void Stop();
    bool Running() const { return thread_.joinable(); }

    const std::filesystem::path& Path() const { return path_; }

    // Reads one request within `timeoutMs` and checks it; returns the reason
    // for refusing it, or empty with `request` filled. Used on accepted fds.
    static std::string ReadRequest(int fd, int timeoutMs, Request& request);

private:
    void Serve();
    void Answer(int fd);

    Handler handler_;
    std::filesystem::path path_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::thread thread_;
};

}  // namespace vt
