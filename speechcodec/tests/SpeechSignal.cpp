#include "SpeechSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>

#include "speechcodec/WavReader.h"

namespace speechcodec::test {
namespace {

// Two-pole resonator at f Hz with bandwidth bw Hz.
struct Resonator {
    double a1 = 0, a2 = 0, g = 0, y1 = 0, y2 = 0;
    void Set(double f, double bw) {
        const double r = std::exp(-std::numbers::pi * bw / 8000.0);
        a1 = 2 * r * std::cos(2 * std::numbers::pi * f / 8000.0);
        a2 = -r * r;
        g = 1 - r;
    }
    double Run(double x) {
        const double y = g * x + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

std::string Quote(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

}  // namespace

std::vector<std::int16_t> SynthesiseSpeech(double seconds, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> uni(-1.0, 1.0);
    const auto total = static_cast<std::size_t>(seconds * 8000);
    std::vector<std::int16_t> out;
    out.reserve(total);
    Resonator f1, f2, f3;
    double phase = 0;
    while (out.size() < total) {
        // One syllable: 120..300 ms voiced (maybe after a fricative), then a pause.
        const double v1 = 300 + 500 * (uni(rng) + 1) / 2, v2 = 900 + 1300 * (uni(rng) + 1) / 2;
        const double pitch0 = 110 + 60 * (uni(rng) + 1) / 2;
        const int fricative = uni(rng) > 0.3 ? static_cast<int>(400 + 400 * (uni(rng) + 1)) : 0;
        const int voiced = static_cast<int>(960 + 1440 * (uni(rng) + 1) / 2);
        const int pause = static_cast<int>(400 + 2000 * (uni(rng) + 1) / 2);
        double hp = 0;
        for (int i = 0; i < fricative && out.size() < total; ++i) {
            const double n = uni(rng);
            const double y = n - hp;  // first difference: a hissing high-pass
            hp = n;
            const double env = std::sin(std::numbers::pi * i / fricative);
            out.push_back(static_cast<std::int16_t>(1800 * env * y));
        }
        for (int i = 0; i < voiced && out.size() < total; ++i) {
            const double t = static_cast<double>(i) / voiced;
            f1.Set(v1 * (1 - 0.3 * t), 80);
            f2.Set(v2 * (1 + 0.2 * t), 120);
            f3.Set(2600, 200);
            const double pitch = pitch0 * (1 + 0.25 * std::sin(std::numbers::pi * t));
            phase += pitch / 8000.0;
            double pulse = 0;
            if (phase >= 1) {
                phase -= 1;
                pulse = 1;
            }
            const double src = 40 * pulse + 0.02 * uni(rng);
            const double y = f1.Run(src) * 1.0 + f2.Run(src) * 0.5 + f3.Run(src) * 0.25;
            const double env = std::pow(std::sin(std::numbers::pi * t), 0.5);
            const double s = std::clamp(8000.0 * env * y, -32767.0, 32767.0);
            out.push_back(static_cast<std::int16_t>(s));
        }
        for (int i = 0; i < pause && out.size() < total; ++i)
            out.push_back(static_cast<std::int16_t>(12 * uni(rng)));  // about -70 dBFS
    }
    return out;
}

std::optional<std::vector<std::int16_t>> SpeakText(const std::string& text,
                                                   const std::filesystem::path& folder) {
    const auto raw = folder / "espeak.wav";
    const auto wav = folder / "speech8k.wav";
    const std::string speak =
        "espeak-ng -v en -s 150 -w " + Quote(raw) + " '" + text + "' >/dev/null 2>&1";
    const std::string quiet = " >/dev/null 2>&1";
    const std::string convert =
        "sox -D " + Quote(raw) + " -r 8000 -b 16 -c 1 -e signed " + Quote(wav) + quiet;
    if (std::system(speak.c_str()) != 0 || std::system(convert.c_str()) != 0)
        return std::nullopt;
    WavReader reader;
    if (!reader.Open(wav))
        return std::nullopt;
    std::vector<std::int16_t> samples(reader.SampleCount());
    const auto& data = reader.Data();
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return samples;
}

std::vector<std::int16_t> TestSpeech(const std::filesystem::path& folder) {
    auto spoken = SpeakText(
        "Hello, this is the answering machine. Please leave a message after the tone, "
        "and I will call you back tomorrow morning.",
        folder);
    if (spoken && spoken->size() > 8000)
        return *spoken;
    return SynthesiseSpeech(7.0);
}

std::vector<std::uint8_t> ToFrameBytes(const std::vector<std::int16_t>& samples) {
    const std::size_t frames = samples.size() / 160;
    std::vector<std::uint8_t> bytes(frames * 320);
    for (std::size_t i = 0; i < frames * 160; ++i) {
        const auto v = static_cast<std::uint16_t>(samples[i]);
        bytes[2 * i] = static_cast<std::uint8_t>(v);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return bytes;
}

}  // namespace speechcodec::test
