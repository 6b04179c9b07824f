#include "linesim/SteadyTimeSource.h"

#include "platform/Tick.h"

namespace linesim {

std::uint64_t SteadyTimeSource::NowMs() const {
    return vt::TickCount64();
}

}  // namespace linesim
