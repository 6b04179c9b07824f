#include "callerid/CallerIdServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "callerid/CallerIdTexts.h"
#include "callerid/NcidLines.h"

namespace callerid {

namespace {

constexpr const char* kLineEnd = "\r\n";
// Lines handed over but not yet taken by the server's thread; only a thread
// that is not scheduled at all lets them pile up.
constexpr std::size_t kMaxPending = 10000;
constexpr std::size_t kReadChunk = 16 * 1024;
// Reads of one client per turn of the loop, so a flood does not starve others.
constexpr int kReadsPerTurn = 4;
constexpr int kAcceptsPerTurn = 64;
constexpr std::chrono::milliseconds kAcceptPause{200};

}  // namespace

struct CallerIdServer::Client {
    int fd = -1;
    std::string peer;
    std::string out;  // unsent bytes from `sent` on
    std::size_t sent = 0;
    std::string in;           // an unfinished input line
    bool discarding = false;  // inside a line that was too long
    bool closing = false;

    std::size_t Unsent() const { return out.size() - sent; }
};

CallerIdServer::CallerIdServer(Report report, ServerLimits limits)
    : report_(std::move(report)), limits_(limits) {}

CallerIdServer::~CallerIdServer() {
    Stop();
}

bool CallerIdServer::Start(const ServerAddress& address, std::string* error) {
    auto fail = [&](int code) {
        if (error)
            *error = std::strerror(code);
        if (listenFd_ >= 0)
            ::close(listenFd_);
        listenFd_ = -1;
        return false;
    };
    if (Running())
        return true;
    listenFd_ = ::socket(address.socket.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        return fail(errno);
    const int on = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address.socket), address.length) != 0)
        return fail(errno);
    if (::listen(listenFd_, 64) != 0)
        return fail(errno);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        return fail(errno);
    const std::string text = ServerAddress::Describe(bound);
    port_ = static_cast<unsigned short>(std::stoi(text.substr(text.rfind(':') + 1)));
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        return fail(errno);
    thread_ = std::thread([this] { Serve(); });
    serving_ = true;
    return true;
}

void CallerIdServer::Stop() {
    serving_ = false;
    if (thread_.joinable()) {
        stopping_ = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    for (auto& [fd, client] : clients_) ::close(fd);
    clients_.clear();
    clientCount_ = 0;
    if (listenFd_ >= 0)
        ::close(listenFd_);
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    listenFd_ = wakeFd_ = -1;
    stopping_ = false;
}

void CallerIdServer::Publish(const std::string& line) {
    if (!serving_)
        return;
    {
        std::lock_guard lock(mutex_);
        if (pending_.size() >= kMaxPending)
            pending_.pop_front();
        pending_.push_back(line);
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void CallerIdServer::Remember(const std::string& line) {
    std::lock_guard lock(mutex_);
    log_.push_back(line);
    while (log_.size() > limits_.logLines) log_.pop_front();
}

void CallerIdServer::Serve() {
    std::vector<pollfd> fds;
    for (;;) {
        // While the process is out of descriptors, a waiting connection would
        // wake the loop at once, again and again: it waits a moment instead.
        int timeoutMs = -1;
        bool listening = true;
        if (acceptPaused_) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                acceptResume_ - std::chrono::steady_clock::now());
            listening = left.count() <= 0;
            acceptPaused_ = !listening;
            timeoutMs = listening ? -1 : static_cast<int>(left.count()) + 1;
        }
        fds.clear();
        fds.push_back({wakeFd_, POLLIN, 0});
        fds.push_back({listening ? listenFd_ : -1, POLLIN, 0});
        for (const auto& [fd, client] : clients_)
            fds.push_back({fd, static_cast<short>(POLLIN | (client->Unsent() ? POLLOUT : 0)), 0});
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
            if (stopping_)
                return;
            TakePending();
        }
        for (std::size_t i = 2; i < fds.size(); ++i) {
            auto it = clients_.find(fds[i].fd);
            if (it == clients_.end())
                continue;
            Client& client = *it->second;
            if (fds[i].revents & POLLIN)
                ReadFrom(client);
            if (!client.closing && (fds[i].revents & POLLOUT))
                WriteTo(client);
            if (!client.closing && (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)))
                client.closing = true;
            if (client.closing)
                Drop(fds[i].fd);
        }
        if (fds[1].revents & POLLIN)
            Accept();
    }
}

void CallerIdServer::TakePending() {
    std::deque<std::string> lines;
    {
        std::lock_guard lock(mutex_);
        lines.swap(pending_);
    }
    std::vector<int> slow;
    for (auto& [fd, client] : clients_) {
        for (const auto& line : lines) {
            Queue(*client, line);
            if (client->closing)
                break;
        }
        if (client->closing) {
            slow.push_back(fd);
            continue;
        }
        WriteTo(*client);  // most clients take their line at once
        if (client->closing)
            slow.push_back(fd);
    }
    for (int fd : slow) Drop(fd);
}

void CallerIdServer::Queue(Client& client, const std::string& line) {
    if (client.Unsent() + line.size() + 2 > limits_.maxQueuedBytes)
        WriteTo(client);  // what the kernel takes now is no backlog
    if (client.closing)
        return;
    if (client.Unsent() + line.size() + 2 > limits_.maxQueuedBytes) {
        // The slowest reader is the one whose backlog is full: it goes, so
        // its backlog never grows and the others are not held up.
        report_({text::kSlowClientDropped, {client.peer}});
        client.closing = true;
        return;
    }
    if (client.sent > 0 && client.sent == client.out.size()) {
        client.out.clear();
        client.sent = 0;
    }
    client.out += line;
    client.out += kLineEnd;
}

void CallerIdServer::Accept() {
    for (int i = 0; i < kAcceptsPerTurn; ++i) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                acceptPaused_ = true;
                acceptResume_ = std::chrono::steady_clock::now() + kAcceptPause;
            }
            return;  // EAGAIN: none left
        }
        if (clients_.size() >= limits_.maxClients) {
            if (!refusing_)
                report_({text::kTooManyClients,
                         {ServerAddress::Describe(peer), std::to_string(limits_.maxClients)}});
            refusing_ = true;
            ::close(fd);
            continue;
        }
        refusing_ = false;
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &limits_.sendBufferBytes,
                     sizeof limits_.sendBufferBytes);
        auto client = std::make_unique<Client>();
        client->fd = fd;
        client->peer = ServerAddress::Describe(peer);
        std::deque<std::string> log;
        {
            std::lock_guard lock(mutex_);
            log = log_;
        }
        Queue(*client, lines::Greeting());
        Queue(*client, lines::ApiVersion());
        for (const auto& line : log) Queue(*client, line);
        Queue(*client, lines::EndOfLog(log.empty()));
        Queue(*client, lines::EndOfStartup());
        WriteTo(*client);
        if (client->closing) {
            ::close(fd);
            continue;
        }
        clients_.emplace(fd, std::move(client));
        clientCount_ = clients_.size();
    }
}

void CallerIdServer::ReadFrom(Client& client) {
    char buffer[kReadChunk];
    for (int turn = 0; turn < kReadsPerTurn; ++turn) {
        const ssize_t n = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) {
            client.closing = true;  // the client went, or the socket failed
            return;
        }
        // The protocol's client commands are not served here: whole lines
        // are read and let go; a line longer than the limit is let go as it
        // arrives, so no client can make the buffer grow.
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                client.in.clear();
                client.discarding = false;
            } else if (!client.discarding) {
                if (client.in.size() >= limits_.maxInputLine) {
                    client.in.clear();
                    client.discarding = true;
                } else {
                    client.in.push_back(c);
                }
            }
        }
        if (static_cast<std::size_t>(n) < sizeof buffer)
            return;
    }
}

void CallerIdServer::WriteTo(Client& client) {
    while (client.Unsent() > 0) {
        const ssize_t n = ::send(client.fd, client.out.data() + client.sent, client.Unsent(),
                                 MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n <= 0) {
            client.closing = true;
            return;
        }
        client.sent += static_cast<std::size_t>(n);
    }
    if (client.sent == client.out.size()) {
        client.out.clear();
        client.sent = 0;
    } else if (client.sent > client.out.size() / 2) {
        client.out.erase(0, client.sent);  // keeps the buffer from creeping
        client.sent = 0;
    }
}

void CallerIdServer::Drop(int fd) {
    ::close(fd);
    clients_.erase(fd);
    clientCount_ = clients_.size();
}

}  // namespace callerid
