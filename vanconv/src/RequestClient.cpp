#include "vanconv/RequestClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/Folders.h"

namespace vanconv {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Waits for the socket to be ready; false at the deadline.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(left));
        if (rc > 0)
            return true;
        if (rc < 0 && errno != EINTR)
            return false;
    }
}

}  // namespace

std::filesystem::path RequestSocketPath() {
    return vt::RuntimeFolder() / "Korvane_TYC_Plus.sock";
}

RequestResult SendRequest(const std::filesystem::path& socketPath, std::uint32_t kind,
                          std::string_view payload, std::string& answer, int timeoutMs) {
    answer.clear();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    if (path.size() >= sizeof addr.sun_path)
        return RequestResult::Failed;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (fd.get() < 0)
        return RequestResult::Failed;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        if (errno == ENOENT || errno == ECONNREFUSED)
            return RequestResult::NotRunning;
        if (errno != EINPROGRESS && errno != EAGAIN)
            return RequestResult::Failed;
        int err = 0;
        socklen_t len = sizeof err;
        if (!WaitFor(fd.get(), POLLOUT, deadline) ||
            ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0)
            return RequestResult::Failed;
    }
    std::string request = "VTRQ";
    PutU32(request, kind);
    PutU32(request, static_cast<std::uint32_t>(payload.size()));
    request.append(payload);
    size_t sent = 0;
    while (sent < request.size()) {
        if (!WaitFor(fd.get(), POLLOUT, deadline))
            return RequestResult::Failed;
        const ssize_t n =
            ::send(fd.get(), request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return RequestResult::Failed;
        if (n > 0)
            sent += static_cast<size_t>(n);
    }
    std::string line;
    while (line.find('\n') == std::string::npos && line.size() < 1024) {
        if (!WaitFor(fd.get(), POLLIN, deadline))
            return RequestResult::Failed;
        char buf[256];
        const ssize_t n = ::recv(fd.get(), buf, sizeof buf, 0);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR)
                continue;
            return RequestResult::Failed;
        }
        line.append(buf, static_cast<size_t>(n));
    }
    const size_t end = line.find('\n');
    if (end == std::string::npos)
        return RequestResult::Failed;
    answer = line.substr(0, end);
    if (answer == "OK")
        return RequestResult::Ok;
    return answer.rfind("ERR", 0) == 0 ? RequestResult::Refused : RequestResult::Failed;
}

}  // namespace vanconv
