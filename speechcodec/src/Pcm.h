#pragma once
// Frame-sized PCM helpers shared by the encoder and the decoder.

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace speechcodec {

// volume / 1024, saturating; 1024 leaves samples untouched.
inline void ScaleSamples(std::int16_t* samples, std::size_t count, int volume) {
    if (volume == 1024)
        return;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t v = static_cast<std::int64_t>(samples[i]) * volume / 1024;
        samples[i] = static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767));
    }
}

inline int ClampVolume(int volume) {
    return std::clamp(volume, 0, 65535);
}

}  // namespace speechcodec
