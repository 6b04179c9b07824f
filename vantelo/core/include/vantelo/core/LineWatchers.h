#pragma once
// Several watchers of one line behind the controller's single slot (the
// network caller-ID server and the announcements to other desks). Each is
// told in the order added; null ones are left out.

#include <initializer_list>
#include <vector>

#include "vantelo/core/LineWatcher.h"

namespace vantelo {

class LineWatchers : public LineWatcher {
public:
    LineWatchers(std::initializer_list<LineWatcher*> watchers) {
        for (LineWatcher* w : watchers)
            if (w)
                watchers_.push_back(w);
    }
    // Null when none is left, so the controller keeps its quiet default.
    LineWatcher* OrNull() { return watchers_.empty() ? nullptr : this; }

    void Rang() override {
        for (LineWatcher* w : watchers_) w->Rang();
    }
    void CallerIdArrived(const std::string& number, const std::string& name,
                         bool blocked) override {
        for (LineWatcher* w : watchers_) w->CallerIdArrived(number, name, blocked);
    }
    void RingingStopped(bool answered) override {
        for (LineWatcher* w : watchers_) w->RingingStopped(answered);
    }
    void HungUp() override {
        for (LineWatcher* w : watchers_) w->HungUp();
    }
    void NewMessagesChanged(int count) override {
        for (LineWatcher* w : watchers_) w->NewMessagesChanged(count);
    }

private:
    std::vector<LineWatcher*> watchers_;
};

}  // namespace vantelo
