#pragma once
// libcodec2 keeps process-wide state (its decoder draws the phases of
// unvoiced sound from one global random generator), so codec2 calls from
// different threads are serialised. As a consequence codec2 frames decode
// to equally valid but not identical samples from one run to the next.

#include <mutex>

namespace speechcodec {

inline std::mutex& Codec2Lock() {
    static std::mutex lock;
    return lock;
}

}  // namespace speechcodec
