// Speed of the codec per record kind, in multiples of real time on one core
// (counter "xRealTime": seconds of audio per second of work), and the time
// to decode a one-hour compressed recording to PCM and to mu-law.

#include <benchmark/benchmark.h>


#include "SpeechSignal.h"
#include "TrcDecoder.h"
#include "TrcEncoder.h"
#include "speechcodec/MuLaw.h"
#include "speechcodec/SilenceRunWriter.h"
#include "speechcodec/VrcWalker.h"

using namespace speechcodec;

namespace {

const std::vector<std::int16_t>& Speech() {
    static const auto speech = test::SynthesiseSpeech(20.0, 11);
    return speech;
}

std::size_t Frames() {
    return Speech().size() / kFrameSamples;
}

RecordKind KindArg(int64_t n) {
    switch (n) {
        case 11:
            return RecordKind::Coded11;
        case 18:
            return RecordKind::Coded18;
        case 24:
            return RecordKind::Coded24;
        case 4:
            return RecordKind::ComfortNoise;
        default:
            return RecordKind::SilenceRun;
    }
}

void SetRealTime(benchmark::State& state, double audioSecondsPerIteration) {
    state.counters["xRealTime"] =
        benchmark::Counter(audioSecondsPerIteration * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

// Every frame coded as the kind under test (no silence detection).
std::vector<std::uint8_t> EncodeAll(RecordKind kind) {
    TrcEncoder encoder;
    std::vector<std::uint8_t> out;
    std::uint8_t rec[kFrameBufferBytes];
    for (std::size_t f = 0; f < Frames(); ++f) {
        const int n = encoder.EncodeAs(kind, &Speech()[f * kFrameSamples], rec);
        out.insert(out.end(), rec, rec + n);
    }
    return out;
}

void BM_EncodeKind(benchmark::State& state) {
    const RecordKind kind = KindArg(state.range(0));
    TrcEncoder encoder;
    std::uint8_t rec[kFrameBufferBytes];
    for (auto _ : state) {
        for (std::size_t f = 0; f < Frames(); ++f)
            benchmark::DoNotOptimize(encoder.EncodeAs(kind, &Speech()[f * kFrameSamples], rec));
    }
    SetRealTime(state, Frames() / 50.0);
}
BENCHMARK(BM_EncodeKind)->Arg(11)->Arg(18)->Arg(24)->Arg(4)->Unit(benchmark::kMillisecond);

// As a conversion runs: vEncode's path with silence detection, at a rate.
void BM_EncodeRate(benchmark::State& state) {
    const int rate = static_cast<int>(state.range(0));
    TrcEncoder encoder;
    std::uint8_t rec[kFrameBufferBytes];
    for (auto _ : state) {
        for (std::size_t f = 0; f < Frames(); ++f)
            benchmark::DoNotOptimize(encoder.Encode(&Speech()[f * kFrameSamples], rate, rec));
    }
    SetRealTime(state, Frames() / 50.0);
}
BENCHMARK(BM_EncodeRate)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

std::uint64_t DecodeInto(TrcDecoder& decoder, const std::vector<std::uint8_t>& vrc,
                         std::int16_t* pcm, std::uint8_t* mulaw) {
    VrcWalker walker(vrc);
    VrcRecord r;
    std::uint8_t frame[kFrameBufferBytes] = {};
    std::uint64_t frames = 0;
    auto one = [&] {
        std::int16_t local[kFrameSamples];
        std::int16_t* out = pcm ? pcm + frames * kFrameSamples : local;
        decoder.Decode(frame, out);
        if (mulaw)
            for (std::size_t i = 0; i < kFrameSamples; ++i)
                mulaw[frames * kFrameSamples + i] = MuLawEncode(out[i]);
        ++frames;
    };
    while (walker.Next(r)) {
        LoadDecoderFrame(r, frame);
        for (std::uint32_t i = 0; i < r.frames; ++i) one();
    }
    return frames;
}

void BM_DecodeKind(benchmark::State& state) {
    const auto vrc = EncodeAll(KindArg(state.range(0)));
    TrcDecoder decoder;
    std::vector<std::int16_t> pcm(Frames() * kFrameSamples);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeInto(decoder, vrc, pcm.data(), nullptr));
    SetRealTime(state, Frames() / 50.0);
}
BENCHMARK(BM_DecodeKind)->Arg(11)->Arg(18)->Arg(24)->Arg(4)->Arg(2)->Unit(benchmark::kMillisecond);

// One hour as the adapter or the encoder would record it at a rate: the 20 s
// of speech (with its pauses as noise and silence records) repeated.
std::vector<std::uint8_t> HourRecording(int rate) {
    TrcEncoder encoder;
    std::vector<std::uint8_t> piece;
    SilenceRunWriter runs;
    std::uint8_t rec[kFrameBufferBytes];
    for (std::size_t f = 0; f < Frames(); ++f) {
        const int n = encoder.Encode(&Speech()[f * kFrameSamples], rate, rec);
        if (n == 2) {
            runs.Add(1, piece);
            continue;
        }
        runs.Flush(piece);
        piece.insert(piece.end(), rec, rec + n);
    }
    runs.Flush(piece);
    std::vector<std::uint8_t> hour;
    for (int i = 0; i < 180; ++i) hour.insert(hour.end(), piece.begin(), piece.end());
    return hour;
}

void BM_DecodeHour(benchmark::State& state, bool toMuLaw) {
    const auto vrc = HourRecording(static_cast<int>(state.range(0)));
    const std::uint64_t frames = ScanRecords(vrc.data(), vrc.size()).frames;
    std::vector<std::int16_t> pcm(toMuLaw ? 0 : frames * kFrameSamples);
    std::vector<std::uint8_t> mulaw(toMuLaw ? frames * kFrameSamples : 0);
    TrcDecoder decoder;
    for (auto _ : state) {
        decoder.Reset();
        benchmark::DoNotOptimize(DecodeInto(decoder, vrc, toMuLaw ? nullptr : pcm.data(),
                                            toMuLaw ? mulaw.data() : nullptr));
    }
    state.counters["recordingBytes"] = static_cast<double>(vrc.size());
    SetRealTime(state, frames / 50.0);
}
BENCHMARK_CAPTURE(BM_DecodeHour, ToPcm, false)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_DecodeHour, ToMuLaw, true)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
