#pragma once
// Chooses the driver back end for a device path: the back end registered
// for the longest matching prefix, else the real adapter's USB back end for
// "usb:" paths, else the simulated adapter's socket client. Registration is
// for tests and in-process adapters; thread-safe.

#include <memory>
#include <string>

#include "usbline/Driver.h"

namespace usbline {

// Keeps `driver` alive while registered.
void RegisterDriver(const std::string& pathPrefix, std::shared_ptr<Driver> driver);
void UnregisterDriver(const std::string& pathPrefix);

// Never null.
std::shared_ptr<Driver> DriverForPath(const std::string& path);

// The simulated adapter daemon's socket client, the default back end.
std::shared_ptr<Driver> SocketDriverInstance();

// The real adapter's back end over libusb (UsbAdapters.h).
std::shared_ptr<Driver> UsbDriverInstance();

}  // namespace usbline
