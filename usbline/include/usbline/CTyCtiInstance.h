#pragma once
// One telephone-line adapter seen through its driver: a control handle on
// the device and one handle on each of its four pipes. Every method is one
// synchronous device-control call; the class keeps no protocol state, takes
// no locks and starts no threads. The five handles are all valid (open) or
// all invalid (closed); a failed transfer closes the object, after which
// every call returns its "closed" result until Device_Open succeeds again.
//
// Concurrency: lindev calls one object from several threads. The handle set
// is atomic, so a close in one thread makes calls in others fail cleanly;
// the two start requests block until the matching stop (or the close).

#include <atomic>
#include <cstdint>
#include <memory>

#include "usbline/AdapterProtocol.h"
#include "usbline/Driver.h"

#if defined(USBLINE_BUILDING)
#define USBLINE_API __attribute__((visibility("default")))
#else
#define USBLINE_API
#endif

class USBLINE_API CTyCtiInstance {
public:
    CTyCtiInstance();
    // Does not close handles: the owner calls Device_Close first.
    virtual ~CTyCtiInstance();
    CTyCtiInstance(const CTyCtiInstance&) = delete;
    CTyCtiInstance& operator=(const CTyCtiInstance&) = delete;

    // Null is ignored; otherwise sets the name-set flag and copies at most
    // 259 characters of the device interface path.
    void SetDeviceName(const char* name);

    // Opens the control handle, then PIPE82, PIPE04, PIPE86, PIPE87. 1 when
    // all five are open; 0 (all invalid) otherwise.
    int Device_Open();
    // Closes control, record, bulk-out, interrupt, bulk-in. Always 1.
    int Device_Close();

    int Vendor_Read(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                    std::uint16_t length, void* data);
    int Vendor_Write(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                     std::uint16_t length, void* data);
    int Vendor_Read(usbline::protocol::Request request, std::uint16_t value, std::uint16_t index,
                    std::uint16_t length, void* data) {
        return Vendor_Read(usbline::protocol::Code(request), value, index, length, data);
    }
    int Vendor_Write(usbline::protocol::Request request, std::uint16_t value, std::uint16_t index,
                     std::uint16_t length, void* data) {
        return Vendor_Write(usbline::protocol::Code(request), value, index, length, data);
    }

    // Bytes transferred, 0 on failure.
    std::uint32_t Bulk_IN(std::uint8_t* buffer, std::uint32_t length);
    std::uint32_t Bulk_OUT(std::uint8_t* buffer, std::uint32_t length);

    // Blocks until Interrupt_Stop; the driver's byte count, 0 on failure.
    std::uint32_t Interrupt_Start();
    // The line status word in the low 16 bits; 0xFFFFFFFF on failure.
    std::uint32_t Interrupt_Read();
    std::uint32_t Interrupt_Stop();

    // Blocks until IntRecord_Stop, the driver filling `buffer` (the
    // recording ring) meanwhile; the driver's byte count. Closed object:
    // closes (again) and returns 0. Length 0: returns 0 without a call.
    std::uint32_t IntRecord_Start(std::uint8_t* buffer, std::uint32_t length);
    // Records written into the ring so far; 0xFFFFFFFF on failure.
    std::uint32_t IntRecord_Read();
    int IntRecord_Stop();

    // Inspection for owners and tests.
    bool IsOpen() const { return control_.load() != usbline::kInvalidHandle; }
    bool HasDeviceName() const { return nameSet_ != 0; }
    const char* DeviceName() const { return deviceName_; }

private:
    int VendorRequest(std::uint32_t code, std::uint8_t request, std::uint16_t value,
                      std::uint16_t index, std::uint16_t length, void* data);
    std::uint32_t CountOnlyRequest(std::atomic<usbline::DriverHandle>& handle,
                                   std::uint32_t code, std::uint32_t failure);
    usbline::DriverHandle OpenPath(const char* pipe);

    // Field order as the adapter's transport keeps it.
    std::atomic<usbline::DriverHandle> bulkOut_{usbline::kInvalidHandle};
    std::atomic<usbline::DriverHandle> bulkIn_{usbline::kInvalidHandle};
    std::atomic<usbline::DriverHandle> interrupt_{usbline::kInvalidHandle};
    std::atomic<usbline::DriverHandle> control_{usbline::kInvalidHandle};
    std::atomic<usbline::DriverHandle> record_{usbline::kInvalidHandle};
    int nameSet_ = 0;
    char path_[260] = {};
    char deviceName_[260] = {};
    // The back end chosen for the device name at open.
    std::atomic<std::shared_ptr<usbline::Driver>> driver_;
};
