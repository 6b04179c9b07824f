#pragma once
// The phone's start waits for the window's first paint: opening the line
// takes the better part of a second, and the window shows at once instead.
// What needs a started phone (a request of another program, the end on a
// signal) waits for the start and then runs in the order it came. A window
// that is kept from the screen (never painted) starts the phone once a
// timer runs out.

#include <QObject>
#include <deque>
#include <functional>
#include <memory>

#include "platform/TimerHost.h"

class QWidget;

namespace vantelo {

class DeferredStart : public QObject, public vt::TimerSink {
    Q_OBJECT
public:
    static constexpr int kLatestTimer = 1;
    static constexpr unsigned kLatestMs = 1000;

    // Watches `window` for its first paint; `start` starts the phone. The
    // latest-start timer runs on `timers` (not owned; its caller hands the
    // ticks to OnTimer), or on the object's own Qt timer when null.
    DeferredStart(QWidget& window, std::function<void()> start, vt::TimerHost* timers = nullptr);
    ~DeferredStart() override;

    // Runs `task` at once when the phone has started, else right after it.
    void Run(std::function<void()> task);
    bool Started() const { return started_; }

    void OnTimer(int id) override;

private:
    void Start();

    std::function<void()> start_;
    std::unique_ptr<vt::TimerHost> ownTimers_;
    vt::TimerHost* timers_;
    std::deque<std::function<void()>> waiting_;
    bool started_ = false;
};

}  // namespace vantelo
