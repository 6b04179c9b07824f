#pragma once
// Real time: the platform's monotonic millisecond tick.

#include "linesim/TimeSource.h"

namespace linesim {

class SteadyTimeSource : public TimeSource {
public:
    std::uint64_t NowMs() const override;
};

}  // namespace linesim
