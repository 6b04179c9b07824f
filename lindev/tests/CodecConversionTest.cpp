// TY_Encoder, TY_Decoder and TY_Decoder1 on the real libtrc.so: round trips,
// the WAV layouts, mu-law, progress, silence runs and the slot's threads.
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "CodecFixture.h"
#include "RecordLengths.h"
#include "speechcodec/MuLaw.h"
#include "speechcodec/VrcWalker.h"

using namespace lindev::test;
using namespace speechcodec;
using speechcodec::test::RecordLengths;

namespace {

using Samples = std::vector<std::int16_t>;

Bytes Header(WavEncoding encoding, std::size_t dataLength) {
    const auto h = WavHeader::Make(encoding, static_cast<std::uint32_t>(dataLength));
    return Bytes(h.begin(), h.end());
}

void ExpectStrictlyRisingTo(const std::vector<long>& progress, long scale) {
    ASSERT_FALSE(progress.empty());
    for (std::size_t i = 1; i < progress.size(); ++i)
        EXPECT_LT(progress[i - 1], progress[i]) << "at " << i;
    EXPECT_GT(progress.front(), 0);
    EXPECT_EQ(progress.back(), scale);
}

// Speech, a long pause and speech again: every silent frame must survive.
Samples SpeechWithPause(const Samples& speech) {
    Samples s = speech;
    s.insert(s.end(), 1000 * kFrameSamples, 0);
    s.insert(s.end(), speech.begin(), speech.begin() + speech.size() / 2);
    return s;
}

class CodecRoundTrip : public CodecFixture {};

}  // namespace

TEST_F(CodecRoundTrip, EveryRateKeepsEveryFrameAndWritesTheCanonicalHeader) {
    const Samples input = SpeechWithPause(Speech());
    const std::size_t frames = input.size() / kFrameSamples;
    // The export's rate argument, and the speech record it must give.
    const std::vector<std::pair<int, std::size_t>> rates = {{0, 24}, {1, 18}, {2, 11}, {5, 24}};
    for (auto [rate, speechLength] : rates) {
        SCOPED_TRACE("rate " + std::to_string(rate));
        const std::string vrc = "r" + std::to_string(rate) + ".vrc";
        ASSERT_EQ(Encode(input, vrc, rate).done, 0);
        const Bytes coded = ReadBytes(Path(vrc));
        const auto lengths = RecordLengths(coded);
        EXPECT_GT(lengths.count(speechLength) ? lengths.at(speechLength) : 0, 50);
        for (std::size_t other : {11u, 18u, 24u}) {
            if (other != speechLength) {
                EXPECT_EQ(lengths.count(other), 0u) << other;
            }
        }
        EXPECT_EQ(ScanRecords(coded.data(), coded.size()).frames, frames);

        ASSERT_EQ(Decode(vrc, vrc + ".wav").done, 0);
        const Bytes wav = ReadBytes(Path(vrc + ".wav"));
        ASSERT_EQ(wav.size(), 44 + frames * kFrameBytes);
        EXPECT_EQ(Bytes(wav.begin(), wav.begin() + 44), Header(WavEncoding::Pcm16, frames * 320));
    }
}

TEST_F(CodecRoundTrip, MuLawOutputIsTheG711CodingOfThePcmDecode) {
    // Opus frames decode identically every time (codec2's do not: its
    // unvoiced phases come from a shared random generator).
    for (int rate : {0, 1}) {
        SCOPED_TRACE("rate " + std::to_string(rate));
        const std::string vrc = "m" + std::to_string(rate) + ".vrc";
        ASSERT_EQ(Encode(Speech(), vrc, rate).done, 0);
        ASSERT_EQ(Decode(vrc, "pcm.wav").done, 0);
        ASSERT_EQ(Decode(vrc, "ulaw.wav", true).done, 0);
        const Bytes pcm = Body(ReadBytes(Path("pcm.wav")));
        const Bytes ulaw = ReadBytes(Path("ulaw.wav"));
        const std::size_t samples = pcm.size() / 2;
        ASSERT_EQ(ulaw.size(), 44 + samples);
        EXPECT_EQ(Bytes(ulaw.begin(), ulaw.begin() + 44), Header(WavEncoding::MuLaw, samples));
        Bytes expected(samples);
        MuLawEncodePcmBytes(pcm.data(), samples, expected.data());
        EXPECT_EQ(Body(ulaw), expected);
    }
    ASSERT_EQ(Encode(Speech(), "c2.vrc", 2).done, 0);
    ASSERT_EQ(Decode("c2.vrc", "c2.wav", true).done, 0);
    const Bytes coded = ReadBytes(Path("c2.vrc"));
    EXPECT_EQ(ReadBytes(Path("c2.wav")).size(),
              44 + ScanRecords(coded.data(), coded.size()).frames * kFrameSamples);
}

TEST_F(CodecRoundTrip, ProgressRisesStrictlyAndEndsAtTheScale) {
    const Outcome encoded = Encode(Speech(), "p.vrc", 0, 1, 1000);
    ASSERT_EQ(encoded.done, 0);
    ExpectStrictlyRisingTo(encoded.progress, 1000);
    for (bool muLaw : {false, true}) {
        const Outcome decoded = Decode("p.vrc", "p.wav", muLaw, 64);
        ASSERT_EQ(decoded.done, 0);
        ExpectStrictlyRisingTo(decoded.progress, 64);
    }
}

TEST_F(CodecRoundTrip, RecordsOfEveryKindDecodeToTheirFrames) {
    struct Case {
        Bytes vrc;
        std::size_t frames;
    };
    const std::vector<Case> cases = {
        {Bytes{0x15, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0}, 1},  // one 11-byte record
        {Bytes{0xE0, 0x04}, 5},
        {Bytes{0xE2, 0x03}, 24},
        {Bytes{0xFF, 0xFF}, 566},  // our writer never makes it; readers still take it
        {Bytes{0xC0, 0x40, 0x10, 0xF0, 0xE0, 0x01}, 3},  // comfort noise, then a run at the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        WriteAll(Path("k.vrc"), c.vrc);
        ASSERT_EQ(Decode("k.vrc", "k.wav").done, 0);
        EXPECT_EQ(ReadBytes(Path("k.wav")).size(), 44 + c.frames * 320);
        ASSERT_EQ(Decode("k.vrc", "k1.wav", true).done, 0);
        EXPECT_EQ(ReadBytes(Path("k1.wav")).size(), 44 + c.frames * 160);
    }
    // A silent run decodes to silence.
    WriteAll(Path("s.vrc"), Bytes{0xE0, 0x04});
    ASSERT_EQ(Decode("s.vrc", "s.wav").done, 0);
    EXPECT_EQ(Body(ReadBytes(Path("s.wav"))), Bytes(1600, 0));
}

TEST_F(CodecRoundTrip, SilenceFlagTurnsSilentBlocksIntoOneRunRecord) {
    Samples input(3 * kFrameSamples, 0);
    const Samples& speech = Speech();
    // One loud block of speech (the loudest in the sentence).
    std::size_t best = 0;
    long bestEnergy = -1;
    for (std::size_t at = 0; at + kFrameSamples <= speech.size(); at += kFrameSamples) {
        long e = 0;
        for (std::size_t i = 0; i < kFrameSamples; ++i) e += std::abs(speech[at + i]);
        if (e > bestEnergy) {
            bestEnergy = e;
            best = at;
        }
    }
    input.insert(input.end(), speech.begin() + best, speech.begin() + best + kFrameSamples);

    ASSERT_EQ(Encode(input, "on.vrc", 0, 1).done, 0);
    const Bytes on = ReadBytes(Path("on.vrc"));
    ASSERT_EQ(on.size(), 2u + 24u);
    EXPECT_EQ(on[0], 0xE0);
    EXPECT_EQ(on[1], 0x02);
    EXPECT_EQ(on[2] & 0xE0, 0x80);

    ASSERT_EQ(Encode(input, "off.vrc", 0, 0).done, 0);
    const Bytes off = ReadBytes(Path("off.vrc"));
    ASSERT_EQ(off.size(), 6u + 24u);
    EXPECT_EQ(Bytes(off.begin(), off.begin() + 6), (Bytes{0xE0, 0, 0xE0, 0, 0xE0, 0}));
}

TEST_F(CodecRoundTrip, LongSilenceIsWrittenAsRecordsOfAtMost320Frames) {
    // 131 072 + 700 frames: past the text's 0xFF 0xFF point, which would lose frames.
    const std::size_t frames = 131072 + 700;
    ASSERT_EQ(Encode(Samples(frames * kFrameSamples, 0), "long.vrc", 0).done, 0);
    const Bytes coded = ReadBytes(Path("long.vrc"));
    VrcWalker walker(coded);
    VrcRecord r;
    std::uint64_t total = 0;
    while (walker.Next(r)) {
        ASSERT_EQ(r.kind, RecordKind::SilenceRun);
        EXPECT_LE(r.frames, kMaxRunFrames);
        total += r.frames;
    }
    EXPECT_EQ(total, frames);
    EXPECT_EQ(coded.size(), 2 * ((frames + 319) / 320));
    ASSERT_EQ(Decode("long.vrc", "long.wav", true).done, 0);
    EXPECT_EQ(ReadBytes(Path("long.wav")).size(), 44 + frames * kFrameSamples);
}

TEST_F(CodecRoundTrip, EncoderTakesTheDataChunkWhereverItIs) {
    // A format chunk of 18 bytes and a LIST chunk before the data: reading
    // from offset 44 would have coded header bytes as sound.
    ASSERT_EQ(Encode(Speech(), "plain.vrc", 1).done, 0);
    const Bytes plain = MakeWav(Speech());
    Bytes wav(plain.begin(), plain.begin() + 12);
    const Bytes fmt18 = {'f',  'm', 't', ' ',  18,   0, 0, 0, 1, 0,  1, 0, 0x40,
                         0x1F, 0,   0,   0x80, 0x3E, 0, 0, 2, 0, 16, 0, 0, 0};
    const Bytes list = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    wav.insert(wav.end(), fmt18.begin(), fmt18.end());
    wav.insert(wav.end(), list.begin(), list.end());
    wav.insert(wav.end(), plain.begin() + 36, plain.end());  // "data", length, samples
    WriteAll(Path("chunks.wav"), wav);
    ASSERT_EQ(
        Finish(TY_Encoder(P("chunks.wav").c_str(), P("chunks.vrc").c_str(), 1024, 1, 1, 100, 0))
            .done,
        0);
    EXPECT_EQ(ReadBytes(Path("chunks.vrc")), ReadBytes(Path("plain.vrc")));
}

class CodecThreads : public CodecFixture {};

TEST_F(CodecThreads, EncoderAndDecoderRunTogetherOnOneSlot) {
    const Samples input = SpeechWithPause(Speech());
    ASSERT_EQ(Encode(input, "alone.vrc", 0).done, 0);
    ASSERT_EQ(Decode("alone.vrc", "alone.wav").done, 0);

    ASSERT_EQ(TY_Encoder(P("alone.vrc.src.wav").c_str(), P("both.vrc").c_str(), 1024, 0, 1, 100, 0),
              1);
    ASSERT_EQ(TY_Decoder(P("alone.vrc").c_str(), P("both.wav").c_str(), 1024, 100, 0), 1);
    for (int i = 0; i < 2; ++i) {
        auto done = window_->WaitFor(WM_TY_CODECDONE, std::chrono::seconds(60));
        ASSERT_TRUE(done);
        EXPECT_EQ(done->lParam, 0);
        EXPECT_EQ(done->wParam, 0u);
    }
    EXPECT_EQ(ReadBytes(Path("both.vrc")), ReadBytes(Path("alone.vrc")));
    EXPECT_EQ(ReadBytes(Path("both.wav")), ReadBytes(Path("alone.wav")));
}

TEST_F(CodecThreads, ANewConversionStartsAtOnceAndTheOldOneLeavesNoTrace) {
    ASSERT_EQ(Encode(SpeechWithPause(Speech()), "a.vrc", 1).done, 0);
    ASSERT_EQ(Decode("a.vrc", "ref.wav").done, 0);
    // A long recording: the short one, many times over.
    const Bytes one = ReadBytes(Path("a.vrc"));
    Bytes many;
    for (int i = 0; i < 200; ++i) many.insert(many.end(), one.begin(), one.end());
    WriteAll(Path("long.vrc"), many);
    window_->Drain();
    ASSERT_EQ(TY_Decoder(P("long.vrc").c_str(), P("out.wav").c_str(), 1024, 100, 0), 1);
    ASSERT_TRUE(window_->WaitFor(WM_TY_CODECPROGRESS, std::chrono::seconds(30)));
    // The same destination, while the first still runs.
    ASSERT_EQ(TY_Decoder(P("a.vrc").c_str(), P("out.wav").c_str(), 1024, 100, 0), 1);
    window_->Drain();  // what the first posted before the second started
    auto done = window_->WaitFor(WM_TY_CODECDONE, std::chrono::seconds(60));
    ASSERT_TRUE(done);
    EXPECT_EQ(done->lParam, 0);
    // Let the first end on its thread; it posts nothing more and removes
    // nothing of the second's.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(window_->Count(WM_TY_CODECDONE), 0u);
    EXPECT_EQ(ReadBytes(Path("out.wav")), ReadBytes(Path("ref.wav")));
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find("out.wav."), std::string::npos)
            << "a temporary file was left: " << entry.path();
}

TEST_F(CodecThreads, ASlotWithoutAWindowStillConverts) {
    // Slot 5 was never given a window: its messages are dropped.
    WriteAll(Path("e.vrc"), Bytes{0xE0, 0x09});
    ASSERT_EQ(TY_Decoder(P("e.vrc").c_str(), P("e.wav").c_str(), 1024, 100, 5), 1);
    for (int i = 0; i < 500 && !std::filesystem::exists(Path("e.wav")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadBytes(Path("e.wav")).size(), 44u + 10 * 320);
    EXPECT_EQ(window_->Count(WM_TY_CODECDONE), 0u);
    EXPECT_EQ(window_->Count(WM_TY_CODECPROGRESS), 0u);
}

TEST_F(CodecThreads, SlotsOutsideTheTableAreRefused) {
    WriteAll(Path("e.vrc"), Bytes{0xE0, 0x00});
    for (int slot : {-1, 8, 1000}) {
        EXPECT_EQ(TY_Decoder(P("e.vrc").c_str(), P("x.wav").c_str(), 1024, 100, slot), 0);
        EXPECT_EQ(TY_Decoder1(P("e.vrc").c_str(), P("x.wav").c_str(), 1024, 100, slot), 0);
        EXPECT_EQ(TY_Encoder(P("e.vrc").c_str(), P("x.vrc").c_str(), 1024, 0, 1, 100, slot), 0);
    }
    EXPECT_FALSE(fs::exists(Path("x.wav")));
    EXPECT_FALSE(fs::exists(Path("x.vrc")));
}
