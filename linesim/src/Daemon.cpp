#include "linesim/Daemon.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "DeviceSession.h"
#include "Hex.h"
#include "ListeningSocket.h"
#include "platform/DeviceEnumeration.h"
#include "platform/Folders.h"
#include "platform/Tick.h"
#include "usbline/AdapterProtocol.h"
#include "usbline/ControlCodes.h"
#include "usbline/SocketWire.h"

namespace linesim {

namespace {

constexpr std::size_t kMaxCommandLine = 4096;
// Paces the reaping of finished connections and the look at the sockets.
constexpr int kLoopMs = 250;
// After a failed accept (no descriptors left) the listeners rest this long.
constexpr std::uint64_t kAcceptPauseMs = 100;
// Connections taken from a listener's queue per round at most.
constexpr int kAcceptBurst = 64;
// A device connection must send its open within this time (or the idle
// time-out, if shorter).
constexpr std::chrono::milliseconds kOpenTimeout{2000};
// Descriptors kept free for everything but connections.
constexpr rlim_t kSpareDescriptors = 32;

// The peer has hung up (or sent more than one request at a time, which it
// never does while a start blocks).
bool PeerGone(int fd) {
    pollfd p{fd, POLLIN | POLLRDHUP, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLRDHUP | POLLHUP | POLLERR));
}

// A request the serving thread has not read yet waits in the socket.
bool RequestWaiting(int fd) {
    char byte;
    return ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 1;
}

bool ReturnsData(std::uint32_t code) {
    return code == usbline::IOCTL_VENDOR_READ || code == usbline::IOCTL_BULK_IN ||
           code == usbline::IOCTL_INTERRUPT_START;
}

Daemon::Limits Fitted(Daemon::Limits limits) {
    rlimit nofile{};
    if (::getrlimit(RLIMIT_NOFILE, &nofile) == 0 && nofile.rlim_cur != RLIM_INFINITY) {
        const rlim_t room = nofile.rlim_cur > 2 * kSpareDescriptors
                                ? nofile.rlim_cur - kSpareDescriptors
                                : nofile.rlim_cur / 2;
        limits.maxConnections = std::min<std::size_t>(limits.maxConnections, room);
    }
    limits.maxConnections = std::max<std::size_t>(limits.maxConnections, 1);
    return limits;
}

bool SendText(int fd, const std::string& text) {
    return usbline::wire::SendAll(fd, text.data(), text.size());
}

}  // namespace

Daemon::Daemon(int id, Limits limits)
    : id_(id),
      limits_(Fitted(limits)),
      interpreter_(model_, [this](bool plugged) { return SetPlugged(plugged); }),
      lock_("linesim-sim" + std::to_string(id)),
      control_(std::make_unique<ListeningSocket>(vt::ControlSocketPath(id).string())),
      device_(std::make_unique<ListeningSocket>(vt::DeviceSocketPath(id).string())) {}

Daemon::~Daemon() {
    stopping_ = true;
    ShutDownConnections(false);
    Reap(true);
    for (int fd : {wake_[0], wake_[1]})
        if (fd >= 0)
            ::close(fd);
    for (int fd : retired_) ::close(fd);
}

bool Daemon::Start(std::string* error) {
    if (!lock_.Acquire()) {
        std::string folderError;
        if (vt::RuntimeFolder(&folderError).empty()) {
            *error = folderError;
            return false;
        }
        *error = "another linesim daemon already serves adapter " + std::to_string(id_) +
                 " (lock " + lock_.LockFile().string() + ")";
        return false;
    }
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) < 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (!control_->Open(error))
        return false;
    if (!device_->Open(error)) {
        ::close(control_->Detach());
        return false;
    }
    deviceListening_ = true;
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

void Daemon::Run(std::string* reason) {
    std::string scratch;
    if (!reason)
        reason = &scratch;
    while (!stopping_.load()) {
        pollfd fds[4];
        int n = 0;
        int control, device;
        {
            std::lock_guard lock(mutex_);
            for (int fd : retired_) ::close(fd);
            retired_.clear();
            control = control_->Fd();
            device = deviceListening_ ? device_->Fd() : -1;
        }
        const std::uint64_t now = vt::TickCount64();
        const bool accepting = now >= acceptPausedUntilMs_;
        fds[n++] = pollfd{wake_[0], POLLIN, 0};
        fds[n++] = pollfd{accepting ? control : -1, POLLIN, 0};
        fds[n++] = pollfd{accepting ? device : -1, POLLIN, 0};
        fds[n++] = pollfd{stopFd_, POLLIN, 0};
        const int wait =
            accepting
                ? kLoopMs
                : static_cast<int>(std::min<std::uint64_t>(kLoopMs, acceptPausedUntilMs_ - now));
        const int rc = ::poll(fds, static_cast<nfds_t>(n), wait);
        if (rc < 0 && errno != EINTR)
            break;
        if (stopFd_ >= 0 && (fds[3].revents & POLLIN))
            stopping_.store(true);
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (::read(wake_[0], drain, sizeof drain) > 0) {
            }
        }
        if (stopping_.load())
            break;
        // The queue is taken in bursts, so waiting clients are not told
        // "flooded" while the daemon has room.
        for (int i = 0; rc > 0 && (fds[1].revents & POLLIN) && i < kAcceptBurst; ++i)
            if (!Accept(control, false))
                break;
        for (int i = 0; rc > 0 && (fds[2].revents & POLLIN) && i < kAcceptBurst; ++i)
            if (!Accept(device, true))
                break;
        Reap(false);
        if (!KeepSocketsAndLock(reason))
            break;
    }
    ShutDownConnections(false);
    Reap(true);
    std::lock_guard lock(mutex_);
    retired_.push_back(control_->Detach());
    if (deviceListening_)
        retired_.push_back(device_->Detach());
    deviceListening_ = false;
}

bool Daemon::KeepSocketsAndLock(std::string* reason) {
    const std::string adapter = "adapter " + std::to_string(id_);
    if (!lock_.StillHeld()) {
        // The lock file went (a removed runtime folder): take a new one. A
        // daemon starting meanwhile may hold it for a moment, but it finds
        // these sockets answering and gives up, so this one keeps serving
        // and tries again on the next round.
        lock_.Release();
        if (lock_.Acquire())
            std::fprintf(stderr, "linesim: the lock of %s was removed; took it again\n",
                         adapter.c_str());
    }
    std::lock_guard lock(mutex_);
    for (ListeningSocket* socket : {control_.get(), device_.get()}) {
        if (socket == device_.get() && !deviceListening_)
            continue;
        if (socket->Present())
            continue;
        const std::filesystem::path folder = std::filesystem::path(socket->Path()).parent_path();
        std::error_code ec;
        if (!std::filesystem::is_directory(folder.parent_path(), ec)) {
            *reason = "the runtime folder " + folder.parent_path().string() + " is gone";
            return false;
        }
        vt::EnsureFolder(folder, 0700);
        retired_.push_back(socket->Detach());  // clients already connected stay served
        std::string error;
        if (!socket->Open(&error)) {
            *reason = error;
            return false;
        }
        std::fprintf(stderr, "linesim: %s was removed; made it again\n", socket->Path().c_str());
    }
    return true;
}

std::size_t Daemon::LiveConnectionsLocked() const {
    std::size_t live = 0;
    for (const Connection& c : connections_)
        if (!c.done.load() && !c.evicted.load())
            ++live;
    return live;
}

bool Daemon::EvictOldestIdleLocked() {
    // Control connections and device connections that never opened a handle
    // go first; an opened handle of some program only when nothing else can.
    // A connection whose request already waits is not idle, though its
    // thread has not read it yet: a client that connected during a flood,
    // accepted before older connections of the other queue, would otherwise
    // lose its request.
    std::vector<const Connection*> waiting;
    auto rank = [](const Connection& c) { return c.device && c.opened.load() ? 1 : 0; };
    for (;;) {
        Connection* victim = nullptr;
        for (Connection& c : connections_) {
            if (c.done.load() || c.evicted.load() || c.busy.load() ||
                std::find(waiting.begin(), waiting.end(), &c) != waiting.end())
                continue;
            if (!victim || rank(c) < rank(*victim) ||
                (rank(c) == rank(*victim) && c.lastActiveMs.load() < victim->lastActiveMs.load()))
                victim = &c;
        }
        if (!victim)
            return false;
        if (RequestWaiting(victim->fd)) {
            waiting.push_back(victim);
            continue;
        }
        victim->evicted.store(true);
        ::shutdown(victim->fd, SHUT_RDWR);
        return true;
    }
}

bool Daemon::Accept(int listenFd, bool device) {
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    const int error = errno;
    std::lock_guard lock(mutex_);
    if (fd < 0) {
        if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) {
            // Out of descriptors: free one and let the listeners rest rather
            // than spin on a queue that cannot be taken.
            EvictOldestIdleLocked();
            acceptPausedUntilMs_ = vt::TickCount64() + kAcceptPauseMs;
        }
        return false;
    }
    if (LiveConnectionsLocked() >= limits_.maxConnections && !EvictOldestIdleLocked()) {
        if (!device)
            SendText(fd, "ERR too many connections\n");
        ::close(fd);
        return true;
    }
    Connection& c = connections_.emplace_back();
    c.fd = fd;
    c.device = device;
    c.lastActiveMs.store(vt::TickCount64());
    try {
        c.thread = std::thread([this, &c] {
            if (c.device)
                ServeDevice(c);
            else
                ServeControl(c);
            c.done.store(true);
        });
    } catch (const std::system_error&) {
        c.done.store(true);  // no thread to spare: the client sees its connection end
    }
    return true;
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
        if (!device_->Open(&error)) {
            model_.Unplug();
            return error;
        }
        deviceListening_ = true;
    } else {
        if (!model_.IsPlugged())
            return "already unplugged";
        model_.Unplug();
        retired_.push_back(device_->Detach());
        deviceListening_ = false;
        for (Connection& c : connections_)
            if (c.device)
                ::shutdown(c.fd, SHUT_RDWR);
    }
    Wake();
    return {};
}

void Daemon::ServeControl(Connection& c) {
    namespace wire = usbline::wire;
    std::string buffer;
    char chunk[1024];
    for (;;) {
        const std::size_t nl = buffer.find('\n');
        if (nl == std::string::npos) {
            if (buffer.size() > kMaxCommandLine) {
                SendText(c.fd, "ERR line too long\n");
                return;
            }
            // A client that sends nothing for the idle time-out is let go.
            if (!wire::WaitReady(c.fd, POLLIN, wire::Deadline::In(limits_.idleTimeout)))
                return;
            const ssize_t n = ::recv(c.fd, chunk, sizeof chunk, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return;
            buffer.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        c.busy.store(true);
        std::string line = buffer.substr(0, nl);
        buffer.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Answers may echo what was sent: never raw control bytes. A
        // multi-line answer ("log") keeps its line breaks.
        const std::string raw = interpreter_.Execute(line);
        std::string answer;
        std::size_t from = 0;
        for (std::size_t to; (to = raw.find('\n', from)) != std::string::npos; from = to + 1)
            answer += EscapeUnprintable(raw.substr(from, to - from)) + "\n";
        answer += EscapeUnprintable(raw.substr(from)) + "\n";
        const bool sent = SendText(c.fd, answer);
        c.lastActiveMs.store(vt::TickCount64());
        c.busy.store(false);
        if (!sent)
            return;
    }
}

void Daemon::ServeDevice(Connection& c) {
    namespace wire = usbline::wire;
    std::vector<std::uint8_t> frame;
    if (!wire::RecvFrame(c.fd, &frame,
                         wire::Deadline::In(std::min(kOpenTimeout, limits_.idleTimeout))))
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
    c.opened.store(true);
    c.lastActiveMs.store(vt::TickCount64());

    const DeviceSession::Cancelled cancelled = [this, &c] {
        return stopping_.load() || PeerGone(c.fd);
    };
    const DeviceSession::RecordSink sink = [&c](const std::uint8_t* records, std::size_t count) {
        wire::Writer w;
        w.U8(wire::kRecords);
        w.U32(static_cast<std::uint32_t>(count));
        w.Bytes(records, count * usbline::protocol::kRecordSize);
        return wire::SendAll(c.fd, w.Frame());
    };
    std::vector<std::uint8_t> out;
    while (wire::RecvFrame(c.fd, &frame)) {
        c.busy.store(true);
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
        c.lastActiveMs.store(vt::TickCount64());
        c.busy.store(false);
        if (!session->Alive())
            return;
    }
}

}  // namespace linesim
