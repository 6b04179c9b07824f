#pragma once
// The window that line events are posted to. Engines post; they never wait
// for the receiving thread, so Post must return at once from any thread.

#include <cstdint>

namespace vt {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

// First message number free for the system's own messages.
inline constexpr UINT WM_USER = 0x400;

class MessageWindow {
public:
    virtual ~MessageWindow() = default;

    // Queues the message for the window's thread. Thread-safe, non-blocking.
    // Returns false when the window no longer accepts messages.
    virtual bool Post(UINT message, WPARAM wParam, LPARAM lParam) noexcept = 0;
};

// The handle the engines keep: a non-owning pointer (null = no window).
using HWND = MessageWindow*;

}  // namespace vt
