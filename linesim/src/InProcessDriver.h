#pragma once
// usbline's driver seam played directly by a model, without sockets: the
// back end of InProcessAdapter. Pipes are bound to their control handle as
// in the socket back end: a pipe belongs to the latest control handle that
// the same thread opened on the device (Device_Open opens all five in one
// thread), else to the latest one opened by any thread.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "DeviceSession.h"
#include "linesim/Model.h"
#include "usbline/Driver.h"

namespace linesim {

class InProcessDriver : public usbline::Driver {
public:
    InProcessDriver(std::shared_ptr<Model> model, std::string devicePath);

    usbline::DriverHandle Open(const char* path) override;
    bool Close(usbline::DriverHandle handle) override;
    bool DeviceIoControl(usbline::DriverHandle handle, std::uint32_t code, const void* in,
                         std::uint32_t inLength, void* out, std::uint32_t outLength,
                         std::uint32_t* bytesReturned) override;

    // Wakes every waiting call, so that an unplug fails them at once.
    void WakeAll();

private:
    // One Device_Open: the session and the ring position of its recording.
    struct OpenDevice {
        explicit OpenDevice(Model& model) : session(model) {}
        DeviceSession session;
        std::atomic<std::uint32_t> recordPosition{0};
    };
    struct Entry {
        std::shared_ptr<OpenDevice> device;
        PipeKind pipe;
        std::shared_ptr<std::atomic<bool>> closed;
    };

    std::shared_ptr<Model> model_;
    const std::string path_;
    std::mutex mutex_;
    std::map<usbline::DriverHandle, Entry> handles_;
    std::map<std::thread::id, std::weak_ptr<OpenDevice>> lastOpenByThread_;
    std::weak_ptr<OpenDevice> lastOpen_;
    usbline::DriverHandle next_ = 0x1000;
};

}  // namespace linesim
