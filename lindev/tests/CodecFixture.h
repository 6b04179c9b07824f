#pragma once
// The codec conversions through the exports, with no adapter: slot 0 is
// served with a queue window (conversions post there), files live in the
// test's private folder, speech is spoken once per program.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "SpeechSignal.h"
#include "CodecLibrary.h"
#include "lindev/lindev.h"
#include "platform/QueueMessageWindow.h"
#include "speechcodec/WavHeader.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"

namespace lindev::test {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

using vt::test::ReadBytes;

inline void WriteAll(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A canonical 8 kHz 16-bit mono WAV file.
inline Bytes MakeWav(const std::vector<std::int16_t>& samples) {
    const auto header = speechcodec::WavHeader::Make(
        speechcodec::WavEncoding::Pcm16, static_cast<std::uint32_t>(samples.size() * 2));
    Bytes wav(header.begin(), header.end());
    for (std::int16_t s : samples) {
        wav.push_back(static_cast<std::uint8_t>(s & 0xFF));
        wav.push_back(static_cast<std::uint8_t>((static_cast<std::uint16_t>(s) >> 8) & 0xFF));
    }
    return wav;
}

inline Bytes Body(const Bytes& wav) {
    return wav.size() < 44 ? Bytes{} : Bytes(wav.begin() + 44, wav.end());
}

struct Outcome {
    long done = -1;  // lParam of WM_TY_CODECDONE, -1 when none came
    std::vector<long> progress;
};

class CodecFixture : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        env_ = new vt::test::TestEnvironment;
        window_ = new vt::QueueMessageWindow;
        ASSERT_EQ(TY_StartService(window_, 0), 0);
        speech_ = new std::vector<std::int16_t>(speechcodec::test::TestSpeech(env_->Root()));
    }
    static void TearDownTestSuite() {
        TY_StopService(0);
        delete speech_;
        delete window_;
        delete env_;
    }

protected:
    void SetUp() override {
        SetCodecLibraryPath("");
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = env_->Root() / (std::string(info->test_suite_name()) + "." + info->name());
        fs::create_directories(dir_);
        window_->Drain();
    }
    void TearDown() override { SetCodecLibraryPath(""); }

    fs::path Path(const std::string& name) const { return dir_ / name; }
    std::string P(const std::string& name) const { return Path(name).string(); }

    // The messages of one conversion started with result `started`.
    static Outcome Finish(int started) {
        Outcome o;
        EXPECT_EQ(started, 1);
        if (started != 1)
            return o;
        auto done = window_->WaitFor(WM_TY_CODECDONE, std::chrono::seconds(60));
        EXPECT_TRUE(done) << "no WM_TY_CODECDONE";
        if (done)
            o.done = static_cast<long>(done->lParam);
        for (const vt::PostedMessage& m : window_->Drain())
            if (m.message == WM_TY_CODECPROGRESS)
                o.progress.push_back(static_cast<long>(m.lParam));
        return o;
    }
    // Encodes a WAV file written from samples; the outcome.
    Outcome Encode(const std::vector<std::int16_t>& samples, const std::string& vrc, int rate,
                   int silence = 1, int scale = 100) {
        WriteAll(Path(vrc + ".src.wav"), MakeWav(samples));
        return Finish(
            TY_Encoder(P(vrc + ".src.wav").c_str(), P(vrc).c_str(), 1024, rate, silence, scale, 0));
    }
    Outcome Decode(const std::string& vrc, const std::string& wav, bool muLaw = false,
                   int scale = 100) {
        return Finish(muLaw ? TY_Decoder1(P(vrc).c_str(), P(wav).c_str(), 1024, scale, 0)
                            : TY_Decoder(P(vrc).c_str(), P(wav).c_str(), 1024, scale, 0));
    }

    static const std::vector<std::int16_t>& Speech() { return *speech_; }

    fs::path dir_;
    static inline vt::test::TestEnvironment* env_ = nullptr;
    static inline vt::QueueMessageWindow* window_ = nullptr;
    static inline std::vector<std::int16_t>* speech_ = nullptr;
};

}  // namespace lindev::test
