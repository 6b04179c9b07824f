#pragma once
// The real adapter's driver back end over libusb-1.0, for device paths
// "usb:<bus>-<ports>" (UsbAdapters.h). The control handle is one opened and
// claimed device (UsbDevice); a pipe "usb:<path>/PIPEnn" is bound to the
// latest control handle that the same thread opened on that path (the
// transport opens all five in one thread), else to the latest one opened.
//
// The device-control calls map onto transfers:
//   Vendor_Read / Vendor_Write   one vendor control transfer, device
//                                recipient, IN / OUT, fields of the setup record
//   Bulk_OUT / Bulk_IN           one bulk transfer on 0x04 / 0x87
//   Interrupt_Start / _Stop      blocks until the stop; status reports are
//                                kept pending on 0x86 from the open on
//   Interrupt_Read               the latest status word, no transfer
//   IntRecord_Start / _Stop      records from 0x82 into the caller's ring
//                                until the stop; IntRecord_Read the position
// Closing the control handle closes the device and wakes every blocked call.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "usbline/Driver.h"

namespace usbline::usb {

class UsbDevice;

class UsbDriver : public Driver {
public:
    DriverHandle Open(const char* path) override;
    bool Close(DriverHandle handle) override;
    bool DeviceIoControl(DriverHandle handle, std::uint32_t code, const void* in,
                         std::uint32_t inLength, void* out, std::uint32_t outLength,
                         std::uint32_t* bytesReturned) override;

private:
    enum class Pipe { Control, Record, BulkOut, Status, BulkIn };
    struct Entry {
        std::shared_ptr<UsbDevice> device;
        Pipe pipe;
    };

    std::mutex mutex_;
    std::map<DriverHandle, Entry> handles_;
    std::map<std::pair<std::thread::id, std::string>, std::weak_ptr<UsbDevice>> byThread_;
    std::map<std::string, std::weak_ptr<UsbDevice>> byPath_;
    DriverHandle next_ = 0x4000;
};

}  // namespace usbline::usb
