#include "SocketDriver.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <vector>

#include "usbline/ControlCodes.h"
#include "usbline/DriverRegistry.h"
#include "usbline/SocketWire.h"

namespace usbline {

namespace {

// Splits "<device>/<PIPEnn>" into the device path and the pipe name; a
// path without a pipe is the device itself.
void SplitPath(const std::string& path, std::string* device, std::string* pipe) {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && path.compare(slash + 1, 4, "PIPE") == 0 && slash >= 4 &&
        path.compare(slash - 4, 4, ".dev") == 0) {
        *device = path.substr(0, slash);
        *pipe = path.substr(slash + 1);
    } else {
        *device = path;
        pipe->clear();
    }
}

bool CarriesOutData(std::uint32_t code) {
    return code == IOCTL_VENDOR_WRITE || code == IOCTL_BULK_OUT;
}

// How long a call may take before it counts as failed, as a USB transfer
// to the adapter would time out: a wedged adapter (or daemon) then looks removed
// instead of freezing its caller. The two starts block until their stop by
// design and have none; bulk transfers get room for the stream's pace.
wire::Deadline CallDeadline(std::uint32_t code, std::uint32_t length) {
    using std::chrono::milliseconds;
    switch (code) {
        case IOCTL_INTERRUPT_START:
        case IOCTL_RECORD_START:
            return wire::Deadline::Forever();
        case IOCTL_BULK_IN:
        case IOCTL_BULK_OUT:
            // 8 bytes per ms is the playback drain at real time.
            return wire::Deadline::In(SocketDriver::kBulkTimeout + milliseconds(length / 8));
        default:
            return wire::Deadline::In(SocketDriver::kControlTimeout);
    }
}

}  // namespace

SocketDriver::Connection::~Connection() {
    if (fd >= 0)
        ::close(fd);
}

std::shared_ptr<SocketDriver::OpenDevice> SocketDriver::BoundOpen(const std::string& devicePath) {
    std::lock_guard lock(mutex_);
    auto mine = byThread_.find({std::this_thread::get_id(), devicePath});
    if (mine != byThread_.end())
        if (auto d = mine->second.lock())
            return d;
    auto any = byPath_.find(devicePath);
    return any != byPath_.end() ? any->second.lock() : nullptr;
}

DriverHandle SocketDriver::Open(const char* path) {
    if (!path)
        return kInvalidHandle;
    auto c = std::make_shared<Connection>();
    std::string pipe;
    SplitPath(path, &c->devicePath, &pipe);
    c->isControl = pipe.empty();
    std::uint64_t openId = 0;
    if (c->isControl) {
        c->device = std::make_shared<OpenDevice>();
    } else {
        c->device = BoundOpen(c->devicePath);
        if (!c->device)
            return kInvalidHandle;
        openId = c->device->id;
    }
    const wire::Deadline deadline = wire::Deadline::In(kControlTimeout);
    int error = 0;
    c->fd = wire::ConnectUnix(c->devicePath, deadline, &error);
    if (c->fd < 0)
        return kInvalidHandle;

    wire::Writer hello;
    hello.U8(wire::kOpen);
    hello.U32(wire::kVersion);
    hello.U64(openId);
    hello.U16(static_cast<std::uint16_t>(pipe.size()));
    hello.Bytes(pipe.data(), pipe.size());
    std::vector<std::uint8_t> reply;
    if (!wire::SendAll(c->fd, hello.Frame(), deadline) || !wire::RecvFrame(c->fd, &reply, deadline))
        return kInvalidHandle;
    wire::Reader r(reply);
    const std::uint8_t kind = r.U8(), ok = r.U8();
    const std::uint64_t id = r.U64();
    if (!r.Ok() || kind != wire::kOpened || ok != 1)
        return kInvalidHandle;

    std::lock_guard lock(mutex_);
    if (c->isControl) {
        c->device->id = id;
        byThread_[{std::this_thread::get_id(), c->devicePath}] = c->device;
        byPath_[c->devicePath] = c->device;
    }
    const DriverHandle h = next_++;
    handles_[h] = std::move(c);
    return h;
}

bool SocketDriver::Close(DriverHandle handle) {
    std::shared_ptr<Connection> c;
    {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(handle);
        if (it == handles_.end())
            return false;
        c = std::move(it->second);
        handles_.erase(it);
        for (auto b = byThread_.begin(); b != byThread_.end();)
            b = b->second.expired() ? byThread_.erase(b) : std::next(b);
    }
    // Wakes a call blocked on the connection; the descriptor goes with the
    // last reference.
    c->closed.store(true);
    ::shutdown(c->fd, SHUT_RDWR);
    return true;
}

std::shared_ptr<SocketDriver::Connection> SocketDriver::Find(DriverHandle handle) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    return it != handles_.end() ? it->second : nullptr;
}

bool SocketDriver::DeviceIoControl(DriverHandle handle, std::uint32_t code, const void* in,
                                   std::uint32_t inLength, void* out, std::uint32_t outLength,
                                   std::uint32_t* bytesReturned) {
    std::uint32_t scratch = 0;
    if (!bytesReturned)
        bytesReturned = &scratch;
    *bytesReturned = 0;
    std::shared_ptr<Connection> c = Find(handle);
    if (!c)
        return false;
    std::lock_guard callLock(c->callMutex);
    if (c->closed.load())
        return false;
    const std::optional<bool> answered =
        Exchange(*c, code, static_cast<const std::uint8_t*>(in), inLength,
                 static_cast<std::uint8_t*>(out), outLength, bytesReturned);
    if (!answered && !c->closed.exchange(true)) {
        // Timed out or broken: an answer that comes late must not be taken
        // for the next call's.
        ::shutdown(c->fd, SHUT_RDWR);
    }
    const bool ok = answered.value_or(false);
    if (ok && code == IOCTL_RECORD_READ)
        *bytesReturned = c->device->recordPosition.load();
    return ok && !c->closed.load();
}

std::optional<bool> SocketDriver::Exchange(Connection& c, std::uint32_t code,
                                           const std::uint8_t* in, std::uint32_t inLength,
                                           std::uint8_t* out, std::uint32_t outLength,
                                           std::uint32_t* bytesReturned) {
    const std::uint32_t sentOut = (CarriesOutData(code) && out) ? outLength : 0;
    if (sentOut + inLength > wire::kMaxFrame - 64)
        return false;  // refused before anything was sent
    wire::Writer call;
    call.U8(wire::kCall);
    call.U32(code);
    call.U32(in ? inLength : 0);
    call.Bytes(in, in ? inLength : 0);
    call.U32(outLength);
    call.U32(sentOut);
    call.Bytes(out, sentOut);
    const wire::Deadline deadline = CallDeadline(code, outLength);
    if (!wire::SendAll(c.fd, call.Frame(), deadline))
        return std::nullopt;

    // A record start fills the caller's ring from the records streamed.
    const std::size_t ringRecords = (code == IOCTL_RECORD_START && out) ? outLength / 64 : 0;
    if (code == IOCTL_RECORD_START)
        c.device->recordPosition.store(0);
    std::vector<std::uint8_t> reply;
    for (;;) {
        if (!wire::RecvFrame(c.fd, &reply, deadline))
            return std::nullopt;
        wire::Reader r(reply);
        const std::uint8_t kind = r.U8();
        if (kind == wire::kRecords) {
            const std::uint32_t count = r.U32();
            const std::uint8_t* records = r.Bytes(static_cast<std::size_t>(count) * 64);
            if (!r.Ok() || code != IOCTL_RECORD_START)
                return std::nullopt;
            if (ringRecords == 0)
                continue;
            std::uint32_t pos = c.device->recordPosition.load();
            for (std::uint32_t i = 0; i < count; ++i) {
                std::memcpy(out + static_cast<std::size_t>(pos) * 64, records + i * 64, 64);
                pos = static_cast<std::uint32_t>((pos + 1) % ringRecords);
            }
            c.device->recordPosition.store(pos);
            continue;
        }
        const std::uint8_t ok = r.U8();
        const std::uint32_t returned = r.U32();
        const std::uint32_t m = r.U32();
        const std::uint8_t* data = r.Bytes(m);
        if (!r.Ok() || kind != wire::kAnswer)
            return std::nullopt;
        if (out && m > 0 && !CarriesOutData(code) && code != IOCTL_RECORD_START)
            std::memcpy(out, data, std::min(m, outLength));
        *bytesReturned = returned;
        return ok == 1;
    }
}

std::shared_ptr<Driver> SocketDriverInstance() {
    static auto driver = std::make_shared<SocketDriver>();
    return driver;
}

}  // namespace usbline
