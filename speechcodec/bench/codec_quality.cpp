// Objective quality of each record kind against its source speech:
// segmental SNR (dB, higher is better) and log-spectral distance (dB, lower
// is better, spectra floored 50 dB below each frame's peak), over the frames
// where the source speaks, at the codec delay that fits best.
// Usage: codec_quality [speech.wav]  (8 kHz 16-bit mono; without one,
// espeak-ng and sox make the test sentence, else a synthetic speech-like
// signal is used). Prints a Markdown table.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "SpeechSignal.h"
#include "TrcDecoder.h"
#include "TrcEncoder.h"
#include "speechcodec/WavReader.h"

using namespace speechcodec;
using Samples = std::vector<std::int16_t>;

namespace {

constexpr double kActiveDb = 40.0;  // frame energy (dB re 1 sample step) that counts as speech

double FrameDb(const std::int16_t* s, std::size_t n) {
    double e = 0;
    for (std::size_t i = 0; i < n; ++i) e += double(s[i]) * s[i];
    return 10 * std::log10(e / n + 1.0);
}

// Codec output lags its input; find the lag (0..400 samples) of best correlation.
std::size_t BestLag(const Samples& src, const Samples& dec) {
    std::size_t best = 0;
    double bestCorr = -1e300;
    for (std::size_t lag = 0; lag <= 400; ++lag) {
        double c = 0;
        for (std::size_t i = 0; i + lag < dec.size() && i < src.size(); ++i)
            c += double(src[i]) * dec[i + lag];
        if (c > bestCorr) {
            bestCorr = c;
            best = lag;
        }
    }
    return best;
}

std::vector<double> PowerSpectrum(const std::int16_t* s) {
    constexpr std::size_t N = 256;
    std::vector<double> p(N / 2);
    for (std::size_t k = 1; k <= N / 2; ++k) {
        std::complex<double> acc = 0;
        for (std::size_t n = 0; n < N; ++n) {
            const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * n / (N - 1));
            acc += w * s[n] * std::polar(1.0, -2 * std::numbers::pi * k * n / N);
        }
        p[k - 1] = std::norm(acc);
    }
    return p;
}

struct Quality {
    double segSnr = 0, lsd = 0;
    std::size_t lag = 0, frames = 0;
};

Quality Measure(const Samples& src, const Samples& dec) {
    Quality q;
    q.lag = BestLag(src, dec);
    double snrSum = 0, lsdSum = 0;
    for (std::size_t at = 0; at + 256 + q.lag <= dec.size() && at + 256 <= src.size();
         at += kFrameSamples) {
        if (FrameDb(&src[at], kFrameSamples) < kActiveDb)
            continue;
        double es = 0, en = 0;
        for (std::size_t i = 0; i < kFrameSamples; ++i) {
            const double s = src[at + i], d = dec[at + i + q.lag];
            es += s * s;
            en += (s - d) * (s - d);
        }
        snrSum += std::clamp(10 * std::log10((es + 1) / (en + 1)), -10.0, 35.0);
        const auto ps = PowerSpectrum(&src[at]);
        const auto pd = PowerSpectrum(&dec[at + q.lag]);
        // Both spectra floored 50 dB below the source frame's peak, so bands
        // where neither has sound do not dominate the distance.
        const double floor = 1e-5 * *std::max_element(ps.begin(), ps.end());
        double d2 = 0;
        for (std::size_t k = 0; k < ps.size(); ++k) {
            const double diff =
                10 * std::log10(std::max(ps[k], floor)) - 10 * std::log10(std::max(pd[k], floor));
            d2 += diff * diff;
        }
        lsdSum += std::sqrt(d2 / ps.size());
        ++q.frames;
    }
    if (q.frames) {
        q.segSnr = snrSum / q.frames;
        q.lsd = lsdSum / q.frames;
    }
    return q;
}

// Encodes every frame (forced kind, or through silence detection at a rate)
// and decodes the records in order.
Samples RoundTrip(const Samples& src, int rate, const RecordKind* forced, double& bytesPerSec) {
    TrcEncoder encoder;
    TrcDecoder decoder;
    Samples out;
    std::size_t bytes = 0, frames = src.size() / kFrameSamples;
    for (std::size_t f = 0; f < frames; ++f) {
        std::uint8_t rec[kFrameBufferBytes];
        const std::int16_t* in = &src[f * kFrameSamples];
        const int n = forced ? encoder.EncodeAs(*forced, in, rec) : encoder.Encode(in, rate, rec);
        bytes += n;
        std::int16_t pcm[kFrameSamples];
        decoder.Decode(rec, pcm);
        out.insert(out.end(), pcm, pcm + kFrameSamples);
    }
    bytesPerSec = frames ? bytes * 50.0 / frames : 0;
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    Samples speech;
    std::string source;
    if (argc > 1) {
        WavReader reader;
        if (!reader.Open(argv[1])) {
            std::fprintf(stderr, "%s: %s\n", argv[1], reader.Error().c_str());
            return 1;
        }
        speech.resize(reader.SampleCount());
        for (std::size_t i = 0; i < speech.size(); ++i)
            speech[i] =
                static_cast<std::int16_t>(reader.Data()[2 * i] | (reader.Data()[2 * i + 1] << 8));
        source = argv[1];
    } else {
        const auto dir = std::filesystem::temp_directory_path() / "codec_quality";
        std::filesystem::create_directories(dir);
        auto spoken = test::SpeakText(
            "Hello, this is the answering machine. Please leave a message after the tone, "
            "and I will call you back tomorrow morning.",
            dir);
        std::filesystem::remove_all(dir);
        if (spoken) {
            speech = *spoken;
            source = "espeak-ng (en, 150 wpm) via sox to 8 kHz";
        } else {
            speech = test::SynthesiseSpeech(7.0);
            source = "synthetic speech-like signal";
        }
    }
    std::printf("Source: %s, %.1f s\n\n", source.c_str(), speech.size() / 8000.0);
    std::printf("| record | how coded | bytes/s | seg. SNR dB | LSD dB | delay (samples) |\n");
    std::printf("|---|---|---|---|---|---|\n");
    struct Row {
        const char* name;
        const char* how;
        int rate;
        bool force;
        RecordKind kind;
    };
    const Row rows[] = {
        {"24 bytes", "Opus SILK 9600, every frame", 2, true, RecordKind::Coded24},
        {"18 bytes", "Opus SILK 7200, every frame", 1, true, RecordKind::Coded18},
        {"11 bytes", "codec2 3200, every frame", 0, true, RecordKind::Coded11},
        {"4 bytes", "comfort noise, every frame", 0, true, RecordKind::ComfortNoise},
        {"rate 2", "vEncode: 24 + noise + silence", 2, false, RecordKind::Coded24},
        {"rate 1", "vEncode: 18 + noise + silence", 1, false, RecordKind::Coded18},
        {"rate 0", "vEncode: 11 + noise + silence", 0, false, RecordKind::Coded11},
    };
    for (const Row& row : rows) {
        double bps = 0;
        const Samples dec = RoundTrip(speech, row.rate, row.force ? &row.kind : nullptr, bps);
        const Quality q = Measure(speech, dec);
        std::printf("| %s | %s | %.0f | %.2f | %.2f | %zu |\n", row.name, row.how, bps, q.segSnr,
                    q.lsd, q.lag);
    }
    return 0;
}
