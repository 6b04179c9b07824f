#pragma once
// The seam between the transport and whatever plays the adapter's kernel
// driver. It is the driver contract the transport was written against:
// open a path (the device itself or "<device>/<pipe name>"), one
// device-control call per request, close.
//
// Back ends: the socket client of the simulated adapter daemon (default for
// every path), the in-process model for unit tests, and fault-injecting test
// drivers. A back end registers for a path prefix (DriverRegistry.h).
//
// Every method may be called from several threads at once. Handles are
// never reused by a back end: a handle that was closed stays invalid, and a
// call on it fails. Closing a handle wakes a call blocked on it (it then
// fails or returns what it had).

#include <cstdint>

namespace usbline {

using DriverHandle = std::intptr_t;
inline constexpr DriverHandle kInvalidHandle = -1;

class Driver {
public:
    virtual ~Driver() = default;

    // Read/write access, read/write sharing, open-existing. kInvalidHandle
    // when the path cannot be opened (adapter absent or unplugged).
    virtual DriverHandle Open(const char* path) = 0;

    virtual bool Close(DriverHandle handle) = 0;

    // One synchronous device-control call. `bytesReturned` receives the
    // driver's count (for some codes the count is the answer itself). The
    // result is the call's success.
    virtual bool DeviceIoControl(DriverHandle handle, std::uint32_t code, const void* in,
                                 std::uint32_t inLength, void* out, std::uint32_t outLength,
                                 std::uint32_t* bytesReturned) = 0;
};

}  // namespace usbline
