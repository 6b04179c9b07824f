#include "SilenceDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace speechcodec {

SilenceDetector::FrameClass SilenceDetector::Classify(const std::int16_t* pcm, std::size_t count) {
    double energy = 0;
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i) {
        energy += static_cast<double>(pcm[i]) * pcm[i];
        peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
    }
    if (peak <= kDigitalSilencePeak) {
        hangover_ = 0;
        return FrameClass::Silent;
    }
    const double rms = count ? std::sqrt(energy / count) : 0.0;
    const double dbfs = 20.0 * std::log10(rms / 32768.0);
    if (dbfs >= kSpeechDbfs) {
        hangover_ = kHangoverFrames;
        return FrameClass::Speech;
    }
    if (hangover_ > 0) {
        --hangover_;
        return FrameClass::Speech;
    }
    return dbfs < kSilenceDbfs ? FrameClass::Silent : FrameClass::Noise;
}

}  // namespace speechcodec
