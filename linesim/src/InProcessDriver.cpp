#include "InProcessDriver.h"

#include <cstring>

#include "usbline/AdapterProtocol.h"
#include "usbline/ControlCodes.h"

namespace linesim {

using usbline::protocol::kRecordSize;

InProcessDriver::InProcessDriver(std::shared_ptr<Model> model, std::string devicePath)
    : model_(std::move(model)), path_(std::move(devicePath)) {}

usbline::DriverHandle InProcessDriver::Open(const char* path) {
    if (!path || !model_->IsPlugged())
        return usbline::kInvalidHandle;
    const std::string p(path);
    if (p.compare(0, path_.size(), path_) != 0)
        return usbline::kInvalidHandle;
    std::string pipeName;
    if (p.size() > path_.size()) {
        if (p[path_.size()] != '/')
            return usbline::kInvalidHandle;
        pipeName = p.substr(path_.size() + 1);
    }
    const std::optional<PipeKind> pipe = PipeOfName(pipeName);
    if (!pipe)
        return usbline::kInvalidHandle;

    std::lock_guard lock(mutex_);
    std::shared_ptr<OpenDevice> device;
    if (*pipe == PipeKind::Control) {
        device = std::make_shared<OpenDevice>(*model_);
        lastOpenByThread_[std::this_thread::get_id()] = device;
        lastOpen_ = device;
    } else {
        auto mine = lastOpenByThread_.find(std::this_thread::get_id());
        if (mine != lastOpenByThread_.end())
            device = mine->second.lock();
        if (!device)
            device = lastOpen_.lock();
        if (!device || !device->session.Alive())
            return usbline::kInvalidHandle;
    }
    const usbline::DriverHandle h = next_++;
    handles_[h] = Entry{device, *pipe, std::make_shared<std::atomic<bool>>(false)};
    return h;
}

bool InProcessDriver::Close(usbline::DriverHandle handle) {
    Entry entry;
    {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(handle);
        if (it == handles_.end())
            return false;
        entry = it->second;
        handles_.erase(it);
        // Forget thread bindings whose open is gone.
        for (auto b = lastOpenByThread_.begin(); b != lastOpenByThread_.end();)
            b = b->second.expired() ? lastOpenByThread_.erase(b) : std::next(b);
    }
    entry.closed->store(true);
    entry.device->session.Wake();
    return true;
}

void InProcessDriver::WakeAll() {
    std::vector<std::shared_ptr<OpenDevice>> devices;
    {
        std::lock_guard lock(mutex_);
        for (auto& [h, e] : handles_) devices.push_back(e.device);
    }
    for (auto& d : devices) d->session.Wake();
}

bool InProcessDriver::DeviceIoControl(usbline::DriverHandle handle, std::uint32_t code,
                                      const void* in, std::uint32_t inLength, void* out,
                                      std::uint32_t outLength, std::uint32_t* bytesReturned) {
    std::uint32_t scratch = 0;
    if (!bytesReturned)
        bytesReturned = &scratch;
    *bytesReturned = 0;
    Entry entry;
    {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(handle);
        if (it == handles_.end())
            return false;
        entry = it->second;
    }
    OpenDevice& device = *entry.device;
    auto* outBytes = static_cast<std::uint8_t*>(out);
    const std::size_t ringRecords = outBytes ? outLength / kRecordSize : 0;
    if (code == usbline::IOCTL_RECORD_START)
        device.recordPosition.store(0);
    DeviceSession::RecordSink sink = [&](const std::uint8_t* records, std::size_t count) {
        if (ringRecords == 0)
            return true;
        std::uint32_t pos = device.recordPosition.load();
        for (std::size_t r = 0; r < count; ++r) {
            std::memcpy(outBytes + static_cast<std::size_t>(pos) * kRecordSize,
                        records + r * kRecordSize, kRecordSize);
            pos = static_cast<std::uint32_t>((pos + 1) % ringRecords);
        }
        device.recordPosition.store(pos);
        return true;
    };
    auto closed = entry.closed;
    const bool ok = device.session.Call(
        entry.pipe, code, static_cast<const std::uint8_t*>(in), inLength, outBytes, outLength,
        bytesReturned, [closed] { return closed->load(); }, sink);
    if (ok && code == usbline::IOCTL_RECORD_READ)
        *bytesReturned = device.recordPosition.load();
    return ok && !closed->load();
}

}  // namespace linesim
