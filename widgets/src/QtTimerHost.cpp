#include "widgets/QtTimerHost.h"

#include <QTimer>

namespace vt::widgets {

QtTimerHost::QtTimerHost(vt::TimerSink* sink, QObject* parent) : QObject(parent), sink_(sink) {}

void QtTimerHost::Start(int id, unsigned ms) {
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (sink_)
                sink_->OnTimer(id);
        });
    }
    timer->start(static_cast<int>(ms));
}

void QtTimerHost::Stop(int id) {
    auto it = timers_.find(id);
    if (it != timers_.end())
        it->second->stop();
}

bool QtTimerHost::IsRunning(int id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

}  // namespace vt::widgets
