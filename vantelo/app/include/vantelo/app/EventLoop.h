#pragma once
// The headless program's window thread: posted line messages, tasks from
// other threads and window timers, handled one at a time on the thread that
// calls Run.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "platform/MessageWindow.h"
#include "platform/TimerHost.h"

namespace vantelo {

class EventLoop : public vt::MessageWindow, public vt::TimerHost {
public:
    using MessageHandler = std::function<void(vt::UINT, vt::WPARAM, vt::LPARAM)>;

    void SetMessageHandler(MessageHandler handler) { onMessage_ = std::move(handler); }
    void SetTimerSink(vt::TimerSink* sink) { timerSink_ = sink; }

    // Any thread.
    bool Post(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) noexcept override;
    void PostTask(std::function<void()> task);
    void Quit();

    // The loop's thread (timers are window timers).
    void Start(int id, unsigned ms) override;
    void Stop(int id) override;
    bool IsRunning(int id) const override;

    // Handles events until Quit.
    void Run();

private:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Timer {
        unsigned period;
        TimePoint due;
    };
    struct Event {
        std::function<void()> task;  // empty for a message
        vt::UINT message = 0;
        vt::WPARAM wParam = 0;
        vt::LPARAM lParam = 0;
    };
    // The id of the earliest due timer, or -1.
    int DueTimer(TimePoint now, TimePoint* next) const;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Event> events_;
    std::map<int, Timer> timers_;
    bool quit_ = false;
    MessageHandler onMessage_;
    vt::TimerSink* timerSink_ = nullptr;
};

}  // namespace vantelo
