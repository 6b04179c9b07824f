#pragma once
// The real adapters present: USB devices whose VID:PID is listed in
// adapters.conf (AdapterIds.h), named by bus and port path ("usb:1-1.4"), so
// that a re-plug into the same port gives the same path. Their driver back
// end is registered for the "usb:" prefix.

#include <string>
#include <vector>

#include "usbline/AdapterIds.h"

namespace usbline {

inline constexpr const char* kUsbPathPrefix = "usb:";

struct UsbAdapter {
    std::string path;  // "usb:1-1.4"
    UsbId id;
    // It has the adapter's interface and four endpoints.
    bool usable = false;
    // Only when asked for: it could be opened and claimed just now.
    bool openable = false;
    // One line when it is not usable or not openable: what and what to do.
    std::string problem;
};

// Every present device that the lists name, ordered by bus and port path.
// With `probeOpen` each usable one is opened and closed again.
std::vector<UsbAdapter> ListUsbAdapters(bool probeOpen);

// The paths of the usable adapters present (the device enumeration's real
// adapters). Looks at USB only when the lists name at least one device.
std::vector<std::string> UsbAdapterPaths();

// Why the last scan or open left a present adapter out (wrong endpoints,
// no permission, in use): one line saying so and what to do. Empty when
// nothing was wrong. Thread-safe.
std::string AdapterProblem();

}  // namespace usbline
