#pragma once
// One look at the USB bus through a libusb context: the listed devices with
// their paths and whether their interface has the four endpoints. Shared by
// the enumeration and the open.

#include <libusb.h>

#include <string>
#include <vector>

#include "usbline/AdapterIds.h"

namespace usbline::usb {

struct FoundDevice {
    libusb_device* device = nullptr;  // referenced by the scan
    std::string path;                 // "usb:1-1.4"
    UsbId id;
    std::string endpointProblem;  // empty when the four endpoints are there
    bool recordIsBulk = false;    // PIPE82 as a bulk endpoint (else interrupt)
};

class UsbScan {
public:
    UsbScan(libusb_context* context, const std::vector<UsbId>& ids);
    ~UsbScan();
    UsbScan(const UsbScan&) = delete;
    UsbScan& operator=(const UsbScan&) = delete;

    // Ordered by bus and port path.
    const std::vector<FoundDevice>& Devices() const { return devices_; }
    const FoundDevice* Find(const std::string& path) const;

private:
    libusb_device** list_ = nullptr;
    std::vector<FoundDevice> devices_;
};

// The line that refuses a listed device without the four endpoints.
std::string RefusedLine(const FoundDevice& found);
// The problem line for a libusb open or claim error on `found`.
std::string OpenProblem(const FoundDevice& found, int libusbError, bool claiming);

// Records / reads the last problem line (AdapterProblem()).
void SetLastProblem(const std::string& line);

}  // namespace usbline::usb
