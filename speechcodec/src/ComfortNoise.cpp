#include "ComfortNoise.h"

#include <algorithm>
#include <cmath>

#include "speechcodec/VrcFormat.h"

namespace speechcodec {
namespace {

constexpr double kMaxReflection = 0.95;  // keeps the synthesis filter well inside stability

std::int8_t QuantiseReflection(double k) {
    k = std::clamp(k, -kMaxReflection, kMaxReflection);
    return static_cast<std::int8_t>(std::lround(k * 127.0));
}

}  // namespace

void ComfortNoise::Analyse(const std::int16_t* pcm, std::uint8_t out[kRecordBytes]) {
    double r0 = 0, r1 = 0, r2 = 0;
    for (std::size_t i = 0; i < kFrameSamples; ++i) {
        const double x = pcm[i];
        r0 += x * x;
        if (i >= 1)
            r1 += x * pcm[i - 1];
        if (i >= 2)
            r2 += x * pcm[i - 2];
    }
    double k1 = 0, k2 = 0;
    if (r0 > 0) {
        k1 = std::clamp(r1 / r0, -kMaxReflection, kMaxReflection);
        const double e1 = r0 * (1 - k1 * k1);
        if (e1 > 0)
            k2 = (r2 - k1 * r1) / e1;
    }
    const double rms = std::sqrt(r0 / kFrameSamples);
    const double level = rms > 1.0 ? 4.0 * 20.0 * std::log10(rms) : 0.0;
    out[0] = kKindByteNoise;
    out[1] = static_cast<std::uint8_t>(std::clamp<long>(std::lround(level), 0, 255));
    out[2] = static_cast<std::uint8_t>(QuantiseReflection(k1));
    out[3] = static_cast<std::uint8_t>(QuantiseReflection(k2));
}

double ComfortNoise::LevelToRms(std::uint8_t level) {
    return std::pow(10.0, level / 80.0);
}

void ComfortNoise::Reset() {
    seed_ = 0x2545F491u;
    gain_ = 0.0;
    Break();
}

void ComfortNoise::Break() {
    continuing_ = false;
    y1_ = y2_ = 0.0;
}

double ComfortNoise::NextUniform() {
    // xorshift32: cheap, and the same noise every time a recording is decoded.
    seed_ ^= seed_ << 13;
    seed_ ^= seed_ >> 17;
    seed_ ^= seed_ << 5;
    return static_cast<double>(seed_) / 2147483648.0 - 1.0;
}

void ComfortNoise::Synthesise(const std::uint8_t* record, std::int16_t* pcm) {
    const double k1 = std::clamp(static_cast<std::int8_t>(record[2]) / 127.0, -0.99, 0.99);
    const double k2 = std::clamp(static_cast<std::int8_t>(record[3]) / 127.0, -0.99, 0.99);
    const double a1 = k1 * (1 - k2);
    const double a2 = k2;
    // Uniform noise has variance 1/3; the filter raises the power by
    // 1 / ((1 - k1^2)(1 - k2^2)).
    const double target = LevelToRms(record[1]) * std::sqrt(3.0 * (1 - k1 * k1) * (1 - k2 * k2));
    const double start = continuing_ ? gain_ : target;
    for (std::size_t i = 0; i < kFrameSamples; ++i) {
        const double g = start + (target - start) * (i + 1) / kFrameSamples;
        const double y = g * NextUniform() + a1 * y1_ + a2 * y2_;
        y2_ = y1_;
        y1_ = y;
        pcm[i] = static_cast<std::int16_t>(std::clamp(std::lround(y), -32768L, 32767L));
    }
    gain_ = target;
    continuing_ = true;
}

}  // namespace speechcodec
