#include "DeviceSession.h"

#include <cstring>
#include <vector>

#include "Hex.h"
#include "usbline/AdapterProtocol.h"
#include "usbline/ControlCodes.h"

namespace linesim {

namespace {

// How often a waiting transfer looks at the model (stream, unplug).
constexpr std::uint32_t kWaitSliceMs = 10;

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::optional<PipeKind> PipeOfName(const std::string& name) {
    if (name.empty())
        return PipeKind::Control;
    if (name == usbline::kPipeRecord)
        return PipeKind::Record;
    if (name == usbline::kPipeBulkOut)
        return PipeKind::BulkOut;
    if (name == usbline::kPipeInterrupt)
        return PipeKind::Interrupt;
    if (name == usbline::kPipeBulkIn)
        return PipeKind::BulkIn;
    return std::nullopt;
}

DeviceSession::DeviceSession(Model& model) : model_(model), generation_(model.PlugGeneration()) {}

bool DeviceSession::Alive() {
    return model_.IsPlugged() && model_.PlugGeneration() == generation_;
}

void DeviceSession::Wake() {
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

bool DeviceSession::WaitFor(std::uint32_t ms, const std::function<bool()>& done) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), done);
}

bool DeviceSession::Call(PipeKind pipe, std::uint32_t code, const std::uint8_t* in,
                         std::uint32_t inLength, std::uint8_t* out, std::uint32_t outLength,
                         std::uint32_t* bytesReturned, const Cancelled& cancelled,
                         const RecordSink& sink) {
    *bytesReturned = 0;
    if (!Alive())
        return false;
    const bool lengthIn = in && inLength >= 4;
    switch (pipe) {
        case PipeKind::Control:
            return ControlCall(code, in, inLength, out, outLength, bytesReturned);
        case PipeKind::Interrupt:
            if (code != usbline::IOCTL_INTERRUPT_START)
                return false;
            if (!InterruptStart(cancelled))
                return false;
            *bytesReturned = std::min<std::uint32_t>(outLength, 2);
            if (out)
                std::memset(out, 0, *bytesReturned);
            return true;
        case PipeKind::Record:
            if (code != usbline::IOCTL_RECORD_START || !lengthIn)
                return false;
            return RecordStart(std::min(Le32(in), outLength), cancelled, sink, bytesReturned);
        case PipeKind::BulkOut:
            if (code != usbline::IOCTL_BULK_OUT || !lengthIn)
                return false;
            return BulkOut(out, std::min(Le32(in), outLength), cancelled, bytesReturned);
        case PipeKind::BulkIn: {
            if (code != usbline::IOCTL_BULK_IN || !lengthIn)
                return false;
            const std::uint32_t length = std::min(Le32(in), outLength);
            std::vector<std::uint8_t> data(length);
            *bytesReturned = model_.BulkIn(data.data(), length);
            if (out)
                std::memcpy(out, data.data(), *bytesReturned);
            model_.LogTransfer("BULK_IN length=" + std::to_string(length));
            return Alive();
        }
    }
    return false;
}

bool DeviceSession::ControlCall(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength,
                                std::uint8_t* out, std::uint32_t outLength,
                                std::uint32_t* bytesReturned) {
    switch (code) {
        case usbline::IOCTL_VENDOR_READ:
        case usbline::IOCTL_VENDOR_WRITE: {
            if (!in || inLength < usbline::kSetupRecordSize)
                return false;
            const std::uint16_t length = Le16(in + 5);
            if (length > 0 && (!out || outLength < length))
                return false;
            const bool ok = model_.VendorRequest(code == usbline::IOCTL_VENDOR_READ, in[0],
                                                 Le16(in + 1), Le16(in + 3), length, out);
            if (ok)
                *bytesReturned = length;
            return ok;
        }
        case usbline::IOCTL_INTERRUPT_READ: {
            const std::optional<std::uint16_t> status = model_.StatusWord();
            if (!status)
                return false;
            *bytesReturned = *status;
            return true;
        }
        case usbline::IOCTL_INTERRUPT_STOP: {
            std::lock_guard lock(mutex_);
            if (interruptWaiters_ > 0)
                ++interruptStops_;
            else
                interruptStopPending_ = true;
            changed_.notify_all();
            *bytesReturned = 1;
            return true;
        }
        case usbline::IOCTL_RECORD_STOP: {
            model_.LogTransfer("RECORD_STOP");
            std::lock_guard lock(mutex_);
            ++recordStops_;
            changed_.notify_all();
            return true;
        }
        case usbline::IOCTL_RECORD_READ:
            // The ring position is kept by whoever holds the ring (the
            // in-process driver or the socket client); the answer here only
            // says the adapter is there.
            return true;
        default:
            return false;
    }
}

bool DeviceSession::InterruptStart(const Cancelled& cancelled) {
    std::uint64_t seen;
    {
        std::lock_guard lock(mutex_);
        if (interruptStopPending_) {
            interruptStopPending_ = false;
            return true;
        }
        ++interruptWaiters_;
        seen = interruptStops_;
    }
    bool stopped = false;
    while (!stopped) {
        stopped = WaitFor(kWaitSliceMs, [&] { return interruptStops_ != seen; });
        if (!stopped && (cancelled() || !Alive()))
            break;
    }
    std::lock_guard lock(mutex_);
    --interruptWaiters_;
    return stopped;
}

bool DeviceSession::RecordStart(std::uint32_t length, const Cancelled& cancelled,
                                const RecordSink& sink, std::uint32_t* bytesReturned) {
    model_.LogTransfer("RECORD_START length=" + std::to_string(length));
    std::uint64_t seen;
    {
        std::lock_guard lock(mutex_);
        seen = recordStops_;
    }
    std::vector<std::uint8_t> block;
    std::uint64_t records = 0;
    for (;;) {
        block.clear();
        const std::size_t whole = model_.TakeRecords(block);
        if (whole > 0) {
            if (sink && !sink(block.data(), whole))
                return false;
            records += whole;
        }
        if (WaitFor(kWaitSliceMs, [&] { return recordStops_ != seen; }))
            break;
        if (cancelled())
            return false;
        if (!Alive())
            return false;
        if (!model_.IsRecording())
            break;  // StopRecord came first (or no StartRecord at all)
    }
    *bytesReturned = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(records * usbline::protocol::kRecordSize, length));
    return true;
}

bool DeviceSession::BulkOut(const std::uint8_t* data, std::uint32_t length,
                            const Cancelled& cancelled, std::uint32_t* bytesReturned) {
    if (length > 0 && !data)
        return false;
    std::uint32_t done = 0;
    bool gone = false;
    if (model_.TakeStopBlock(length))
        done = length;  // the host's stop: nothing of it is played
    while (done < length) {
        done += model_.BulkOut(data + done, length - done);
        if (done >= length)
            break;
        WaitFor(kWaitSliceMs / 2, [] { return false; });
        if (cancelled() || !Alive()) {
            gone = true;
            break;
        }
    }
    model_.LogTransfer("BULK_OUT length=" + std::to_string(length) +
                       " data=" + HexBytes(data, length));
    *bytesReturned = done;
    return !gone;
}

}  // namespace linesim
