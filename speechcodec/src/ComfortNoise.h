#pragma once
// The 4-byte comfort-noise record: kind byte 0xC0 (low five bits reserved,
// written 0, ignored), the frame's RMS level in quarter decibels above one
// sample step (0..255), and two reflection coefficients (signed, /127) of
// a second-order all-pole fit that gives the noise its tilt and colour.
// The decoder shapes white noise with that filter at that level and ramps
// the gain from one noise frame to the next so the joins do not click.

#include <cstddef>
#include <cstdint>

namespace speechcodec {

class ComfortNoise {
public:
    static constexpr std::size_t kRecordBytes = 4;

    // Describes one frame of 160 samples as a noise record.
    static void Analyse(const std::int16_t* pcm, std::uint8_t out[kRecordBytes]);
    // The RMS a level byte stands for.
    static double LevelToRms(std::uint8_t level);

    ComfortNoise() { Reset(); }
    void Reset();
    // 160 samples of noise described by record (4 bytes).
    void Synthesise(const std::uint8_t* record, std::int16_t* pcm);
    // Another kind of frame came between noise frames: start the next one afresh.
    void Break();

private:
    double NextUniform();

    std::uint32_t seed_ = 0;
    double gain_ = 0.0;
    bool continuing_ = false;
    double y1_ = 0.0, y2_ = 0.0;
};

}  // namespace speechcodec
