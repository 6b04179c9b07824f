// The answering machine keeps only real messages, end to end: `vantelo
// --headless` on the real line library and a simulated adapter whose far end
// speaks a real sentence (espeak-ng) and then falls silent, hangs up (the
// exchange's busy tone on the line), or says too little. In mu-law and in a
// compressed mode; the kept recording is measured against the sentence.

#include <gtest/gtest.h>

#include <cstdio>

#include "HeadlessProcess.h"
#include "SpeechSignal.h"
#include "linesim/ScopedDaemon.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/WavFixture.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

// A far end that says `text` and then nothing for half a minute; its length
// in milliseconds.
double WriteFarEnd(const fs::path& wav, const std::string& text, const fs::path& folder) {
    fs::create_directories(folder);
    auto spoken = speechcodec::test::SpeakText(text, folder);
    EXPECT_TRUE(spoken) << "espeak-ng and sox make the caller's speech";
    std::vector<std::int16_t> samples = spoken ? *spoken : std::vector<std::int16_t>();
    const double ms = samples.size() / 8.0;
    samples.resize(samples.size() + 30 * 8000, 0);
    EXPECT_TRUE(vt::test::WritePcmWav(wav, samples));
    return ms;
}

class HeadlessMessages : public ::testing::Test {
protected:
    std::string Sim(const std::string& command) { return daemon_.Command(command); }

    // A caller rings, the machine answers, the caller presses 1 and is
    // recorded; `speed` is the audio's pace from the key on.
    void CallerLeavesAMessage(HeadlessProcess& phone, const fs::path& farEnd, unsigned speed) {
        ASSERT_EQ(Sim("audio " + farEnd.string()).rfind("OK", 0), 0u);
        Sim("speed 10");
        ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
        ASSERT_TRUE(phone.WaitFor("picture 1172: 231", 20s)) << Story(phone, env_.AppHome());
        ASSERT_TRUE(phone.WaitFor("picture 1174: 242", 20s)) << Story(phone, env_.AppHome());
        Sim("speed " + std::to_string(speed));
        Sim("dtmf 1");
        ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.", 20s)) << Story(phone, env_.AppHome());
    }

    // The kept recording's length in ms (decoded when compressed).
    double KeptMs(const CallRecord& row) {
        const fs::path file = row.CallRecDirectory + row.CallRecFileName;
        fs::path wav = file;
        if (file.extension() == ".vrc") {
            wav = env_.Root() / "decoded.wav";
            auto run = vt::test::RunProbe(vt::test::BinaryFolder() / "tyctl",
                                          {"decode", file.string(), wav.string()}, 30s);
            EXPECT_FALSE(run.hung);
        }
        auto info = vt::test::ReadWavInfo(wav);
        EXPECT_TRUE(info) << wav;
        if (info && file.extension() == ".wav") {
            EXPECT_EQ(info->dataBytes, info->fileBytes - 44) << "the header tells the cut length";
        }
        return info ? vt::test::DurationMs(*info) : -1.0;
    }

    vt::test::TestEnvironment env_;
    linesim::test::ScopedDaemon daemon_{0};
    vt::SystemClock clock_;
    fs::path database_ = env_.AppHome() / kDatabaseFileName;
};

TEST_F(HeadlessMessages, SilenceAndHangUpEndTheMessageAndTooShortAOneIsNotKept) {
    const fs::path sentence = env_.Root() / "sentence.wav";
    const fs::path brief = env_.Root() / "brief.wav";
    const double sentenceMs = WriteFarEnd(
        sentence, "Hello, this is Kim. Please call me back tomorrow.", env_.Root() / "a");
    const double briefMs = WriteFarEnd(brief, "Hi.", env_.Root() / "b");
    ASSERT_GT(sentenceMs, 2500.0);
    ASSERT_LT(briefMs, 1500.0);
    ASSERT_TRUE(PrepareDatabase(clock_, database_).ok());
    std::size_t calls = 0;
    for (int compress : {0, 3}) {
        SCOPED_TRACE(compress == 0 ? "mu-law" : "compressed");
        PhoneSettings s;
        s.ModeRecCompress = compress;
        s.ModeAbsence = kAbsenceCallerChooses;
        s.IntAbsenceRingTime = 1000;
        s.IntAbsenceTimeOut = 20000;
        s.IntAbsenceMaxMessage = 120;  // only the audio ends these messages
        s.IntAbsenceSilence = 6;
        s.IntAbsenceMinMessage = 2;
        ASSERT_TRUE(SaveSettings(s));
        HeadlessProcess phone;
        ASSERT_TRUE(phone.WaitUntilServing());
        phone.Send("ars");
        ASSERT_TRUE(phone.WaitFor("button 1170: AbsenceOn")) << Story(phone, env_.AppHome());

        // 1. The caller speaks and falls silent: six seconds of silence end
        //    the message, which keeps the sentence without the silence.
        CallerLeavesAMessage(phone, sentence, 10);
        ASSERT_TRUE(phone.WaitFor("picture 1172: 240", 20s)) << Story(phone, env_.AppHome());
        auto rows = CallRows(database_, ++calls);
        ASSERT_EQ(rows.size(), calls) << Story(phone, env_.AppHome());
        ASSERT_TRUE(rows.back().CallRec);
        EXPECT_EQ(rows.back().CallMode, kCallAnswered);
        const double bySilence = KeptMs(rows.back());
        EXPECT_NEAR(bySilence, sentenceMs, 500.0);

        // 2. The caller speaks, pauses and hangs up: the busy tone ends the
        //    message at once (long before the silence would), and neither
        //    the tone nor the pause is kept. In real time, so that the hang-up
        //    falls inside the pause.
        CallerLeavesAMessage(phone, sentence, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(sentenceMs) + 1200));
        ASSERT_EQ(Sim("hangup").rfind("OK", 0), 0u);
        ASSERT_TRUE(phone.WaitFor("picture 1172: 240", 20s)) << Story(phone, env_.AppHome());
        rows = CallRows(database_, ++calls);
        ASSERT_EQ(rows.size(), calls) << Story(phone, env_.AppHome());
        ASSERT_TRUE(rows.back().CallRec);
        const double byHangUp = KeptMs(rows.back());
        EXPECT_NEAR(byHangUp, sentenceMs, 500.0);

        // 3. A caller who says less than the shortest message: the call is
        //    logged, without a recording, and no file is left.
        CallerLeavesAMessage(phone, brief, 10);
        ASSERT_TRUE(phone.WaitFor("picture 1172: 240", 20s)) << Story(phone, env_.AppHome());
        rows = CallRows(database_, ++calls);
        ASSERT_EQ(rows.size(), calls) << Story(phone, env_.AppHome());
        EXPECT_EQ(rows.back().CallMode, kCallAnswered);
        EXPECT_FALSE(rows.back().CallRec);
        std::size_t files = 0;
        for (const auto& day : fs::directory_iterator(env_.AppHome() / "Record"))
            for (const auto& f : fs::directory_iterator(day.path()))
                files += f.path().extension() == (compress == 0 ? ".wav" : ".vrc") ? 1 : 0;
        EXPECT_EQ(files, 2u) << "the two kept messages alone";

        std::printf(
            "[ measure  ] %s: sentence %.0f ms, kept %.0f ms after silence (%+.0f), "
            "%.0f ms after hang-up (%+.0f)\n",
            compress == 0 ? "mu-law" : "compressed", sentenceMs, bySilence, bySilence - sentenceMs,
            byHangUp, byHangUp - sentenceMs);
        EXPECT_EQ(phone.Terminate(), 0) << Story(phone, env_.AppHome());
        Sim("speed 10");
    }
}

}  // namespace
}  // namespace vantelo
