#include "vantelo/app/DeferredStart.h"

#include "widgets/FirstPaint.h"
#include "widgets/QtTimerHost.h"

namespace vantelo {

DeferredStart::DeferredStart(QWidget& window, std::function<void()> start, vt::TimerHost* timers)
    : start_(std::move(start)), timers_(timers) {
    if (!timers_) {
        ownTimers_ = std::make_unique<vt::widgets::QtTimerHost>(this);
        timers_ = ownTimers_.get();
    }
    vt::widgets::FirstPaint::Then(window, this, [this] { Start(); });
    timers_->Start(kLatestTimer, kLatestMs);
}

DeferredStart::~DeferredStart() {
    timers_->Stop(kLatestTimer);
}

void DeferredStart::Run(std::function<void()> task) {
    if (started_)
        return task();
    waiting_.push_back(std::move(task));
}

void DeferredStart::OnTimer(int id) {
    if (id == kLatestTimer)
        Start();
}

void DeferredStart::Start() {
    timers_->Stop(kLatestTimer);
    if (started_ || !start_)
        return;
    const auto start = std::move(start_);
    start_ = nullptr;
    start();
    // Tasks that come while the waiting ones run queue behind them.
    while (!waiting_.empty()) {
        auto task = std::move(waiting_.front());
        waiting_.pop_front();
        task();
    }
    started_ = true;
}

}  // namespace vantelo
