#pragma once
// Decides per 20 ms frame whether the encoder codes speech, comfort noise
// or the silent frame. Levels are the frame's RMS in dB below full scale
// (32768):
// - at or above kSpeechDbfs the frame is speech and starts a hangover of
//   kHangoverFrames frames that are coded as speech too, so word endings
//   and short pauses keep their real sound;
// - after the hangover, a frame below kSilenceDbfs is silent, one between
//   the two thresholds is comfort noise;
// - a frame whose every sample is within kDigitalSilencePeak of zero is
//   silent at once (digital silence, muted input).

#include <cstddef>
#include <cstdint>

namespace speechcodec {

class SilenceDetector {
public:
    static constexpr double kSpeechDbfs = -55.0;
    static constexpr double kSilenceDbfs = -70.0;
    static constexpr int kHangoverFrames = 6;
    static constexpr int kDigitalSilencePeak = 2;

    enum class FrameClass { Speech, Noise, Silent };

    void Reset() { hangover_ = 0; }
    FrameClass Classify(const std::int16_t* pcm, std::size_t count);

private:
    int hangover_ = 0;
};

}  // namespace speechcodec
