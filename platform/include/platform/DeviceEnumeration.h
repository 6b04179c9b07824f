#pragma once
// Lists the device interface paths of the adapters present, in a stable
// order. Real adapters come first, as the registered lister names them (the
// USB back end of usbline registers one while it is loaded). Then two kinds
// of simulated adapter:
//  - simulated adapters served by a `linesim serve` daemon, present while
//    their device socket <DeviceSocketFolder()>/sim<N>.dev exists (listed by
//    N ascending);
//  - in-process adapters that a test registers (listed first, in
//    registration order).

#include <filesystem>
#include <string>
#include <vector>

namespace vt {

// <RuntimeFolder()>/tyline, created with mode 0700 when asked for; empty
// (and so are the socket paths) when there is no private runtime folder.
std::filesystem::path DeviceSocketFolder();

// Path of simulated adapter N's device socket and control socket.
std::filesystem::path DeviceSocketPath(int adapterId);
std::filesystem::path ControlSocketPath(int adapterId);

std::vector<std::string> EnumerateDeviceInterfaces();

// Sets the lister of real adapters (null: none). Thread-safe.
using DeviceLister = std::vector<std::string> (*)();
void SetRealDeviceLister(DeviceLister lister);

// Makes an in-process adapter present / absent. Thread-safe.
void RegisterDeviceInterface(const std::string& path);
void UnregisterDeviceInterface(const std::string& path);

}  // namespace vt
