#pragma once
// Window timers by id. A started timer fires every `ms` until stopped;
// starting a running id restarts it with the new period. Programs use a Qt
// implementation; tests use ManualTimerHost and move time by hand.

namespace vt {

class TimerSink {
public:
    virtual ~TimerSink() = default;
    virtual void OnTimer(int id) = 0;
};

class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void Start(int id, unsigned ms) = 0;
    virtual void Stop(int id) = 0;
    virtual bool IsRunning(int id) const = 0;
};

}  // namespace vt
