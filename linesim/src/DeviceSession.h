#pragma once
// One open of the simulated adapter: its control handle and the pipes
// opened with it. It turns each device-control call into model requests,
// and keeps what binds the pipes to their control handle: the interrupt
// start waits for an Interrupt_Stop of the same open, the record start for
// an IntRecord_Stop of the same open (or the end of the recording), while
// it streams records. Used by the in-process driver and by the daemon.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "linesim/Model.h"

namespace linesim {

enum class PipeKind { Control, Record, BulkOut, Interrupt, BulkIn };

// "" is the device itself; otherwise one of the four pipe names.
std::optional<PipeKind> PipeOfName(const std::string& name);

class DeviceSession {
public:
    // Receives whole 64-byte records streamed by a record start; false ends
    // the transfer (the receiver went away).
    using RecordSink = std::function<bool(const std::uint8_t* records, std::size_t count)>;
    // Polled while a call waits: true once the caller's handle is gone.
    using Cancelled = std::function<bool()>;

    explicit DeviceSession(Model& model);

    // False once the adapter was unplugged after this open.
    bool Alive();

    // One device-control call on one of this open's handles. `out` has
    // `outLength` bytes. A record start streams to `sink`.
    bool Call(PipeKind pipe, std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength,
              std::uint8_t* out, std::uint32_t outLength, std::uint32_t* bytesReturned,
              const Cancelled& cancelled, const RecordSink& sink);

    // Re-checks waiting calls (a handle closed, the adapter unplugged).
    void Wake();

private:
    bool ControlCall(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength,
                     std::uint8_t* out, std::uint32_t outLength, std::uint32_t* bytesReturned);
    bool InterruptStart(const Cancelled& cancelled);
    bool RecordStart(std::uint32_t length, const Cancelled& cancelled, const RecordSink& sink,
                     std::uint32_t* bytesReturned);
    bool BulkOut(const std::uint8_t* data, std::uint32_t length, const Cancelled& cancelled,
                 std::uint32_t* bytesReturned);
    // Waits up to `ms` for a stop or a wake; true when `done` holds.
    bool WaitFor(std::uint32_t ms, const std::function<bool()>& done);

    Model& model_;
    const std::uint64_t generation_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t interruptStops_ = 0;
    int interruptWaiters_ = 0;
    // A stop that found no start waiting ends the next start at once, so a
    // stop racing ahead of its start never leaves the start blocked.
    bool interruptStopPending_ = false;
    std::uint64_t recordStops_ = 0;
};

}  // namespace linesim
