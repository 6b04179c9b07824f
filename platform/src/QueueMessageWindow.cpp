#include "platform/QueueMessageWindow.h"

#include <algorithm>

#include "platform/Tick.h"

namespace vt {

bool QueueMessageWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // Notified under the lock: once a reader can see the message, the poster
    // no longer touches this object, so the reader may destroy the window.
    try {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        queue_.push_back(PostedMessage{message, wParam, lParam, TickCount64()});
        changed_.notify_all();
    } catch (...) {
        return false;  // out of memory: the message is lost, the poster is not stopped
    }
    return true;
}

std::optional<PostedMessage> QueueMessageWindow::Take(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [&] { return !queue_.empty() || closed_; }))
        return std::nullopt;
    if (queue_.empty()) return std::nullopt;
    PostedMessage m = queue_.front();
    queue_.pop_front();
    return m;
}

std::optional<PostedMessage> QueueMessageWindow::WaitFor(UINT message,
                                                         std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    auto find = [&] {
        return std::find_if(queue_.begin(), queue_.end(),
                            [&](const PostedMessage& m) { return m.message == message; });
    };
    if (!changed_.wait_for(lock, timeout, [&] { return find() != queue_.end() || closed_; }))
        return std::nullopt;
    auto it = find();
    if (it == queue_.end()) return std::nullopt;
    PostedMessage m = *it;
    queue_.erase(it);
    return m;
}

std::vector<PostedMessage> QueueMessageWindow::Drain() {
    std::lock_guard lock(mutex_);
    std::vector<PostedMessage> all(queue_.begin(), queue_.end());
    queue_.clear();
    return all;
}

std::vector<PostedMessage> QueueMessageWindow::Snapshot() const {
    std::lock_guard lock(mutex_);
    return {queue_.begin(), queue_.end()};
}

std::size_t QueueMessageWindow::Count(UINT message) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(
        queue_.begin(), queue_.end(), [&](const PostedMessage& m) { return m.message == message; }));
}

void QueueMessageWindow::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

}  // namespace vt
