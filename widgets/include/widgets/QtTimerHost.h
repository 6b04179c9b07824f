#pragma once
// Window timers by id on Qt timers; each fires on the owning thread and is
// handed to the sink.

#include <QObject>
#include <map>

#include "platform/TimerHost.h"

class QTimer;

namespace vt::widgets {

class QtTimerHost : public QObject, public vt::TimerHost {
    Q_OBJECT
public:
    explicit QtTimerHost(vt::TimerSink* sink = nullptr, QObject* parent = nullptr);

    void SetSink(vt::TimerSink* sink) { sink_ = sink; }

    void Start(int id, unsigned ms) override;
    void Stop(int id) override;
    bool IsRunning(int id) const override;

private:
    vt::TimerSink* sink_;
    std::map<int, QTimer*> timers_;
};

}  // namespace vt::widgets
