#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "mp3conv/Mp3Conv.h"
#include "testsupport/WavFixture.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"

namespace fs = std::filesystem;
using namespace vt::test;

namespace {

class Mp3Export : public ::testing::Test {
protected:
    fs::path Path(const char* name) const { return env_.Root() / name; }

    // Decodes with the lame tool and returns the duration in milliseconds.
    double DecodedMs(const fs::path& mp3) {
        auto info = DecodeMp3WithLame(mp3, Path("decoded.wav"));
        EXPECT_TRUE(info) << "the lame decoder reads " << mp3;
        return info ? DurationMs(*info) : -1;
    }

    std::vector<vt::PostedMessage> Progress() {
        std::vector<vt::PostedMessage> out;
        for (const auto& m : window_.Drain())
            if (m.message == Mp3Progress)
                out.push_back(m);
        return out;
    }

    TestEnvironment env_;
    vt::QueueMessageWindow window_;
};

TEST_F(Mp3Export, PcmWavBecomesAnMp3OfTheSameLength) {
    ASSERT_TRUE(WritePcmWav(Path("call.wav"), SpeechLikeSamples(700)));
    ASSERT_EQ(Kvne_WavtoMp3(&window_, Path("call.wav").c_str(), Path("call.mp3").c_str()), kMp3Ok);
    auto bytes = ReadBytes(Path("call.mp3"));
    ASSERT_GT(bytes.size(), 100u);
    // An MPEG audio frame header: sync bits, then layer III.
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1] & 0xE6, 0xE2);
    auto decoded = DecodeMp3WithLame(Path("call.mp3"), Path("decoded.wav"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->channels, 1u);
    EXPECT_EQ(decoded->sampleRate, 8000u);
    EXPECT_NEAR(DurationMs(*decoded), 700.0, 30.0);
}

TEST_F(Mp3Export, MuLawWavIsConvertedToo) {
    ASSERT_TRUE(WriteMuLawWav(Path("line.wav"), SpeechLikeSamples(400)));
    ASSERT_EQ(Kvne_WavtoMp3(nullptr, Path("line.wav").c_str(), Path("line.mp3").c_str()), kMp3Ok);
    EXPECT_NEAR(DecodedMs(Path("line.mp3")), 400.0, 30.0);
}

TEST_F(Mp3Export, BitRateSuitsTelephoneSpeech) {
    ASSERT_TRUE(WritePcmWav(Path("ten.wav"), SpeechLikeSamples(10000)));
    ASSERT_EQ(Kvne_WavtoMp3(nullptr, Path("ten.wav").c_str(), Path("ten.mp3").c_str()), kMp3Ok);
    const double kbps = fs::file_size(Path("ten.mp3")) * 8.0 / 10.0 / 1000.0;
    EXPECT_NEAR(kbps, kMp3BitRateKbps, 1.5);
}

TEST_F(Mp3Export, ReportsProgressFromZeroToTotal) {
    ASSERT_TRUE(WritePcmWav(Path("call.wav"), SpeechLikeSamples(3000)));
    ASSERT_EQ(Kvne_WavtoMp3(&window_, Path("call.wav").c_str(), Path("call.mp3").c_str()), kMp3Ok);
    auto steps = Progress();
    ASSERT_GE(steps.size(), 3u);
    const vt::LPARAM total = 3000 * 16;  // bytes of 16-bit samples at 8 kHz
    EXPECT_EQ(steps.front().wParam, 0u);
    EXPECT_EQ(steps.back().wParam, static_cast<vt::WPARAM>(total));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].lParam, total);
        if (i > 0) {
            EXPECT_GE(steps[i].wParam, steps[i - 1].wParam);
        }
    }
    EXPECT_LE(steps.size(), 1002u);
}

TEST_F(Mp3Export, HeaderWithoutLengthTakesTheDataToTheEnd) {
    ASSERT_TRUE(WritePcmWav(Path("cut.wav"), SpeechLikeSamples(500)));
    // A recorder that stopped early left the lengths 0.
    {
        std::fstream f(Path("cut.wav"), std::ios::in | std::ios::out | std::ios::binary);
        const char zero[4] = {};
        f.seekp(4);
        f.write(zero, 4);
        f.seekp(40);
        f.write(zero, 4);
    }
    ASSERT_EQ(Kvne_WavtoMp3(nullptr, Path("cut.wav").c_str(), Path("cut.mp3").c_str()), kMp3Ok);
    EXPECT_NEAR(DecodedMs(Path("cut.mp3")), 500.0, 30.0);
}

TEST_F(Mp3Export, EmptyWavGivesAnEmptyButValidExport) {
    ASSERT_TRUE(WritePcmWav(Path("empty.wav"), {}));
    EXPECT_EQ(Kvne_WavtoMp3(&window_, Path("empty.wav").c_str(), Path("empty.mp3").c_str()),
              kMp3Ok);
    EXPECT_TRUE(fs::exists(Path("empty.mp3")));
    auto steps = Progress();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().lParam, 0) << "a total of 0 is reported as it is";
}

TEST_F(Mp3Export, FailuresLeaveNoFileAndKeepAnOlderOne) {
    std::ofstream(Path("text.wav")) << "this is not a wave file at all, just words";
    std::ofstream(Path("old.mp3")) << "older export";
    EXPECT_EQ(Kvne_WavtoMp3(nullptr, Path("text.wav").c_str(), Path("old.mp3").c_str()),
              kMp3NotWav);
    const auto old = ReadBytes(Path("old.mp3"));
    EXPECT_EQ(std::string(old.begin(), old.end()), "older export");
    EXPECT_EQ(Kvne_WavtoMp3(nullptr, Path("missing.wav").c_str(), Path("m.mp3").c_str()),
              kMp3CannotOpen);
    EXPECT_FALSE(fs::exists(Path("m.mp3")));
    EXPECT_EQ(Kvne_WavtoMp3(nullptr, nullptr, Path("m.mp3").c_str()), kMp3BadArgument);
    EXPECT_EQ(Kvne_WavtoMp3(nullptr, "", Path("m.mp3").c_str()), kMp3BadArgument);
    // Nothing but the files written above is left behind (no partial file).
    int files = 0;
    for (const auto& e : fs::directory_iterator(env_.Root()))
        if (e.is_regular_file())
            ++files;
    EXPECT_EQ(files, 2);
}

TEST_F(Mp3Export, RefusesToWriteOverItsOwnSource) {
    ASSERT_TRUE(WritePcmWav(Path("call.wav"), SpeechLikeSamples(200)));
    const auto before = ReadBytes(Path("call.wav"));
    EXPECT_EQ(Kvne_WavtoMp3(nullptr, Path("call.wav").c_str(), Path("call.wav").c_str()),
              kMp3SameFile);
    EXPECT_EQ(ReadBytes(Path("call.wav")), before);
}

TEST_F(Mp3Export, UncreatableTargetIsReported) {
    ASSERT_TRUE(WritePcmWav(Path("call.wav"), SpeechLikeSamples(200)));
    const fs::path target = Path("no such folder") / "x.mp3";
    EXPECT_EQ(Kvne_WavtoMp3(nullptr, Path("call.wav").c_str(), target.c_str()), kMp3CannotCreate);
    EXPECT_FALSE(fs::exists(target.parent_path()));
}

TEST(Mp3ResultText, NamesEveryResult) {
    for (int r = kMp3Ok; r <= kMp3SameFile; ++r)
        EXPECT_STRNE(Kvne_Mp3ResultText(r), "unknown failure") << r;
    EXPECT_STREQ(Kvne_Mp3ResultText(99), "unknown failure");
}

}  // namespace
