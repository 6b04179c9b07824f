// tyctl encode / decode / decode-ulaw, run as the program itself with no
// adapter: exit codes, progress lines, done codes and the files written.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "SpeechSignal.h"
#include "speechcodec/VrcWalker.h"
#include "speechcodec/WavHeader.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using namespace speechcodec;
using vt::test::ReadBytes;

namespace {

struct ToolRun {
    int code = -1;
    std::string out;  // stdout and stderr together, in order
};

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

ToolRun Tyctl(const std::vector<std::string>& args) {
    std::string command = Quote((vt::test::BinaryFolder() / "tyctl").string());
    for (const std::string& a : args) command += " " + Quote(a);
    command += " 2>&1";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<long> ProgressOf(const std::string& out) {
    std::vector<long> values;
    std::istringstream lines(out);
    std::string word;
    long value = 0;
    while (lines >> word)
        if (word == "progress" && lines >> value)
            values.push_back(value);
    return values;
}

class TyctlCodec : public ::testing::Test {
protected:
    void SetUp() override {
        const auto samples = test::SynthesiseSpeech(4.0);
        frames_ = samples.size() / kFrameSamples;
        const auto header =
            WavHeader::Make(WavEncoding::Pcm16, static_cast<std::uint32_t>(samples.size() * 2));
        std::ofstream out(P("speech.wav"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(header.data()), header.size());
        out.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * 2));
    }
    std::string P(const std::string& name) const { return (env_.Root() / name).string(); }

    vt::test::TestEnvironment env_;
    std::size_t frames_ = 0;
};

}  // namespace

TEST_F(TyctlCodec, EncodeDecodeAndDecodeUlawRoundTrip) {
    ToolRun r = Tyctl({"encode", P("speech.wav"), P("speech.vrc")});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("done 0\n"), std::string::npos);
    const std::vector<long> progress = ProgressOf(r.out);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    const Bytes vrc = ReadBytes(P("speech.vrc"));
    EXPECT_EQ(ScanRecords(vrc.data(), vrc.size()).frames, frames_);

    r = Tyctl({"decode", P("speech.vrc"), P("pcm.wav")});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(ProgressOf(r.out).back(), 100);
    const Bytes pcm = ReadBytes(P("pcm.wav"));
    const auto pcmHeader = WavHeader::Make(WavEncoding::Pcm16, frames_ * 320);
    ASSERT_EQ(pcm.size(), 44 + frames_ * 320);
    EXPECT_TRUE(std::equal(pcmHeader.begin(), pcmHeader.end(), pcm.begin()));

    r = Tyctl({"decode-ulaw", P("speech.vrc"), P("ulaw.wav")});
    ASSERT_EQ(r.code, 0) << r.out;
    const Bytes ulaw = ReadBytes(P("ulaw.wav"));
    const auto ulawHeader = WavHeader::Make(WavEncoding::MuLaw, frames_ * 160);
    ASSERT_EQ(ulaw.size(), 44 + frames_ * 160);
    EXPECT_TRUE(std::equal(ulawHeader.begin(), ulawHeader.end(), ulaw.begin()));
}

TEST_F(TyctlCodec, RateAndSilenceArgumentsReachTheEncoder) {
    ASSERT_EQ(Tyctl({"encode", P("speech.wav"), P("small.vrc"), "2", "0"}).code, 0);
    const Bytes vrc = ReadBytes(P("small.vrc"));
    VrcWalker walker(vrc);
    VrcRecord record;
    std::size_t records = 0;
    while (walker.Next(record)) {
        ++records;
        EXPECT_NE(record.length, 24u);
        EXPECT_NE(record.length, 18u);
        if (record.kind == RecordKind::SilenceRun) {
            EXPECT_EQ(record.frames, 1u);
        }
    }
    EXPECT_EQ(records, frames_) << "with SILENCE 0 every frame is its own record";
}

TEST_F(TyctlCodec, FailuresExitNonZeroWithTheDoneCode) {
    ToolRun r = Tyctl({"encode", P("speech.vrc-missing"), P("x.vrc")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("done 1\n"), std::string::npos) << r.out;

    std::ofstream(P("text.wav")) << "not a wav";
    r = Tyctl({"encode", P("text.wav"), P("x.vrc")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("done 2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("not a usable WAV file"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(P("x.vrc")));

    r = Tyctl({"decode", P("missing.vrc"), P("x.wav")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("done 1\n"), std::string::npos) << r.out;
    r = Tyctl({"decode-ulaw", P("speech.wav"), P("no/folder/x.wav")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("done 1\n"), std::string::npos) << r.out;

    r = Tyctl({"decode", std::string(600, 'a'), P("x.wav")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("거부되었습니다"), std::string::npos) << r.out;
}

TEST_F(TyctlCodec, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(Tyctl({"encode", P("speech.wav")}).code, 2);
    EXPECT_EQ(Tyctl({"encode", P("speech.wav"), P("x.vrc"), "3"}).code, 2);
    EXPECT_EQ(Tyctl({"encode", P("speech.wav"), P("x.vrc"), "0", "2"}).code, 2);
    EXPECT_EQ(Tyctl({"decode", P("speech.vrc")}).code, 2);
    EXPECT_EQ(Tyctl({"decode-ulaw"}).code, 2);
    const ToolRun help = Tyctl({"help"});
    for (const char* name : {"  encode ", "  decode ", "  decode-ulaw "})
        EXPECT_NE(help.out.find(name), std::string::npos) << name;
}
