#pragma once
// Line audio for the detector's tests: real speech (espeak-ng through sox),
// silence, and the exchange's tones with their cadences, 8 kHz PCM16.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "SpeechSignal.h"

namespace lindev::test {

using Samples = std::vector<std::int16_t>;

inline Samples Silence(unsigned ms) {
    return Samples(ms * 8, 0);
}

// Two sine waves (each about -21 dBFS) switched on for onMs and off for
// offMs (offMs 0: steady), for totalMs.
inline Samples Tone(double lowHz, double highHz, unsigned onMs, unsigned offMs, unsigned totalMs) {
    Samples out(totalMs * 8, 0);
    for (std::size_t n = 0; n < out.size(); ++n) {
        const std::size_t ms = n / 8;
        if (offMs != 0 && ms % (onMs + offMs) >= onMs)
            continue;
        const double t = static_cast<double>(n) / 8000.0;
        out[n] = static_cast<std::int16_t>(std::lround(
            2900.0 * (std::sin(2 * M_PI * lowHz * t) + std::sin(2 * M_PI * highHz * t))));
    }
    return out;
}
inline Samples Busy(unsigned onMs, unsigned totalMs) {
    return Tone(480, 620, onMs, onMs, totalMs);
}

inline Samples Join(std::initializer_list<Samples> parts) {
    Samples out;
    for (const Samples& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A spoken sentence, cached per process; the samples up to the end of the
// last sound above -48 dBFS are `activeMs` long.
struct Speech {
    Samples samples;
    double activeMs = 0;
};
inline const Speech& SpokenSentence(const std::filesystem::path& folder) {
    static const Speech speech = [&] {
        Speech s;
        auto spoken = speechcodec::test::SpeakText(
            "Hello, this is Kim. Please call me back tomorrow morning.", folder);
        s.samples = spoken ? *spoken : speechcodec::test::SynthesiseSpeech(4.0);
        std::size_t last = 0;
        for (std::size_t i = 0; i < s.samples.size(); ++i)
            if (std::abs(s.samples[i]) > 130)
                last = i + 1;
        s.activeMs = static_cast<double>(last) / 8.0;
        return s;
    }();
    return speech;
}

}  // namespace lindev::test
