// Placeholder until the simulated adapter's socket client lands: every open
// fails, as with no adapter present.
#include "usbline/DriverRegistry.h"

namespace usbline {

namespace {
class NoDeviceDriver : public Driver {
public:
    DriverHandle Open(const char*) override { return kInvalidHandle; }
    bool Close(DriverHandle) override { return false; }
    bool DeviceIoControl(DriverHandle, std::uint32_t, const void*, std::uint32_t, void*,
                         std::uint32_t, std::uint32_t*) override {
        return false;
    }
};
}  // namespace

std::shared_ptr<Driver> SocketDriverInstance() {
    static auto driver = std::make_shared<NoDeviceDriver>();
    return driver;
}

}  // namespace usbline
