#pragma once
// The socket client of the simulated adapter daemon (`linesim serve`), the
// default driver back end. Each handle is one Unix-domain connection to the
// device socket: the device path itself for the control handle,
// "<device path>/<pipe>" for a pipe. Each device-control call is one
// request and one answer on its handle's connection (calls on one handle
// are serialised); the interrupt and record starts block on their
// connection until the daemon answers them.
//
// A pipe is bound to the control handle of the same open: the latest
// control handle still open that the same thread opened on that device path
// (Device_Open opens all five handles in one thread), else the latest one
// opened on it by any thread. The daemon learns the binding from the open
// id sent with the pipe's open, so an Interrupt_Stop or IntRecord_Stop
// wakes the start of its own open only.
//
// The record start writes the records the daemon streams into the caller's
// ring (wrapping at its end) and counts them; IntRecord_Read on the bound
// control handle answers that count (the ring position), after asking the
// daemon whether the adapter is still there.
//
// Every call but the two starts has a time-out (kControlTimeout, or
// kBulkTimeout plus the stream's pace for bulk transfers); one that expires
// fails and ends its connection, as a timed-out USB transfer would.
//
// Handles are never reused. Close shuts the connection down first, so a
// call blocked on it returns (and fails); the descriptor is released when
// the last call on it has returned. A daemon that exits or unplugs the
// adapter closes the connections, and every call then fails.

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "usbline/Driver.h"

namespace usbline {

class SocketDriver : public Driver {
public:
    static constexpr std::chrono::milliseconds kControlTimeout{500};
    static constexpr std::chrono::milliseconds kBulkTimeout{2000};

    DriverHandle Open(const char* path) override;
    bool Close(DriverHandle handle) override;
    bool DeviceIoControl(DriverHandle handle, std::uint32_t code, const void* in,
                         std::uint32_t inLength, void* out, std::uint32_t outLength,
                         std::uint32_t* bytesReturned) override;

private:
    // What the handles of one Device_Open share.
    struct OpenDevice {
        std::uint64_t id = 0;  // given by the daemon
        std::atomic<std::uint32_t> recordPosition{0};
    };
    struct Connection {
        ~Connection();
        int fd = -1;
        bool isControl = false;
        std::string devicePath;
        std::shared_ptr<OpenDevice> device;
        std::mutex callMutex;  // one call at a time per handle
        std::atomic<bool> closed{false};
    };

    std::shared_ptr<Connection> Find(DriverHandle handle);
    std::shared_ptr<OpenDevice> BoundOpen(const std::string& devicePath);
    // The answer's success; nullopt when no answer came (time-out, broken
    // connection, garbage).
    static std::optional<bool> Exchange(Connection& c, std::uint32_t code, const std::uint8_t* in,
                                        std::uint32_t inLength, std::uint8_t* out,
                                        std::uint32_t outLength, std::uint32_t* bytesReturned);

    std::mutex mutex_;
    std::map<DriverHandle, std::shared_ptr<Connection>> handles_;
    // Latest control opens, per (thread, device path) and per device path.
    std::map<std::pair<std::thread::id, std::string>, std::weak_ptr<OpenDevice>> byThread_;
    std::map<std::string, std::weak_ptr<OpenDevice>> byPath_;
    DriverHandle next_ = 0x100;
};

}  // namespace usbline
