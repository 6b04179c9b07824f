#include "usbline/DriverRegistry.h"

#include <map>
#include <mutex>

#include "usbline/UsbAdapters.h"

namespace usbline {

namespace {

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::shared_ptr<Driver>>& Registered() {
    static std::map<std::string, std::shared_ptr<Driver>> drivers;
    return drivers;
}

}  // namespace

void RegisterDriver(const std::string& pathPrefix, std::shared_ptr<Driver> driver) {
    std::lock_guard lock(RegistryMutex());
    Registered()[pathPrefix] = std::move(driver);
}

void UnregisterDriver(const std::string& pathPrefix) {
    std::lock_guard lock(RegistryMutex());
    Registered().erase(pathPrefix);
}

std::shared_ptr<Driver> DriverForPath(const std::string& path) {
    {
        std::lock_guard lock(RegistryMutex());
        std::shared_ptr<Driver> best;
        std::size_t bestLength = 0;
        for (const auto& [prefix, driver] : Registered()) {
            if (path.compare(0, prefix.size(), prefix) == 0 && prefix.size() >= bestLength) {
                best = driver;
                bestLength = prefix.size();
            }
        }
        if (best) return best;
    }
    if (path.rfind(kUsbPathPrefix, 0) == 0) return UsbDriverInstance();
    return SocketDriverInstance();
}

}  // namespace usbline
