#include "vantelo/app/EventLoop.h"

namespace vantelo {

bool EventLoop::Post(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) noexcept {
    try {
        std::lock_guard lock(mutex_);
        if (quit_)
            return false;
        events_.push_back(Event{{}, message, wParam, lParam});
    } catch (...) {
        return false;
    }
    wake_.notify_one();
    return true;
}

void EventLoop::PostTask(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        if (quit_)
            return;
        events_.push_back(Event{std::move(task)});
    }
    wake_.notify_one();
}

void EventLoop::Quit() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
}

void EventLoop::Start(int id, unsigned ms) {
    std::lock_guard lock(mutex_);
    timers_[id] = Timer{ms, std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)};
}

void EventLoop::Stop(int id) {
    std::lock_guard lock(mutex_);
    timers_.erase(id);
}

bool EventLoop::IsRunning(int id) const {
    std::lock_guard lock(mutex_);
    return timers_.count(id) != 0;
}

int EventLoop::DueTimer(TimePoint now, TimePoint* next) const {
    int id = -1;
    for (const auto& [timerId, timer] : timers_) {
        if (timer.due <= now && (id < 0 || timer.due < timers_.at(id).due))
            id = timerId;
        if (next && timer.due < *next)
            *next = timer.due;
    }
    return id;
}

void EventLoop::Run() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        const auto now = std::chrono::steady_clock::now();
        auto next = TimePoint::max();
        const int due = DueTimer(now, &next);
        if (due >= 0) {
            // A window timer fires again one period later until stopped.
            timers_[due].due = now + std::chrono::milliseconds(timers_[due].period);
            lock.unlock();
            if (timerSink_)
                timerSink_->OnTimer(due);
            lock.lock();
            continue;
        }
        if (!events_.empty()) {
            Event event = std::move(events_.front());
            events_.pop_front();
            lock.unlock();
            if (event.task)
                event.task();
            else if (onMessage_)
                onMessage_(event.message, event.wParam, event.lParam);
            lock.lock();
            continue;
        }
        if (next == TimePoint::max())
            wake_.wait(lock);
        else
            wake_.wait_until(lock, next);
    }
}

}  // namespace vantelo
