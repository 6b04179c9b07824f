#pragma once
// A message window backed by a queue: tools print what arrives, tests
// inspect and wait for it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/MessageWindow.h"

namespace vt {

struct PostedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::uint64_t tickMs = 0;  // TickCount64() when posted
};

class QueueMessageWindow : public MessageWindow {
public:
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

    // Removes and returns the oldest message, waiting up to `timeout`.
    std::optional<PostedMessage> Take(std::chrono::milliseconds timeout);

    // Removes and returns the oldest message numbered `message`, waiting up
    // to `timeout`; other messages stay queued in their order.
    std::optional<PostedMessage> WaitFor(UINT message, std::chrono::milliseconds timeout);

    // Removes and returns everything queued now.
    std::vector<PostedMessage> Drain();

    // Copies of the queued messages, oldest first.
    std::vector<PostedMessage> Snapshot() const;

    // How many queued messages carry this number.
    std::size_t Count(UINT message) const;

    // After Close, Post refuses (returns false) and waiting calls return.
    void Close();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PostedMessage> queue_;
    bool closed_ = false;
};

}  // namespace vt
