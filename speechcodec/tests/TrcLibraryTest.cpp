// libtrc.so through the way every caller uses it: loaded by name, entry
// points resolved, one conversion per thread.

#include <gtest/gtest.h>
#include <opus.h>

#include <cmath>
#include <cstring>
#include <random>
#include <thread>

#include "RecordLengths.h"
#include "SpeechSignal.h"
#include "speechcodec/SilenceRunWriter.h"
#include "speechcodec/TrcModule.h"
#include "speechcodec/VrcWalker.h"
#include "testsupport/TestEnvironment.h"

using namespace speechcodec;
using speechcodec::test::RecordLengths;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>;

// A compressed recording of whole frames, silent frames as run records.
Bytes EncodeRecording(const TrcModule& trc, const Bytes& pcm, int rate, int volume = 1024) {
    trc.vInitEncoder();
    trc.vSet_volume(volume, volume);
    Bytes out;
    SilenceRunWriter runs;
    for (std::size_t at = 0; at + kFrameBytes <= pcm.size(); at += kFrameBytes) {
        std::uint8_t coded[kFrameBufferBytes];
        const int e = trc.vEncode(pcm.data() + at, coded, rate, 0);
        if (e == 2) {
            runs.Add(1, out);
            continue;
        }
        runs.Flush(out);
        out.insert(out.end(), coded, coded + e);
    }
    runs.Flush(out);
    return out;
}

Samples DecodeRecording(const TrcModule& trc, const Bytes& vrc, int volume = 1024) {
    trc.vInitDecoder();
    trc.vSet_volume(volume, volume);
    Samples out;
    VrcWalker walker(vrc);
    VrcRecord r;
    std::uint8_t frame[kFrameBufferBytes] = {};
    std::uint8_t pcm[kFrameBytes];
    auto emit = [&] {
        trc.vDecode(pcm, frame);
        for (std::size_t i = 0; i < kFrameSamples; ++i)
            out.push_back(static_cast<std::int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8)));
    };
    while (walker.Next(r)) {
        LoadDecoderFrame(r, frame);
        for (std::uint32_t i = 0; i < r.frames; ++i) emit();
    }
    return out;
}

double FrameDb(const std::int16_t* s) {
    double e = 0;
    for (std::size_t i = 0; i < kFrameSamples; ++i) e += double(s[i]) * s[i];
    return 10 * std::log10(e / kFrameSamples + 1.0);
}

// How closely the decoded loudness contour follows the source's, over the
// frames where the source speaks (a codec-neutral sign of real speech
// coding), at the codec delay that fits best.
double LoudnessCorrelation(const Samples& a, const Samples& b) {
    double best = -1;
    for (std::size_t lag = 0; lag <= 160; lag += 8) {
        std::vector<double> x, y;
        for (std::size_t f = 0; (f + 2) * kFrameSamples <= std::min(a.size(), b.size()); ++f) {
            const double da = FrameDb(&a[f * kFrameSamples]);
            if (da < 40)
                continue;
            x.push_back(da);
            y.push_back(FrameDb(&b[f * kFrameSamples + lag]));
        }
        const double n = static_cast<double>(x.size());
        double mx = 0, my = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            mx += x[i] / n;
            my += y[i] / n;
        }
        double sxy = 0, sxx = 0, syy = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            sxy += (x[i] - mx) * (y[i] - my);
            sxx += (x[i] - mx) * (x[i] - mx);
            syy += (y[i] - my) * (y[i] - my);
        }
        best = std::max(best, sxy / std::sqrt(sxx * syy + 1e-9));
    }
    return best;
}

Bytes Frame(std::int16_t value) {
    Bytes b(kFrameBytes);
    for (std::size_t i = 0; i < kFrameSamples; ++i) {
        b[2 * i] = static_cast<std::uint8_t>(value);
        b[2 * i + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8);
    }
    return b;
}

Bytes NoiseFrame(std::mt19937& rng, double rms) {
    std::normal_distribution<double> n(0, rms);
    Samples s(kFrameSamples);
    for (auto& v : s) v = static_cast<std::int16_t>(std::lround(n(rng)));
    return test::ToFrameBytes(s);
}

class TrcLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        env_ = new vt::test::TestEnvironment;
        speech_ = new Samples(test::TestSpeech(env_->Root()));
        pcm_ = new Bytes(test::ToFrameBytes(*speech_));
    }
    static void TearDownTestSuite() {
        delete pcm_;
        delete speech_;
        delete env_;
    }
    void SetUp() override { ASSERT_TRUE(trc.Load()) << trc.Error(); }

    std::size_t Frames() const { return pcm_->size() / kFrameBytes; }

    TrcModule trc;
    static vt::test::TestEnvironment* env_;
    static Samples* speech_;
    static Bytes* pcm_;
};
vt::test::TestEnvironment* TrcLibrary::env_ = nullptr;
Samples* TrcLibrary::speech_ = nullptr;
Bytes* TrcLibrary::pcm_ = nullptr;

}  // namespace

TEST(TrcModuleLoading, MissingLibraryFailsAndHoldsNothing) {
    TrcModule trc;
    EXPECT_FALSE(trc.LoadFrom("/nonexistent/libtrc.so"));
    EXPECT_FALSE(trc.Loaded());
    EXPECT_FALSE(trc.Error().empty());
    EXPECT_EQ(trc.vDecode, nullptr);
}

TEST(TrcModuleLoading, LibraryWithoutTheEntryPointsIsReleased) {
    TrcModule trc;
    EXPECT_FALSE(trc.LoadFrom("libopus.so.0"));
    EXPECT_FALSE(trc.Loaded());
    EXPECT_NE(trc.Error().find("vInitDecoder"), std::string::npos) << trc.Error();
    EXPECT_EQ(trc.HSB, nullptr);
}

TEST(TrcModuleLoading, ReleaseClearsEveryEntryPoint) {
    TrcModule trc;
    ASSERT_TRUE(trc.Load()) << trc.Error();
    EXPECT_NE(trc.vEncode, nullptr);
    trc.Release();
    EXPECT_FALSE(trc.Loaded());
    EXPECT_EQ(trc.vInitDecoder, nullptr);
    EXPECT_EQ(trc.vEncode, nullptr);
    EXPECT_EQ(trc.LSB, nullptr);
}

TEST_F(TrcLibrary, RunDigitsAreTensAndUnits) {
    EXPECT_EQ(trc.HSB(319), 31);
    EXPECT_EQ(trc.LSB(319), 9);
    EXPECT_EQ(trc.HSB(256), 25);
    EXPECT_EQ(trc.LSB(256), 6);
    EXPECT_EQ(trc.HSB(0), 0);
    EXPECT_EQ(trc.LSB(-5), 0);
}

TEST_F(TrcLibrary, EachRateRoundTripsSpeechFrameForFrame) {
    const std::map<int, std::size_t> kindOfRate{{0, 11}, {1, 18}, {2, 24}, {7, 24}};
    for (const auto& [rate, coded] : kindOfRate) {
        const Bytes vrc = EncodeRecording(trc, *pcm_, rate);
        EXPECT_EQ(ScanRecords(vrc.data(), vrc.size()).frames, Frames()) << "rate " << rate;
        const Samples decoded = DecodeRecording(trc, vrc);
        EXPECT_EQ(decoded.size(), Frames() * kFrameSamples) << "rate " << rate;
        const auto lengths = RecordLengths(vrc);
        for (const auto& [length, n] : lengths)
            EXPECT_TRUE(length == coded || length == 4 || length == 2)
                << "rate " << rate << " wrote a " << length << "-byte record";
        EXPECT_GT(lengths.count(coded) ? lengths.at(coded) : 0, static_cast<int>(Frames() / 3));
        EXPECT_GT(LoudnessCorrelation(*speech_, decoded), 0.9) << "rate " << rate;
    }
}

// An encoder of our own with the documented settings makes the same packets;
// each record must carry its packet, and decode exactly as the packet does.
TEST_F(TrcLibrary, OpusRecordsCarryThePacketAndDecodeBitExact) {
    for (int rate : {1, 2}) {
        const std::size_t bytes = rate == 1 ? 18 : 24;
        const Bytes vrc = EncodeRecording(trc, *pcm_, rate);
        const Samples ours = DecodeRecording(trc, vrc);
        int error = 0;
        OpusEncoder* enc = opus_encoder_create(8000, 1, OPUS_APPLICATION_VOIP, &error);
        OpusDecoder* dec = opus_decoder_create(8000, 1, &error);
        ASSERT_TRUE(enc && dec);
        opus_encoder_ctl(enc, OPUS_SET_BANDWIDTH(OPUS_BANDWIDTH_NARROWBAND));
        opus_encoder_ctl(enc, OPUS_SET_MAX_BANDWIDTH(OPUS_BANDWIDTH_NARROWBAND));
        opus_encoder_ctl(enc, OPUS_SET_SIGNAL(OPUS_SIGNAL_VOICE));
        opus_encoder_ctl(enc, OPUS_SET_VBR(0));
        opus_encoder_ctl(enc, OPUS_SET_COMPLEXITY(5));
        opus_encoder_ctl(enc, OPUS_SET_INBAND_FEC(0));
        opus_encoder_ctl(enc, OPUS_SET_PACKET_LOSS_PERC(0));
        opus_encoder_ctl(enc, OPUS_SET_DTX(0));
        opus_encoder_ctl(enc, OPUS_SET_LSB_DEPTH(16));
        opus_encoder_ctl(enc, OPUS_SET_BITRATE(static_cast<int>(bytes * 400)));
        VrcWalker walker(vrc);
        VrcRecord r;
        std::size_t at = 0;
        int compared = 0;
        while (walker.Next(r)) {
            if (r.length == bytes) {
                unsigned char packet[64];
                int n = opus_encode(enc, &(*speech_)[at], kFrameSamples, packet,
                                    static_cast<opus_int32>(bytes));
                n = opus_packet_unpad(packet, n);
                ASSERT_GT(n, 0);
                ASSERT_EQ(packet[0], 0x08);
                ASSERT_LE(static_cast<std::size_t>(n), bytes);
                ASSERT_EQ(std::memcmp(packet + 1, r.bytes + 1, n - 1), 0) << "frame at " << at;
                for (std::size_t i = n; i < bytes; ++i) ASSERT_EQ(r.bytes[i], 0);
                opus_int16 pcm[kFrameSamples];
                ASSERT_EQ(opus_decode(dec, packet, n, pcm, kFrameSamples, 0),
                          static_cast<int>(kFrameSamples));
                ASSERT_EQ(std::memcmp(pcm, &ours[at], sizeof pcm), 0) << "frame at " << at;
                ++compared;
            }
            at += r.frames * kFrameSamples;
        }
        opus_encoder_destroy(enc);
        opus_decoder_destroy(dec);
        EXPECT_GT(compared, 50);
    }
}

TEST_F(TrcLibrary, BytesBehindAShortRecordAreNotRead) {
    const Bytes vrc = EncodeRecording(trc, *pcm_, 1);
    auto decodeWithTail = [&](std::uint8_t tail) {
        trc.vInitDecoder();
        Samples out;
        VrcWalker walker(vrc);
        VrcRecord r;
        while (walker.Next(r)) {
            if (r.kind == RecordKind::SilenceRun)
                continue;
            std::uint8_t frame[kFrameBufferBytes];
            std::memset(frame, tail, sizeof frame);
            std::memcpy(frame, r.bytes, r.length);
            std::uint8_t pcm[kFrameBytes];
            trc.vDecode(pcm, frame);
            out.insert(out.end(), reinterpret_cast<std::int16_t*>(pcm),
                       reinterpret_cast<std::int16_t*>(pcm) + kFrameSamples);
        }
        return out;
    };
    EXPECT_EQ(decodeWithTail(0x00), decodeWithTail(0xA7));
}

TEST_F(TrcLibrary, SilenceNoiseAndSpeechAreTold) {
    std::mt19937 rng(3);
    std::uint8_t out[kFrameBufferBytes];
    trc.vInitEncoder();
    EXPECT_EQ(trc.vEncode(Frame(0).data(), out, 2, 0), 2);
    EXPECT_EQ(out[0], 0xE0);
    EXPECT_EQ(out[1], 0x00);
    EXPECT_EQ(trc.vEncode(Frame(2).data(), out, 2, 0), 2) << "digital silence";
    EXPECT_EQ(trc.vEncode(NoiseFrame(rng, 5).data(), out, 2, 0), 2) << "about -76 dBFS";
    EXPECT_EQ(trc.vEncode(NoiseFrame(rng, 30).data(), out, 2, 0), 4) << "about -61 dBFS";
    EXPECT_EQ(KindOf(out[0]), RecordKind::ComfortNoise);
    EXPECT_EQ(trc.vEncode(NoiseFrame(rng, 1000).data(), out, 2, 0), 24);
    // The hangover: quiet frames right after speech are still coded as speech.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(trc.vEncode(NoiseFrame(rng, 30).data(), out, 2, 0), 24) << "frame " << i;
    EXPECT_EQ(trc.vEncode(NoiseFrame(rng, 30).data(), out, 2, 0), 4);
    trc.vEncode(NoiseFrame(rng, 1000).data(), out, 0, 0);
    EXPECT_EQ(trc.vEncode(Frame(0).data(), out, 0, 0), 2) << "digital silence ends the hangover";
}

TEST_F(TrcLibrary, ThreeSilentFramesThenSpeechGiveOneRunAndTheFrame) {
    std::mt19937 rng(4);
    Bytes pcm;
    for (int i = 0; i < 3; ++i) pcm.insert(pcm.end(), kFrameBytes, 0);
    const Bytes voiced = NoiseFrame(rng, 3000);
    pcm.insert(pcm.end(), voiced.begin(), voiced.end());
    const Bytes vrc = EncodeRecording(trc, pcm, 0);
    ASSERT_EQ(vrc.size(), 2u + 11u);
    EXPECT_EQ(vrc[0], 0xE0);
    EXPECT_EQ(vrc[1], 0x02);
    EXPECT_EQ(KindOf(vrc[2]), RecordKind::Coded11);
}

TEST_F(TrcLibrary, LongSilenceDecodesToEveryFrame) {
    for (std::uint64_t n : {321ull, 131073ull}) {
        Bytes vrc;
        SilenceRunWriter::WriteRun(n, vrc);
        trc.vInitDecoder();
        std::uint64_t samples = 0;
        VrcWalker walker(vrc);
        VrcRecord r;
        std::uint8_t frame[kFrameBufferBytes] = {0xE0, 0x00};
        std::uint8_t pcm[kFrameBytes];
        while (walker.Next(r)) {
            for (std::uint32_t i = 0; i < r.frames; ++i) {
                std::memset(pcm, 0x55, sizeof pcm);
                trc.vDecode(pcm, frame);
                samples += kFrameSamples;
            }
            EXPECT_TRUE(std::all_of(pcm, pcm + kFrameBytes, [](auto b) { return b == 0; }));
        }
        EXPECT_EQ(samples, n * kFrameSamples);
    }
}

TEST_F(TrcLibrary, EveryRecordKindDecodes) {
    trc.vInitDecoder();
    std::mt19937 rng(5);
    for (std::uint8_t first : {0x00, 0x15, 0x20, 0x40, 0x60, 0x80, 0x95, 0xA0, 0xC0, 0xC7, 0xE0}) {
        std::uint8_t frame[kFrameBufferBytes];
        for (auto& b : frame) b = static_cast<std::uint8_t>(rng());
        frame[0] = first;
        std::uint8_t pcm[kFrameBytes];
        std::memset(pcm, 0x55, sizeof pcm);
        const int result = trc.vDecode(pcm, frame);
        EXPECT_TRUE(result == 0 || result == -1) << int(first);
        if (KindOf(first) == RecordKind::Coded11 || KindOf(first) == RecordKind::SilenceRun) {
            EXPECT_EQ(result, 0) << int(first);
        }
    }
}

TEST_F(TrcLibrary, ComfortNoiseComesBackAtItsLevel) {
    std::mt19937 rng(6);
    trc.vInitEncoder();
    trc.vInitDecoder();
    double in = 0, out = 0;
    for (int i = 0; i < 50; ++i) {
        const Bytes frame = NoiseFrame(rng, 40);
        std::uint8_t coded[kFrameBufferBytes];
        ASSERT_EQ(trc.vEncode(frame.data(), coded, 1, 0), 4);
        std::uint8_t pcm[kFrameBytes];
        ASSERT_EQ(trc.vDecode(pcm, coded), 0);
        for (std::size_t s = 0; s < kFrameSamples; ++s) {
            const double a = static_cast<std::int16_t>(frame[2 * s] | (frame[2 * s + 1] << 8));
            const double b = static_cast<std::int16_t>(pcm[2 * s] | (pcm[2 * s + 1] << 8));
            in += a * a;
            out += b * b;
        }
    }
    EXPECT_NEAR(10 * std::log10(out / in), 0.0, 1.0) << "dB difference";
}

TEST_F(TrcLibrary, VolumeScalesDecodedAndEncodedSound) {
    const Bytes vrc = EncodeRecording(trc, *pcm_, 2);
    const Samples unity = DecodeRecording(trc, vrc);
    const Samples half = DecodeRecording(trc, vrc, 512);
    const Samples doubled = DecodeRecording(trc, vrc, 2048);
    ASSERT_EQ(unity.size(), half.size());
    for (std::size_t i = 0; i < unity.size(); ++i) {
        ASSERT_EQ(half[i], unity[i] / 2) << i;
        ASSERT_EQ(doubled[i], std::clamp(unity[i] * 2, -32768, 32767)) << i;
    }
    const Bytes muted = EncodeRecording(trc, *pcm_, 2, 0);
    EXPECT_EQ(RecordLengths(muted),
              (std::map<std::size_t, int>{{2, (int)((Frames() + 319) / 320)}}))
        << "volume 0 makes every frame silent";
    const Bytes quieter = EncodeRecording(trc, *pcm_, 2, 256);
    const Samples q = DecodeRecording(trc, quieter);
    double eu = 0, eq = 0;
    for (std::size_t i = 0; i < q.size(); ++i) {
        eu += double(unity[i]) * unity[i];
        eq += double(q[i]) * q[i];
    }
    EXPECT_NEAR(10 * std::log10(eq / eu), -12.0, 2.0) << "encoder input at a quarter";
}

TEST_F(TrcLibrary, RandomFramesNeverCrashTheDecoder) {
    std::mt19937 rng(8);
    trc.vInitDecoder();
    std::uint8_t frame[kFrameBufferBytes];
    std::uint8_t pcm[kFrameBytes];
    int decoded = 0;
    for (int i = 0; i < 5000; ++i) {
        for (auto& b : frame) b = static_cast<std::uint8_t>(rng());
        decoded += trc.vDecode(pcm, frame) == 0;
    }
    EXPECT_GT(decoded, 0);
    EXPECT_EQ(trc.vDecode(nullptr, frame), -1);
    std::memset(pcm, 0x55, sizeof pcm);
    EXPECT_EQ(trc.vDecode(pcm, nullptr), -1);
    EXPECT_EQ(pcm[0], 0) << "silence written";
    EXPECT_EQ(trc.vEncode(nullptr, frame, 2, 0), 0);
}

TEST_F(TrcLibrary, ThreadsHaveTheirOwnStates) {
    const Bytes vrc = EncodeRecording(trc, *pcm_, 2);
    const Samples reference = DecodeRecording(trc, vrc);
    Bytes encodedOnThread;
    Samples decodedA, decodedB;
    std::thread encoder([&] { encodedOnThread = EncodeRecording(trc, *pcm_, 2); });
    std::thread decoderA([&] { decodedA = DecodeRecording(trc, vrc); });
    std::thread decoderB([&] { decodedB = DecodeRecording(trc, vrc); });
    encoder.join();
    decoderA.join();
    decoderB.join();
    EXPECT_EQ(encodedOnThread, vrc);
    EXPECT_EQ(decodedA, reference);
    EXPECT_EQ(decodedB, reference);
}

TEST_F(TrcLibrary, VolumeOfOneThreadLeavesAnotherAlone) {
    const Bytes vrc = EncodeRecording(trc, *pcm_, 1);
    const Samples reference = DecodeRecording(trc, vrc);
    Samples loud;
    std::thread other([&] { loud = DecodeRecording(trc, vrc, 4096); });
    other.join();
    EXPECT_EQ(DecodeRecording(trc, vrc), reference);
    EXPECT_NE(loud, reference);
}

TEST_F(TrcLibrary, Codec2ConversionsRunSideBySide) {
    const Bytes vrc = EncodeRecording(trc, *pcm_, 0);
    Bytes encoded;
    Samples a, b;
    std::thread encoder([&] { encoded = EncodeRecording(trc, *pcm_, 0); });
    std::thread decoderA([&] { a = DecodeRecording(trc, vrc); });
    std::thread decoderB([&] { b = DecodeRecording(trc, vrc); });
    encoder.join();
    decoderA.join();
    decoderB.join();
    EXPECT_EQ(encoded, vrc) << "the codec2 encoder is deterministic";
    EXPECT_EQ(a.size(), Frames() * kFrameSamples);
    EXPECT_EQ(b.size(), Frames() * kFrameSamples);
    EXPECT_GT(LoudnessCorrelation(*speech_, a), 0.9);
    EXPECT_GT(LoudnessCorrelation(*speech_, b), 0.9);
}
