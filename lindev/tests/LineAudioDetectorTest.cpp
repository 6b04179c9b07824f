// The detector on real audio: spoken sentences followed by silence, by the
// busy tone (both cadences), by other tones that are no hang-up, and
// silence broken by a click. Marks are checked against where each part of
// the audio begins, to the frame.
#include <gtest/gtest.h>

#include <string>

#include "LineAudioDetector.h"
#include "LineSignals.h"
#include "testsupport/TestEnvironment.h"

namespace lindev::test {
namespace {

using Marks = LineAudioDetector::Marks;

Marks Judge(const Samples& audio) {
    LineAudioDetector d;
    for (std::size_t f = 0; f + 160 <= audio.size(); f += 160) d.Feed(&audio[f], f, f + 160);
    return d.Current();
}

unsigned Ms(std::uint64_t frames) {
    return static_cast<unsigned>(frames * 20);
}

class LineAudioDetectorTest : public ::testing::Test {
protected:
    vt::test::TestEnvironment env_;
    const Speech& speech_ = SpokenSentence(env_.Root());
    unsigned SpeechMs() const { return static_cast<unsigned>(speech_.samples.size() / 8); }
};

TEST_F(LineAudioDetectorTest, SpeechThenWhatFollowsIt) {
    const unsigned speech = SpeechMs();
    struct Case {
        const char* name;
        Samples after;
        bool busy;
        unsigned busyAfterSpeechMs;  // where the busy tone begins, after the speech
        bool toneIsSound;            // a tone away from the busy pitch is (partly) sound
    };
    const Case cases[] = {
        {"silence", Silence(3000), false, 0, false},
        {"busy 500/500", Busy(500, 2500), true, 0, false},
        {"pause then busy", Join({Silence(1000), Busy(500, 3000)}), true, 1000, false},
        {"pause then busy 250/250", Join({Silence(600), Busy(250, 2000)}), true, 600, false},
        {"dial tone", Tone(350, 440, 1, 0, 3000), false, 0, true},
        {"a steady tone at the busy pitch", Tone(480, 620, 1, 0, 3000), false, 0, false},
        {"ring-back", Tone(440, 480, 1000, 2000, 6000), false, 0, true},
        {"one busy burst, then silence", Join({Busy(500, 600), Silence(2000)}), false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Marks m = Judge(Join({speech_.samples, c.after}));
        EXPECT_TRUE(m.sound);
        EXPECT_EQ(m.busy, c.busy);
        if (c.busy) {
            EXPECT_NEAR(Ms(m.busyFrame), speech + c.busyAfterSpeechMs, 20);
            EXPECT_EQ(m.busyBytes, m.busyFrame * 160);
        }
        // The message ends with the last word and a short tail, wherever the
        // tone or the silence begins.
        if (!c.toneIsSound) {
            EXPECT_NEAR(Ms(m.keepFrame), speech_.activeMs, 300);
        }
        EXPECT_LE(Ms(m.keepFrame), Ms(m.soundEndFrame) + 200);
        EXPECT_EQ(m.keepBytes, m.keepFrame * 160);
        if (std::string(c.name) == "silence") {
            EXPECT_NEAR(Ms(m.silenceFrames), 3000 + speech - speech_.activeMs, 60);
        }
    }
}

TEST_F(LineAudioDetectorTest, SilenceIsCountedFromTheLastSoundAndAClickDoesNotEndIt) {
    struct Case {
        const char* name;
        Samples audio;
        bool sound;
        unsigned silenceMs;
    };
    Samples click = Silence(2000);
    for (int i = 0; i < 160; ++i) click[8000 + i] = static_cast<std::int16_t>(i % 2 ? 9000 : -9000);
    Samples quietNoise(4000 * 8);
    for (std::size_t i = 0; i < quietNoise.size(); ++i)  // about -60 dBFS
        quietNoise[i] = static_cast<std::int16_t>((i * 7919 % 61) - 30);
    const Case cases[] = {
        {"nothing but silence", Silence(5000), false, 5000},
        {"a click in the silence", click, false, 2000},
        {"line noise below the threshold", quietNoise, false, 4000},
        {"a tone is no sound", Busy(500, 3000), false, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Marks m = Judge(c.audio);
        EXPECT_EQ(m.sound, c.sound);
        EXPECT_EQ(Ms(m.silenceFrames), c.silenceMs);
        EXPECT_EQ(m.keepFrame, 0u);
    }
}

TEST_F(LineAudioDetectorTest, SilentFramesFedTogetherCountAsTheirFrames) {
    LineAudioDetector d;
    const Samples s(speech_.samples.begin(),
                    speech_.samples.begin() + static_cast<std::ptrdiff_t>(speech_.activeMs) * 8);
    std::uint64_t bytes = 0;
    for (std::size_t f = 0; f + 160 <= s.size(); f += 160, bytes += 24)
        d.Feed(&s[f], bytes, bytes + 24);
    const std::uint64_t soundEnd = d.Current().soundEndFrame;
    d.FeedSilence(5, bytes, bytes + 2);        // a run of five frames
    d.FeedSilence(300, bytes + 2, bytes + 4);  // too long for the tail
    const Marks m = d.Current();
    EXPECT_EQ(m.frames, s.size() / 160 + 305);
    EXPECT_EQ(m.bytes, bytes + 4);
    EXPECT_EQ(m.silenceFrames, m.frames - soundEnd);
    EXPECT_EQ(m.keepBytes, bytes + 2) << "the short run is kept as tail, the long one is not";
}

}  // namespace
}  // namespace lindev::test
