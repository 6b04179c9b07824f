#include "UsbDriver.h"

#include <cstring>

#include "UsbDevice.h"
#include "UsbScan.h"
#include "usbline/ControlCodes.h"
#include "usbline/DriverRegistry.h"
#include "usbline/UsbAdapterConstants.h"

namespace usbline::usb {

namespace {

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

DriverHandle UsbDriver::Open(const char* path) {
    if (!path)
        return kInvalidHandle;
    std::string device = path, pipeName;
    const auto slash = device.find('/');
    if (slash != std::string::npos) {
        pipeName = device.substr(slash + 1);
        device.resize(slash);
    }
    Pipe pipe;
    if (pipeName.empty())
        pipe = Pipe::Control;
    else if (pipeName == kPipeRecord)
        pipe = Pipe::Record;
    else if (pipeName == kPipeBulkOut)
        pipe = Pipe::BulkOut;
    else if (pipeName == kPipeInterrupt)
        pipe = Pipe::Status;
    else if (pipeName == kPipeBulkIn)
        pipe = Pipe::BulkIn;
    else
        return kInvalidHandle;

    std::shared_ptr<UsbDevice> opened;
    if (pipe == Pipe::Control) {
        std::string problem;
        opened = UsbDevice::Open(device, &problem);
        if (!problem.empty())
            SetLastProblem(problem);
        if (!opened)
            return kInvalidHandle;
    }
    std::lock_guard lock(mutex_);
    if (pipe == Pipe::Control) {
        byThread_[{std::this_thread::get_id(), device}] = opened;
        byPath_[device] = opened;
    } else {
        auto mine = byThread_.find({std::this_thread::get_id(), device});
        if (mine != byThread_.end())
            opened = mine->second.lock();
        if (!opened) {
            auto any = byPath_.find(device);
            if (any != byPath_.end())
                opened = any->second.lock();
        }
        if (!opened || !opened->Usable())
            return kInvalidHandle;
    }
    const DriverHandle h = next_++;
    handles_[h] = Entry{std::move(opened), pipe};
    return h;
}

bool UsbDriver::Close(DriverHandle handle) {
    Entry entry;
    {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(handle);
        if (it == handles_.end())
            return false;
        entry = std::move(it->second);
        handles_.erase(it);
        for (auto b = byThread_.begin(); b != byThread_.end();)
            b = b->second.expired() ? byThread_.erase(b) : std::next(b);
        for (auto b = byPath_.begin(); b != byPath_.end();)
            b = b->second.expired() ? byPath_.erase(b) : std::next(b);
    }
    switch (entry.pipe) {
        case Pipe::Control:
            entry.device->Shutdown();
            break;
        case Pipe::Status:
            entry.device->StopStatusWait();
            break;
        case Pipe::Record:
            entry.device->StopRecording();
            break;
        default:
            break;
    }
    return true;
}

bool UsbDriver::DeviceIoControl(DriverHandle handle, std::uint32_t code, const void* in,
                                std::uint32_t inLength, void* out, std::uint32_t outLength,
                                std::uint32_t* bytesReturned) {
    std::uint32_t scratch = 0;
    if (!bytesReturned)
        bytesReturned = &scratch;
    *bytesReturned = 0;
    Entry entry;
    {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(handle);
        if (it == handles_.end())
            return false;
        entry = it->second;
    }
    UsbDevice& device = *entry.device;
    const auto* input = static_cast<const std::uint8_t*>(in);
    auto* output = static_cast<std::uint8_t*>(out);
    // The transfers whose input is the 32-bit length of the output buffer.
    const bool lengthIn = input && inLength >= 4;
    const std::uint32_t length = lengthIn ? std::min(Le32(input), outLength) : 0;

    switch (entry.pipe) {
        case Pipe::Control:
            switch (code) {
                case IOCTL_VENDOR_READ:
                case IOCTL_VENDOR_WRITE: {
                    if (!input || inLength < kSetupRecordSize)
                        return false;
                    const std::uint16_t dataLength = Le16(input + 5);
                    if (dataLength > 0 && (!output || outLength < dataLength))
                        return false;
                    return device.Control(code == IOCTL_VENDOR_READ, input[0], Le16(input + 1),
                                          Le16(input + 3), output, dataLength, bytesReturned);
                }
                case IOCTL_INTERRUPT_READ: {
                    const auto status = device.Status();
                    if (!status)
                        return false;
                    *bytesReturned = *status;
                    return true;
                }
                case IOCTL_INTERRUPT_STOP:
                    device.StopStatusWait();
                    *bytesReturned = 1;
                    return true;
                case IOCTL_RECORD_READ: {
                    const auto position = device.RecordPosition();
                    if (!position)
                        return false;
                    *bytesReturned = *position;
                    return true;
                }
                case IOCTL_RECORD_STOP:
                    device.StopRecording();
                    return device.Usable();
                default:
                    return false;
            }
        case Pipe::Status:
            if (code != IOCTL_INTERRUPT_START || !device.WaitStatusStop())
                return false;
            *bytesReturned = std::min<std::uint32_t>(outLength, kStatusReportLength);
            if (output)
                std::memset(output, 0, *bytesReturned);
            return true;
        case Pipe::Record:
            if (code != IOCTL_RECORD_START || !lengthIn)
                return false;
            return device.Record(output, length, bytesReturned);
        case Pipe::BulkOut:
            if (code != IOCTL_BULK_OUT || !lengthIn)
                return false;
            return device.Bulk(kEndpointBulkOut, output, length, bytesReturned);
        case Pipe::BulkIn:
            if (code != IOCTL_BULK_IN || !lengthIn)
                return false;
            return device.Bulk(kEndpointBulkIn, output, length, bytesReturned);
    }
    return false;
}

}  // namespace usbline::usb

namespace usbline {

std::shared_ptr<Driver> UsbDriverInstance() {
    static auto driver = std::make_shared<usb::UsbDriver>();
    return driver;
}

}  // namespace usbline
