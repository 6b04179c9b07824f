#include "platform/RequestServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Folders.h"
#include "platform/Tick.h"
#include "platform/Translate.h"

namespace vt {

std::filesystem::path RequestSocketPath() {
    return RuntimeFolder() / "Korvane_TYC_Plus.sock";
}

namespace {

constexpr int kReadTimeoutMs = 1000;

std::uint32_t LittleEndian32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Reads exactly `size` bytes before the deadline; false on time-out or EOF.
bool ReadFully(int fd, unsigned char* data, std::size_t size, std::uint64_t deadline) {
    std::size_t done = 0;
    while (done < size) {
        const std::uint64_t now = TickCount64();
        if (now >= deadline)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(deadline - now));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::recv(fd, data + done, size - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

bool SameUser(int fd) {
    ucred cred{};
    socklen_t length = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0)
        return false;
    return cred.uid == ::getuid();
}

}  // namespace

RequestServer::RequestServer(Handler handler) : handler_(std::move(handler)) {}

RequestServer::~RequestServer() {
    Stop();
}

bool RequestServer::Start(std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        if (listenFd_ >= 0)
            ::close(listenFd_);
        if (wakeFd_ >= 0)
            ::close(wakeFd_);
        listenFd_ = wakeFd_ = -1;
        return false;
    };
    if (Running())
        return true;
    path_ = RequestSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.string().size() >= sizeof address.sun_path)
        return fail(vt::Translate("platform",
                                  QT_TRANSLATE_NOOP("platform", "소켓 경로가 너무 깁니다: %1"),
                                  {path_.string()}));
    std::strcpy(address.sun_path, path_.c_str());

    // Only the lock holder calls Start, so a socket left here is stale. Any
    // other kind of file is not ours to remove.
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode))
            return fail(vt::Translate("platform",
                                      QT_TRANSLATE_NOOP("platform", "소켓이 아닙니다: %1"),
                                      {path_.string()}));
        ::unlink(path_.c_str());
    }
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        return fail(std::strerror(errno));
    // The mode of the socket inode is taken at bind: private from the start.
    ::fchmod(listenFd_, 0600);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return fail(path_.string() + ": " + std::strerror(errno));
    ::chmod(path_.c_str(), 0600);
    if (::listen(listenFd_, 8) != 0)
        return fail(std::strerror(errno));
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
    if (wakeFd_ < 0)
        return fail(std::strerror(errno));
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void RequestServer::Stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(path_.c_str());
    }
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    listenFd_ = wakeFd_ = -1;
}

void RequestServer::Serve() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (fds[1].revents & POLLIN))
            return;
        if (!(fds[0].revents & POLLIN))
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        Answer(fd);
        ::close(fd);
    }
}

void RequestServer::Answer(int fd) {
    if (!SameUser(fd)) {
        WriteAll(fd, "ERR wrong user\n");
        return;
    }
    Request request;
    std::string reason = ReadRequest(fd, kReadTimeoutMs, request);
    if (reason.empty() && handler_)
        reason = handler_(request);
    WriteAll(fd, reason.empty() ? std::string("OK\n") : "ERR " + reason + "\n");
}

std::string RequestServer::ReadRequest(int fd, int timeoutMs, Request& request) {
    const std::uint64_t deadline = TickCount64() + static_cast<std::uint64_t>(timeoutMs);
    unsigned char header[kRequestHeaderBytes];
    if (!ReadFully(fd, header, sizeof header, deadline))
        return "short request";
    if (std::memcmp(header, kRequestMagic, 4) != 0)
        return "bad magic";
    request.kind = LittleEndian32(header + 4);
    const std::uint32_t length = LittleEndian32(header + 8);
    if (length > kMaxRequestPayload)
        return "request too long";
    request.payload.assign(length, '\0');
    if (length > 0 &&
        !ReadFully(fd, reinterpret_cast<unsigned char*>(request.payload.data()), length, deadline))
        return "short request";
    return {};
}

}  // namespace vt
