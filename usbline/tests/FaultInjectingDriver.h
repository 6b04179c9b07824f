#pragma once
// A test driver that records every open, close and device-control call and
// fails the ones a test asks it to. Start requests (interrupt, record) block
// until the matching stop request or the close of their handle, as the real
// driver's do.

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "usbline/ControlCodes.h"
#include "usbline/Driver.h"

namespace usbline::test {

struct RecordedCall {
    DriverHandle handle;
    std::uint32_t code;
    std::vector<std::uint8_t> input;
    bool outputNull;
    std::uint32_t outLength;
};

class FaultInjectingDriver : public Driver {
public:
    // Fail opens of paths ending with this text (e.g. "PIPE86", or the device
    // name itself for the control handle).
    void FailOpenOf(const std::string& suffix) {
        std::lock_guard lock(mutex_);
        failOpen_.insert(suffix);
    }
    // Fail every call with this code from now on.
    void FailCode(std::uint32_t code) {
        std::lock_guard lock(mutex_);
        failCode_.insert(code);
    }
    // bytesReturned answered for this code.
    void AnswerCount(std::uint32_t code, std::uint32_t count) {
        std::lock_guard lock(mutex_);
        counts_[code] = count;
    }
    // Bytes copied into the output buffer of vendor reads.
    void AnswerData(std::vector<std::uint8_t> data) {
        std::lock_guard lock(mutex_);
        data_ = std::move(data);
    }

    DriverHandle Open(const char* path) override {
        std::lock_guard lock(mutex_);
        std::string p(path);
        opened_.push_back(p);
        for (const auto& s : failOpen_)
            if (p.size() >= s.size() && p.compare(p.size() - s.size(), s.size(), s) == 0)
                return kInvalidHandle;
        DriverHandle h = nextHandle_++;
        handlePath_[h] = p;
        live_.insert(h);
        return h;
    }

    bool Close(DriverHandle handle) override {
        std::lock_guard lock(mutex_);
        closed_.push_back(handlePath_.count(handle) ? handlePath_[handle] : "?");
        bool was = live_.erase(handle) != 0;
        changed_.notify_all();
        return was;
    }

    bool DeviceIoControl(DriverHandle handle, std::uint32_t code, const void* in,
                         std::uint32_t inLength, void* out, std::uint32_t outLength,
                         std::uint32_t* bytesReturned) override {
        std::unique_lock lock(mutex_);
        const auto* bytes = static_cast<const std::uint8_t*>(in);
        calls_.push_back(RecordedCall{handle, code,
                                      std::vector<std::uint8_t>(bytes, bytes + (in ? inLength : 0)),
                                      out == nullptr, outLength});
        changed_.notify_all();
        *bytesReturned = 0;
        if (!live_.count(handle)) return false;
        if (failCode_.count(code)) return false;
        if (code == IOCTL_INTERRUPT_STOP) ++interruptStops_;
        if (code == IOCTL_RECORD_STOP) ++recordStops_;
        if (code == IOCTL_INTERRUPT_START || code == IOCTL_RECORD_START) {
            int& stops = code == IOCTL_INTERRUPT_START ? interruptStops_ : recordStops_;
            int seen = stops;
            changed_.wait(lock, [&] { return stops != seen || !live_.count(handle); });
            if (!live_.count(handle)) return false;  // closed underneath: the call fails
        }
        if (code == IOCTL_VENDOR_READ && out)
            for (std::uint32_t i = 0; i < outLength && i < data_.size(); ++i)
                static_cast<std::uint8_t*>(out)[i] = data_[i];
        auto c = counts_.find(code);
        *bytesReturned = c != counts_.end() ? c->second : outLength;
        return true;
    }

    std::vector<std::string> Opened() {
        std::lock_guard lock(mutex_);
        return opened_;
    }
    std::vector<std::string> Closed() {
        std::lock_guard lock(mutex_);
        return closed_;
    }
    std::vector<RecordedCall> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    std::size_t LiveHandles() {
        std::lock_guard lock(mutex_);
        return live_.size();
    }
    // Waits until `n` calls have been recorded.
    void WaitForCalls(std::size_t n) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return calls_.size() >= n; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<std::string> failOpen_;
    std::set<std::uint32_t> failCode_;
    std::map<std::uint32_t, std::uint32_t> counts_;
    std::vector<std::uint8_t> data_;
    std::vector<std::string> opened_, closed_;
    std::vector<RecordedCall> calls_;
    std::map<DriverHandle, std::string> handlePath_;
    std::set<DriverHandle> live_;
    DriverHandle nextHandle_ = 100;
    int interruptStops_ = 0;
    int recordStops_ = 0;
};

}  // namespace usbline::test
