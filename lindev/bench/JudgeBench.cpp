// Measures what judging a recording's audio costs the process thread: the
// detector alone on PCM, and the whole feed as the engine runs it (mu-law
// frames; compressed records decoded through libtrc.so first) on a minute of
// real speech (espeak-ng, else a synthetic speech signal), pauses and busy
// tone, in CPU microseconds per second of audio.
// Usage: lindev_judge_bench [REPEATS]   (default 20)
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "RecordedAudioFeed.h"
#include "SpeechSignal.h"
#include "speechcodec/MuLaw.h"
#include "speechcodec/TrcApi.h"
#include "speechcodec/TrcModule.h"
#include "testsupport/TestEnvironment.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::int16_t> Minute(const std::filesystem::path& folder) {
    std::vector<std::int16_t> speech = speechcodec::test::TestSpeech(folder);
    std::vector<std::int16_t> out;
    while (out.size() < 60 * 8000) {
        out.insert(out.end(), speech.begin(), speech.end());
        out.insert(out.end(), 8000, 0);    // a pause
        for (int n = 0; n < 16000; ++n) {  // two seconds of busy tone
            const bool on = (n / 4000) % 2 == 0;
            const double t = n / 8000.0;
            out.push_back(on ? static_cast<std::int16_t>(2900 * (std::sin(2 * M_PI * 480 * t) +
                                                                 std::sin(2 * M_PI * 620 * t)))
                             : 0);
        }
    }
    out.resize(60 * 8000);
    return out;
}

std::vector<std::uint8_t> Recorded(const std::vector<std::int16_t>& audio, int mode) {
    std::vector<std::uint8_t> out;
    if (mode == 0) {
        for (std::int16_t v : audio) out.push_back(speechcodec::MuLawEncode(v));
        return out;
    }
    speechcodec::TrcModule trc;
    if (!trc.Load())
        return out;
    trc.vInitEncoder();
    trc.vSet_volume(speechcodec::kUnityVolume, speechcodec::kUnityVolume);
    const auto bytes = speechcodec::test::ToFrameBytes(audio);
    for (std::size_t at = 0; at + 320 <= bytes.size(); at += 320) {
        std::uint8_t coded[24];
        const int n = trc.vEncode(&bytes[at], coded, speechcodec::RateForRecordMode(mode), 0);
        out.insert(out.end(), coded, coded + n);
    }
    return out;
}

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    vt::test::TestEnvironment env;
    const std::vector<std::int16_t> audio = Minute(env.Root());
    const double audioSeconds = audio.size() / 8000.0;

    auto start = Clock::now();
    for (int r = 0; r < repeats; ++r) {
        lindev::LineAudioDetector d;
        for (std::size_t f = 0; f + 160 <= audio.size(); f += 160) d.Feed(&audio[f], f, f + 160);
        if (!d.Current().busy)
            return 1;
    }
    std::printf("detector on PCM: %.1f us per second of audio\n",
                Seconds(start) * 1e6 / (repeats * audioSeconds));
    for (int mode : {0, 1, 2, 3}) {
        const std::vector<std::uint8_t> bytes = Recorded(audio, mode);
        start = Clock::now();
        for (int r = 0; r < repeats; ++r) {
            lindev::RecordedAudioFeed feed(mode);
            for (std::size_t at = 0; at < bytes.size(); at += 60)
                feed.Add(&bytes[at], std::min<std::size_t>(60, bytes.size() - at));
            if (!feed.Detector().Current().busy)
                return 1;
        }
        std::printf("feed, record mode %d%s: %.1f us per second of audio\n", mode,
                    mode == 0 ? " (mu-law)" : " (decoded through libtrc.so)",
                    Seconds(start) * 1e6 / (repeats * audioSeconds));
    }
    return 0;
}
