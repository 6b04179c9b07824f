#include "notify/RetrySchedule.h"

#include <algorithm>

namespace notify {

RetrySchedule::RetrySchedule(Duration first, Duration ceiling)
    : first_(std::max(first, Duration(1))), ceiling_(std::max(ceiling, first_)) {}

RetrySchedule::Duration RetrySchedule::Failed() {
    Duration wait = first_;
    for (int i = 0; i < failures_ && wait < ceiling_; ++i) wait *= 2;
    ++failures_;
    return std::min(wait, ceiling_);
}

}  // namespace notify
