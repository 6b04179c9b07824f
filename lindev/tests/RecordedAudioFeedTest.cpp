// The recorded bytes of every record mode, cut into the adapter's 60-byte
// payloads, reach the detector as audio: mu-law frames, and compressed
// frames decoded through the real codec (silence records and comfort noise
// as silence). Speech followed by silence or by the busy tone is judged as
// the PCM itself is, within a frame or two of codec delay.
#include <gtest/gtest.h>

#include "LineSignals.h"
#include "RecordedAudioFeed.h"
#include "speechcodec/MuLaw.h"
#include "speechcodec/TrcApi.h"
#include "speechcodec/TrcModule.h"
#include "testsupport/TestEnvironment.h"

namespace lindev::test {
namespace {

// What the adapter streams for this audio in record mode `mode`.
std::vector<std::uint8_t> Recorded(const Samples& audio, int mode) {
    std::vector<std::uint8_t> out;
    if (mode == 0) {
        for (std::int16_t v : audio) out.push_back(speechcodec::MuLawEncode(v));
        return out;
    }
    speechcodec::TrcModule trc;
    EXPECT_TRUE(trc.Load()) << trc.Error();
    if (!trc.Loaded())
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

LineAudioDetector::Marks Feed(const std::vector<std::uint8_t>& bytes, int mode) {
    RecordedAudioFeed feed(mode);
    for (std::size_t at = 0; at < bytes.size(); at += 60)
        feed.Add(&bytes[at], std::min<std::size_t>(60, bytes.size() - at));
    return feed.Detector().Current();
}

TEST(RecordedAudioFeed, EveryModeHearsTheSilenceAndTheBusyToneAfterSpeech) {
    vt::test::TestEnvironment env;
    const Speech& speech = SpokenSentence(env.Root());
    const unsigned speechMs = static_cast<unsigned>(speech.samples.size() / 8);
    for (int mode : {0, 1, 2, 3}) {
        for (bool busy : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (busy ? " busy" : " silence"));
            const Samples audio =
                Join({speech.samples, Silence(400), busy ? Busy(500, 3000) : Silence(3000)});
            const std::vector<std::uint8_t> bytes = Recorded(audio, mode);
            const LineAudioDetector::Marks m = Feed(bytes, mode);
            EXPECT_EQ(m.frames, audio.size() / 160);
            EXPECT_TRUE(m.sound);
            EXPECT_EQ(m.busy, busy);
            EXPECT_NEAR(m.keepFrame * 20.0, speech.activeMs, 300);
            if (busy) {
                EXPECT_NEAR(m.busyFrame * 20.0, speechMs + 400, 40);
                EXPECT_LE(m.keepBytes, m.busyBytes);
            } else {
                EXPECT_NEAR(m.silenceFrames * 20.0, 3400 + speechMs - speech.activeMs, 200);
            }
            // The kept bytes end at a record boundary.
            EXPECT_LE(m.keepBytes, bytes.size());
            if (mode == 0) {
                EXPECT_EQ(m.keepBytes, m.keepFrame * 160);
            }
        }
    }
}

}  // namespace
}  // namespace lindev::test
