#include "platform/ManualTimerHost.h"

#include <limits>

namespace vt {

void ManualTimerHost::Start(int id, unsigned ms) {
    if (ms == 0) ms = 1;  // a zero period would fire forever within one Advance
    timers_[id] = Timer{ms, now_ + ms};
}

void ManualTimerHost::Stop(int id) { timers_.erase(id); }

bool ManualTimerHost::IsRunning(int id) const { return timers_.count(id) != 0; }

unsigned ManualTimerHost::PeriodOf(int id) const {
    auto it = timers_.find(id);
    return it == timers_.end() ? 0 : it->second.period;
}

void ManualTimerHost::Advance(std::uint64_t ms) {
    const std::uint64_t target = now_ + ms;
    for (;;) {
        // Earliest due timer at or before the target; ties go to the lower id.
        int nextId = 0;
        std::uint64_t nextDue = std::numeric_limits<std::uint64_t>::max();
        for (const auto& [id, t] : timers_) {
            if (t.due < nextDue) {
                nextDue = t.due;
                nextId = id;
            }
        }
        if (nextDue > target) break;
        now_ = nextDue;
        Timer& t = timers_.at(nextId);
        t.due += t.period;
        if (sink_) sink_->OnTimer(nextId);  // may stop or restart any timer
    }
    now_ = target;
}

}  // namespace vt
