#pragma once
// Wire format of the simulated adapter's device socket, spoken by the
// socket back end (client) and by `linesim serve` (docs/linesim-protocol.md).
// Every message is a frame: a 32-bit little-endian payload length, then the
// payload. Integers are little-endian.
//
//   client, first frame of a connection:  u8 kOpen, u32 kVersion,
//       u64 open id (0 for the control handle, else the id the control
//       handle's open was given), u16 n, n bytes pipe name ("" = device)
//   daemon:  u8 kOpened, u8 ok, u64 open id
//   client, one per device-control call:  u8 kCall, u32 code,
//       u32 inLength, in bytes, u32 outLength, u32 m, m bytes of the output
//       buffer (vendor writes and bulk-out only)
//   daemon, while a record start runs:  u8 kRecords, u32 count, count x 64
//   daemon, the answer:  u8 kAnswer, u8 ok, u32 bytesReturned, u32 m,
//       m bytes for the output buffer

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace usbline::wire {

inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::uint8_t kOpen = 1, kOpened = 2, kCall = 3, kRecords = 4, kAnswer = 5;
inline constexpr std::uint32_t kMaxFrame = 1u << 20;

class Writer {
public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v) { Int(v, 2); }
    void U32(std::uint32_t v) { Int(v, 4); }
    void U64(std::uint64_t v) { Int(v, 8); }
    void Bytes(const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        if (n)
            bytes_.insert(bytes_.end(), p, p + n);
    }
    // The frame: length prefix and payload.
    std::vector<std::uint8_t> Frame() const {
        Writer f;
        f.U32(static_cast<std::uint32_t>(bytes_.size()));
        f.Bytes(bytes_.data(), bytes_.size());
        return f.bytes_;
    }

private:
    void Int(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> bytes_;
};

// Reads a payload; every read past the end fails the whole reader.
class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    std::uint8_t U8() { return static_cast<std::uint8_t>(Int(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Int(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Int(4)); }
    std::uint64_t U64() { return Int(8); }
    const std::uint8_t* Bytes(std::size_t n) {
        if (!ok_ || bytes_.size() - at_ < n) {
            ok_ = false;
            return nullptr;
        }
        const std::uint8_t* p = bytes_.data() + at_;
        at_ += n;
        return p;
    }

private:
    std::uint64_t Int(int n) {
        const std::uint8_t* p = Bytes(static_cast<std::size_t>(n));
        std::uint64_t v = 0;
        for (int i = 0; p && i < n; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
        return v;
    }
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// When a transfer gives up; Forever() never does.
class Deadline {
public:
    using Clock = std::chrono::steady_clock;
    static Deadline Forever() { return Deadline(Clock::time_point::max()); }
    static Deadline In(std::chrono::milliseconds ms) { return Deadline(Clock::now() + ms); }
    bool Endless() const { return at_ == Clock::time_point::max(); }
    // Milliseconds left for poll(): -1 without end, 0 once passed.
    int PollTimeout() const {
        if (Endless())
            return -1;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(at_ - Clock::now());
        return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 1 << 30));
    }

private:
    explicit Deadline(Clock::time_point at) : at_(at) {}
    Clock::time_point at_;
};

// Waits until `fd` is ready for `events` (POLLIN or POLLOUT); false when the
// deadline passed first.
inline bool WaitReady(int fd, short events, const Deadline& deadline) {
    if (deadline.Endless())
        return true;  // the blocking call itself waits
    for (;;) {
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, deadline.PollTimeout());
        if (rc > 0)
            return true;  // ready, or an error the call itself reports
        if (rc == 0 || errno != EINTR)
            return false;
    }
}

// Calls `step(done)` (one send or recv from byte `done` on) until `length`
// bytes are through; false when the peer closes, a call fails other than by
// an interrupt, or the deadline passes.
template <typename Step>
bool TransferAll(std::size_t length, short events, const Deadline& deadline, int fd, Step step) {
    std::size_t done = 0;
    while (done < length) {
        if (!WaitReady(fd, events, deadline))
            return false;
        const ssize_t n = step(done);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

inline bool SendAll(int fd, const void* data, std::size_t length,
                    const Deadline& deadline = Deadline::Forever()) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    const int flags = MSG_NOSIGNAL | (deadline.Endless() ? 0 : MSG_DONTWAIT);
    return TransferAll(length, POLLOUT, deadline, fd, [&](std::size_t done) {
        return ::send(fd, p + done, length - done, flags);
    });
}

inline bool SendAll(int fd, const std::vector<std::uint8_t>& bytes,
                    const Deadline& deadline = Deadline::Forever()) {
    return SendAll(fd, bytes.data(), bytes.size(), deadline);
}

inline bool RecvAll(int fd, void* data, std::size_t length,
                    const Deadline& deadline = Deadline::Forever()) {
    auto* p = static_cast<std::uint8_t*>(data);
    const int flags = deadline.Endless() ? 0 : MSG_DONTWAIT;
    return TransferAll(length, POLLIN, deadline, fd, [&](std::size_t done) {
        return ::recv(fd, p + done, length - done, flags);
    });
}

// One frame's payload; false on end of stream, error, an oversized frame or
// a deadline that passed.
inline bool RecvFrame(int fd, std::vector<std::uint8_t>* payload,
                      const Deadline& deadline = Deadline::Forever()) {
    std::uint8_t head[4];
    if (!RecvAll(fd, head, 4, deadline))
        return false;
    const std::uint32_t n =
        head[0] | head[1] << 8 | head[2] << 16 | static_cast<std::uint32_t>(head[3]) << 24;
    if (n > kMaxFrame)
        return false;
    payload->resize(n);
    return n == 0 || RecvAll(fd, payload->data(), n, deadline);
}

// Connects a blocking stream socket to the Unix-domain socket `path`.
// -1 on failure with `*error` set to the errno: EAGAIN when the listener's
// queue stayed full until the deadline (a flooded server), ECONNREFUSED
// when nothing listens, EACCES when the socket or its folder is not ours.
inline int ConnectUnix(const std::string& path, const Deadline& deadline, int* error) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        *error = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0)
            break;
        *error = errno;
        if (*error == EINTR)
            continue;
        // A full queue answers EAGAIN at once; try again until the deadline.
        if (*error == EAGAIN && deadline.PollTimeout() != 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    *error = 0;
    return fd;
}

}  // namespace usbline::wire
