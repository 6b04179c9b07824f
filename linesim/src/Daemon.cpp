#include "linesim/Daemon.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "DeviceSession.h"
#include "usbline/SocketWire.h"
#include "platform/DeviceEnumeration.h"
#include "usbline/ControlCodes.h"

namespace linesim {

namespace {

constexpr std::size_t kMaxCommandLine = 4096;

int Listen(const std::string& path, std::string* error) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) {
        *error = "socket path too long: " + path;
        return -1;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    ::unlink(path.c_str());  // a leftover of a daemon that died; we hold the lock
    const mode_t old = ::umask(0077);
    const int rc = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    ::umask(old);
    if (rc < 0 || ::chmod(path.c_str(), 0600) < 0 || ::listen(fd, 64) < 0) {
        *error = "cannot serve " + path + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

// The peer has hung up (or sent more than one request at a time, which it
// never does while a start blocks).
bool PeerGone(int fd) {
    pollfd p{fd, POLLIN | POLLRDHUP, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLRDHUP | POLLHUP | POLLERR));
}

bool ReturnsData(std::uint32_t code) {
    return code == usbline::IOCTL_VENDOR_READ || code == usbline::IOCTL_BULK_IN ||
           code == usbline::IOCTL_INTERRUPT_START;
}

}  // namespace

Daemon::Daemon(int id)
    : id_(id),
      devicePath_(vt::DeviceSocketPath(id).string()),
      controlPath_(vt::ControlSocketPath(id).string()),
      interpreter_(model_, [this](bool plugged) { return SetPlugged(plugged); }),
      lock_("linesim-sim" + std::to_string(id)) {}

Daemon::~Daemon() {
    stopping_ = true;
    ShutDownConnections(false);
    Reap(true);
    for (int fd : {controlFd_, deviceFd_, wake_[0], wake_[1]})
        if (fd >= 0)
            ::close(fd);
    for (int fd : retired_) ::close(fd);
}

bool Daemon::Start(std::string* error) {
    if (!lock_.Acquire()) {
        *error = "another linesim daemon already serves adapter " + std::to_string(id_) +
                 " (lock " + lock_.LockFile().string() + ")";
        return false;
    }
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) < 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    controlFd_ = Listen(controlPath_, error);
    if (controlFd_ < 0)
        return false;
    deviceFd_ = Listen(devicePath_, error);
    if (deviceFd_ < 0) {
        ::unlink(controlPath_.c_str());
        return false;
    }
    return true;
}

void Daemon::RequestStop() {
    stopping_.store(true);
    Wake();
}

void Daemon::Wake() {
    if (wake_[1] < 0)
        return;
    const char b = 1;
    [[maybe_unused]] ssize_t n = ::write(wake_[1], &b, 1);
}

void Daemon::Run() {
    while (!stopping_.load()) {
        pollfd fds[3];
        int n = 0;
        int control, device;
        {
            std::lock_guard lock(mutex_);
            for (int fd : retired_) ::close(fd);
            retired_.clear();
            control = controlFd_;
            device = deviceFd_;
        }
        fds[n++] = pollfd{wake_[0], POLLIN, 0};
        fds[n++] = pollfd{control, POLLIN, 0};
        if (device >= 0)
            fds[n++] = pollfd{device, POLLIN, 0};
        // The time-out only paces the reaping of finished connections.
        const int rc = ::poll(fds, static_cast<nfds_t>(n), 500);
        if (rc < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (::read(wake_[0], drain, sizeof drain) > 0) {
            }
        }
        if (stopping_.load())
            break;
        if (fds[1].revents & POLLIN)
            Accept(control, false);
        if (n == 3 && (fds[2].revents & POLLIN))
            Accept(device, true);
        Reap(false);
    }
    ShutDownConnections(false);
    Reap(true);
    std::lock_guard lock(mutex_);
    ::unlink(controlPath_.c_str());
    if (deviceFd_ >= 0)
        ::unlink(devicePath_.c_str());
}

void Daemon::Accept(int listenFd, bool device) {
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    std::lock_guard lock(mutex_);
    Connection& c = connections_.emplace_back();
    c.fd = fd;
    c.device = device;
    c.thread = std::thread([this, &c] {
        if (c.device)
            ServeDevice(c);
        else
            ServeControl(c);
        c.done.store(true);
    });
}

void Daemon::ShutDownConnections(bool deviceOnly) {
    std::lock_guard lock(mutex_);
    for (Connection& c : connections_)
        if (!deviceOnly || c.device)
            ::shutdown(c.fd, SHUT_RDWR);
}

void Daemon::Reap(bool all) {
    std::list<Connection> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            auto next = std::next(it);
            if (all || it->done.load())
                finished.splice(finished.end(), connections_, it);
            it = next;
        }
    }
    // Joined outside the lock: a finishing thread may still take it.
    for (Connection& c : finished) {
        if (c.thread.joinable())
            c.thread.join();
        ::close(c.fd);
    }
}

std::string Daemon::SetPlugged(bool plugged) {
    std::lock_guard lock(mutex_);
    if (plugged) {
        if (model_.IsPlugged())
            return "already plugged in";
        model_.Plug();
        std::string error;
        deviceFd_ = Listen(devicePath_, &error);
        if (deviceFd_ < 0) {
            model_.Unplug();
            return error;
        }
    } else {
        if (!model_.IsPlugged())
            return "already unplugged";
        model_.Unplug();
        ::unlink(devicePath_.c_str());
        retired_.push_back(deviceFd_);
        deviceFd_ = -1;
        for (Connection& c : connections_)
            if (c.device)
                ::shutdown(c.fd, SHUT_RDWR);
    }
    Wake();
    return {};
}

void Daemon::ServeControl(Connection& c) {
    std::string buffer;
    char chunk[1024];
    for (;;) {
        const std::size_t nl = buffer.find('\n');
        if (nl == std::string::npos) {
            if (buffer.size() > kMaxCommandLine) {
                usbline::wire::SendAll(c.fd, {'E', 'R', 'R', ' ', 'l', 'i', 'n', 'e', ' ', 't', 'o',
                                              'o', ' ', 'l', 'o', 'n', 'g', '\n'});
                return;
            }
            const ssize_t n = ::recv(c.fd, chunk, sizeof chunk, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return;
            buffer.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        std::string line = buffer.substr(0, nl);
        buffer.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string answer = interpreter_.Execute(line) + "\n";
        if (!usbline::wire::SendAll(c.fd, std::vector<std::uint8_t>(answer.begin(), answer.end())))
            return;
    }
}

void Daemon::ServeDevice(Connection& c) {
    namespace wire = usbline::wire;
    std::vector<std::uint8_t> frame;
    if (!wire::RecvFrame(c.fd, &frame))
        return;
    wire::Reader hello(frame);
    const std::uint8_t kind = hello.U8();
    const std::uint32_t version = hello.U32();
    std::uint64_t openId = hello.U64();
    const std::uint16_t nameLength = hello.U16();
    const std::uint8_t* name = hello.Bytes(nameLength);
    std::shared_ptr<DeviceSession> session;
    std::optional<PipeKind> pipe;
    if (hello.Ok() && kind == wire::kOpen && version == wire::kVersion && model_.IsPlugged()) {
        pipe = PipeOfName(std::string(reinterpret_cast<const char*>(name), nameLength));
        std::lock_guard lock(mutex_);
        if (pipe == PipeKind::Control) {
            session = std::make_shared<DeviceSession>(model_);
            openId = nextOpenId_++;
            sessions_[openId] = session;
        } else if (pipe) {
            auto it = sessions_.find(openId);
            if (it != sessions_.end())
                session = it->second.lock();
        }
        for (auto it = sessions_.begin(); it != sessions_.end();)
            it = it->second.expired() ? sessions_.erase(it) : std::next(it);
    }
    if (session && !session->Alive())
        session.reset();
    wire::Writer opened;
    opened.U8(wire::kOpened);
    opened.U8(session ? 1 : 0);
    opened.U64(session ? openId : 0);
    if (!wire::SendAll(c.fd, opened.Frame()) || !session)
        return;

    const DeviceSession::Cancelled cancelled = [this, &c] {
        return stopping_.load() || PeerGone(c.fd);
    };
    const DeviceSession::RecordSink sink = [&c](const std::uint8_t* records, std::size_t count) {
        wire::Writer w;
        w.U8(wire::kRecords);
        w.U32(static_cast<std::uint32_t>(count));
        w.Bytes(records, count * kRecordSize);
        return wire::SendAll(c.fd, w.Frame());
    };
    std::vector<std::uint8_t> out;
    while (wire::RecvFrame(c.fd, &frame)) {
        wire::Reader r(frame);
        const std::uint8_t k = r.U8();
        const std::uint32_t code = r.U32();
        const std::uint32_t inLength = r.U32();
        const std::uint8_t* in = r.Bytes(inLength);
        const std::uint32_t outLength = r.U32();
        const std::uint32_t sent = r.U32();
        const std::uint8_t* outData = r.Bytes(sent);
        const bool ringOnly = code == usbline::IOCTL_RECORD_START;  // filled client-side
        if (!r.Ok() || k != wire::kCall || sent > outLength ||
            (!ringOnly && outLength > wire::kMaxFrame))
            return;
        out.assign(ringOnly ? 0 : outLength, 0);
        if (sent)
            std::memcpy(out.data(), outData, sent);
        std::uint32_t returned = 0;
        const bool ok = session->Call(*pipe, code, in, inLength, ringOnly ? nullptr : out.data(),
                                      outLength, &returned, cancelled, sink);
        wire::Writer answer;
        answer.U8(wire::kAnswer);
        answer.U8(ok ? 1 : 0);
        answer.U32(returned);
        const bool data = ok && ReturnsData(code);
        answer.U32(data ? outLength : 0);
        if (data)
            answer.Bytes(out.data(), outLength);
        if (!wire::SendAll(c.fd, answer.Frame()))
            return;
        if (!session->Alive())
            return;
    }
}

}  // namespace linesim
