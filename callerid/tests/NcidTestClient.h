#pragma once
// A caller-ID client for tests, written from the protocol's description:
// it connects over TCP, reads lines that end in CR LF, and gets the start-up
// (the 200 and 210 lines, the CIDLOG lines, the end of the log, the 300
// line) before the live lines. Every wait has a deadline.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace callerid::test {

class NcidTestClient {
public:
    // `receiveBuffer` > 0 makes the kernel's buffer small (a slow reader).
    explicit NcidTestClient(unsigned short port, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0)
            return;
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~NcidTestClient() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    NcidTestClient(const NcidTestClient&) = delete;
    NcidTestClient& operator=(const NcidTestClient&) = delete;

    bool Connected() const { return connected_; }

    // The next line without its CR LF; nothing at the deadline or when the
    // server closed the connection. A line that ends in a bare LF counts in
    // BareLineEnds().
    std::optional<std::string> ReadLine(
        std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const auto lf = pending_.find('\n'); lf != std::string::npos) {
                std::string line = pending_.substr(0, lf);
                pending_.erase(0, lf + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                else
                    ++bareLineEnds_;
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !Fill(static_cast<int>(left.count())))
                return std::nullopt;
        }
    }

    // Lines up to and including the first that begins with `prefix`.
    std::optional<std::vector<std::string>> ReadUntil(
        const std::string& prefix, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::vector<std::string> lines;
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            auto line = ReadLine(left.count() > 0 ? left : std::chrono::milliseconds(0));
            if (!line)
                return std::nullopt;
            lines.push_back(*line);
            if (line->rfind(prefix, 0) == 0)
                return lines;
        }
    }

    // Sends raw bytes (what a client may say, or garbage); false when the
    // server no longer takes them.
    bool Send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 5000) <= 0)
                return false;
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    // True when the server closed the connection within the deadline
    // (whatever it sent before is read and let go).
    bool ClosedByServer(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            pending_.clear();
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            if (!Fill(static_cast<int>(left.count())))
                return closed_;
        }
    }

    int BareLineEnds() const { return bareLineEnds_; }

private:
    // Reads what is there within `timeoutMs`; false at the deadline or end.
    bool Fill(int timeoutMs) {
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) {
            closed_ = true;
            return false;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
    int bareLineEnds_ = 0;
    std::string pending_;
};

}  // namespace callerid::test
