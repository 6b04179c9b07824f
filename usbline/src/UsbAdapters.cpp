#include "usbline/UsbAdapters.h"

#include <libusb.h>

#include "UsbDriver.h"
#include "UsbScan.h"
#include "platform/DeviceEnumeration.h"
#include "usbline/DriverRegistry.h"

namespace usbline {

namespace {

// One private libusb context per look: nothing of libusb stays behind
// between scans, and a process that forks scans afresh.
class ScanContext {
public:
    ScanContext() {
        if (libusb_init(&context_) != 0)
            context_ = nullptr;
    }
    ~ScanContext() {
        if (context_)
            libusb_exit(context_);
    }
    libusb_context* Get() const { return context_; }

private:
    libusb_context* context_ = nullptr;
};

std::vector<UsbAdapter> Scan(bool probeOpen) {
    std::vector<UsbAdapter> adapters;
    const std::vector<UsbId> ids = LoadAdapterIds();
    if (ids.empty()) {
        usb::SetLastProblem({});  // nothing listed: nothing to complain about
        return adapters;
    }
    std::string lastProblem;
    {
        ScanContext context;
        if (!context.Get())
            return adapters;
        usb::UsbScan scan(context.Get(), ids);
        for (const usb::FoundDevice& found : scan.Devices()) {
            UsbAdapter a;
            a.path = found.path;
            a.id = found.id;
            a.usable = found.endpointProblem.empty();
            if (!a.usable)
                a.problem = lastProblem = usb::RefusedLine(found);
            adapters.push_back(std::move(a));
        }
    }
    usb::SetLastProblem(lastProblem);
    if (probeOpen) {
        auto driver = UsbDriverInstance();
        for (UsbAdapter& a : adapters) {
            if (!a.usable)
                continue;
            usb::SetLastProblem({});
            const DriverHandle h = driver->Open(a.path.c_str());
            a.openable = h != kInvalidHandle;
            if (a.openable)
                driver->Close(h);
            else
                a.problem = AdapterProblem();
        }
    }
    return adapters;
}

}  // namespace

std::vector<UsbAdapter> ListUsbAdapters(bool probeOpen) {
    return Scan(probeOpen);
}

std::vector<std::string> UsbAdapterPaths() {
    std::vector<std::string> paths;
    for (const UsbAdapter& a : Scan(false))
        if (a.usable)
            paths.push_back(a.path);
    return paths;
}

namespace {

// While this library is loaded the device enumeration lists the real
// adapters first.
struct ListerRegistration {
    ListerRegistration() { vt::SetRealDeviceLister(&UsbAdapterPaths); }
    ~ListerRegistration() { vt::SetRealDeviceLister(nullptr); }
} g_registration;

}  // namespace

}  // namespace usbline
