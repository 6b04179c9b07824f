#include "usbline/CTyCtiInstance.h"

#include <cstdio>
#include <cstring>

#include "usbline/ControlCodes.h"
#include "usbline/DriverRegistry.h"

using usbline::DriverHandle;
using usbline::kInvalidHandle;

CTyCtiInstance::CTyCtiInstance() = default;

CTyCtiInstance::~CTyCtiInstance() = default;

void CTyCtiInstance::SetDeviceName(const char* name) {
    if (!name) return;
    nameSet_ = 1;
    std::memset(deviceName_, 0, sizeof deviceName_);
    std::size_t n = ::strnlen(name, sizeof deviceName_ - 1);
    std::memcpy(deviceName_, name, n);
}

DriverHandle CTyCtiInstance::OpenPath(const char* pipe) {
    std::memset(path_, 0, sizeof path_);
    // A path that does not fit is cut; the open then fails like any bad path.
    int written = pipe ? std::snprintf(path_, sizeof path_, "%s/%s", deviceName_, pipe)
                       : std::snprintf(path_, sizeof path_, "%s", deviceName_);
    if (written < 0) path_[0] = '\0';
    return driver_.load()->Open(path_);
}

int CTyCtiInstance::Device_Open() {
    std::memset(path_, 0, sizeof path_);
    driver_.store(usbline::DriverForPath(deviceName_));

    DriverHandle control = OpenPath(nullptr);
    if (control == kInvalidHandle) return 0;
    control_.store(control);

    // Fixed order; on the first failure everything opened so far is closed.
    struct Pipe {
        const char* name;
        std::atomic<DriverHandle>* handle;
    } pipes[] = {{usbline::kPipeRecord, &record_},
                 {usbline::kPipeBulkOut, &bulkOut_},
                 {usbline::kPipeInterrupt, &interrupt_},
                 {usbline::kPipeBulkIn, &bulkIn_}};
    for (const Pipe& pipe : pipes) {
        DriverHandle h = OpenPath(pipe.name);
        if (h == kInvalidHandle) {
            Device_Close();
            return 0;
        }
        pipe.handle->store(h);
    }
    return 1;
}

int CTyCtiInstance::Device_Close() {
    std::shared_ptr<usbline::Driver> driver = driver_.load();
    for (std::atomic<DriverHandle>* h : {&control_, &record_, &bulkOut_, &interrupt_, &bulkIn_}) {
        DriverHandle old = h->exchange(kInvalidHandle);
        if (old != kInvalidHandle && driver) driver->Close(old);
    }
    return 1;
}

int CTyCtiInstance::VendorRequest(std::uint32_t code, std::uint8_t request, std::uint16_t value,
                                  std::uint16_t index, std::uint16_t length, void* data) {
    DriverHandle control = control_.load();
    if (control == kInvalidHandle) return 0;
    const std::uint8_t setup[usbline::kSetupRecordSize] = {
        request,
        static_cast<std::uint8_t>(value & 0xFF),
        static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(index & 0xFF),
        static_cast<std::uint8_t>(index >> 8),
        static_cast<std::uint8_t>(length & 0xFF),
        static_cast<std::uint8_t>(length >> 8)};
    void* out = length == 0 ? nullptr : data;
    std::uint32_t returned = 0;
    if (!driver_.load()->DeviceIoControl(control, code, setup, sizeof setup, out, length,
                                         &returned)) {
        Device_Close();
        return 0;
    }
    return 1;
}

int CTyCtiInstance::Vendor_Read(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                                std::uint16_t length, void* data) {
    return VendorRequest(usbline::IOCTL_VENDOR_READ, request, value, index, length, data);
}

int CTyCtiInstance::Vendor_Write(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                                 std::uint16_t length, void* data) {
    return VendorRequest(usbline::IOCTL_VENDOR_WRITE, request, value, index, length, data);
}

namespace {

// Transfers whose input is the 32-bit length and whose output is the buffer.
std::uint32_t LengthTransfer(usbline::Driver& driver, DriverHandle handle, std::uint32_t code,
                             std::uint8_t* buffer, std::uint32_t length, bool* ok) {
    std::uint32_t returned = 0;
    *ok = driver.DeviceIoControl(handle, code, &length, sizeof length, buffer, length, &returned);
    return returned;
}

}  // namespace

std::uint32_t CTyCtiInstance::Bulk_IN(std::uint8_t* buffer, std::uint32_t length) {
    DriverHandle h = bulkIn_.load();
    if (h == kInvalidHandle) return 0;
    bool ok = false;
    std::uint32_t n = LengthTransfer(*driver_.load(), h, usbline::IOCTL_BULK_IN, buffer, length, &ok);
    if (!ok) {
        Device_Close();
        return 0;
    }
    return n;
}

std::uint32_t CTyCtiInstance::Bulk_OUT(std::uint8_t* buffer, std::uint32_t length) {
    DriverHandle h = bulkOut_.load();
    if (h == kInvalidHandle) return 0;
    bool ok = false;
    std::uint32_t n =
        LengthTransfer(*driver_.load(), h, usbline::IOCTL_BULK_OUT, buffer, length, &ok);
    if (!ok) {
        Device_Close();
        return 0;
    }
    return n;
}

std::uint32_t CTyCtiInstance::Interrupt_Start() {
    DriverHandle h = interrupt_.load();
    if (h == kInvalidHandle) return 0;
    std::uint32_t selector = 2;
    std::uint8_t scratch[2] = {};
    std::uint32_t returned = 0;
    if (!driver_.load()->DeviceIoControl(h, usbline::IOCTL_INTERRUPT_START, &selector,
                                         sizeof selector, scratch, sizeof scratch, &returned)) {
        Device_Close();
        return 0;
    }
    return returned;
}

std::uint32_t CTyCtiInstance::CountOnlyRequest(std::atomic<DriverHandle>& handle,
                                               std::uint32_t code, std::uint32_t failure) {
    DriverHandle h = handle.load();
    if (h == kInvalidHandle) return failure;
    std::uint32_t returned = 0;
    if (!driver_.load()->DeviceIoControl(h, code, nullptr, 0, nullptr, 0, &returned)) {
        Device_Close();
        return failure;
    }
    return returned;
}

std::uint32_t CTyCtiInstance::Interrupt_Read() {
    return CountOnlyRequest(control_, usbline::IOCTL_INTERRUPT_READ, 0xFFFFFFFFu);
}

std::uint32_t CTyCtiInstance::Interrupt_Stop() {
    return CountOnlyRequest(control_, usbline::IOCTL_INTERRUPT_STOP, 0);
}

std::uint32_t CTyCtiInstance::IntRecord_Start(std::uint8_t* buffer, std::uint32_t length) {
    if (length == 0) return 0;
    DriverHandle h = record_.load();
    if (h == kInvalidHandle) {
        Device_Close();
        return 0;
    }
    // The call's success is not looked at: a failed start just returns 0
    // and leaves the handles open.
    bool ok = false;
    return LengthTransfer(*driver_.load(), h, usbline::IOCTL_RECORD_START, buffer, length, &ok);
}

std::uint32_t CTyCtiInstance::IntRecord_Read() {
    return CountOnlyRequest(control_, usbline::IOCTL_RECORD_READ, 0xFFFFFFFFu);
}

int CTyCtiInstance::IntRecord_Stop() {
    DriverHandle h = control_.load();
    if (h == kInvalidHandle) return 0;
    std::uint32_t returned = 0;
    if (!driver_.load()->DeviceIoControl(h, usbline::IOCTL_RECORD_STOP, nullptr, 0, nullptr, 0,
                                         &returned)) {
        Device_Close();
        return 0;
    }
    return 1;
}
