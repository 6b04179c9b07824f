#include "platform/AutoResetEvent.h"

namespace vt {

void AutoResetEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    cv_.notify_one();
}

void AutoResetEvent::Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool AutoResetEvent::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [&] { return signalled_; })) return false;
    signalled_ = false;
    return true;
}

void AutoResetEvent::Wait() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return signalled_; });
    signalled_ = false;
}

}  // namespace vt
