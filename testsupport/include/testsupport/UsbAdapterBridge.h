#pragma once
// A simulated adapter on an emulated USB bus, for tests of the real
// adapter's driver. It adds the adapter to a umockdev testbed (sysfs, udev,
// /dev/bus/usb) and answers the usbfs requests libusb makes on it (URB
// submit, reap, discard, claim, release, driver detach) from a linesim
// model, so the real libusb code path runs against the model every other
// test uses:
//   control transfers  vendor requests of the model (a refused one stalls)
//   0x86 interrupt IN  the model's status word, whenever it changes
//   0x82 interrupt IN  the model's recording records, one per transfer
//   0x04 bulk OUT      the model's playback stream, at its drain rate
//   0x87 bulk IN       the model's bulk-in answer
//
// The process must run under umockdev-wrapper (the preload library);
// Available() says whether it does. A usbfs file never signals "a URB is
// ready" through poll() here as the kernel's does, so a reap that finds
// nothing waits up to kReapHoldMs for one instead of answering "none" at
// once: that keeps libusb's event loop from spinning while idle.
//
// Thread-safe. The destructor stops the bridge's thread; the tests close
// their adapters first.

#include <cstdint>
#include <memory>
#include <string>

namespace linesim {
class Model;
}

namespace vt::test {

class UsbAdapterBridge {
public:
    static constexpr unsigned kReapHoldMs = 10;

    struct Options {
        std::uint16_t vendor = 0x1234;
        std::uint16_t product = 0x5678;
        // False: the interface lacks the status endpoint 0x86.
        bool fourEndpoints = true;
        // False: control transfers are never answered (until cancelled).
        bool answersControl = true;
        // True: a kernel driver holds the interface until it is detached.
        bool kernelDriverBound = false;
    };

    struct Counters {
        int claims = 0;
        int releases = 0;
        int detaches = 0;
        int controlTransfers = 0;
        std::uint64_t recordsSent = 0;
        std::uint64_t recordsDropped = 0;  // the host had no transfer pending for them
        std::uint64_t statusReports = 0;
    };

    UsbAdapterBridge();
    ~UsbAdapterBridge();
    UsbAdapterBridge(const UsbAdapterBridge&) = delete;
    UsbAdapterBridge& operator=(const UsbAdapterBridge&) = delete;

    static bool Available();
    static std::string SkipReason();

    // Plugs an adapter answered by `model` into port `port` of bus 1; its
    // path is "usb:1-<port>". The model must outlive the plug.
    std::string Plug(linesim::Model& model, int port, const Options& options);
    std::string Plug(linesim::Model& model, int port = 4);
    // Pulls it out: transfers in flight fail with "no device", the device
    // leaves sysfs and /dev, and a removal uevent is sent.
    void Unplug(int port = 4);

    Counters CountersOf(int port = 4);
    // The testbed's root folder (for tests that change a node's access).
    std::string RootFolder() const;
    // The /dev path of the adapter in `port` (inside the testbed).
    std::string DeviceNode(int port = 4);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vt::test
