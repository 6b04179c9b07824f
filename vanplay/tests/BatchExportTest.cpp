#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "VrcFixture.h"
#include "testsupport/WavFixture.h"
#include "testsupport/TestEnvironment.h"
#include "vanplay/BatchExport.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
};

// Runs the vanplay program (beside the tests) and collects its output.
Outcome RunVanplay(const std::string& arguments) {
    const std::string command =
        "'" + (vt::test::BinaryFolder() / "vanplay").string() + "' " + arguments + " 2>&1";
    Outcome o;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return o;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) o.out += buffer;
    const int raw = ::pclose(pipe);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
}

class BatchExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(env_.Root() / "tmp");
        env_.Set("TMPDIR", (env_.Root() / "tmp").string());
    }
    fs::path Path(const char* name) const { return env_.Root() / name; }

    double Mp3Ms(const char* name) {
        auto info = vt::test::DecodeMp3WithLame(Path(name), Path("back.wav"));
        return info ? vt::test::DurationMs(*info) : -1;
    }

    vt::test::TestEnvironment env_;
};

TEST_F(BatchExportTest, ExportsEachFileBesideItAndReportsFailures) {
    ASSERT_TRUE(vanplay::test::WriteVrc(Path("a call.vrc"), vt::test::SpeechLikeSamples(800)));
    ASSERT_TRUE(vt::test::WritePcmWav(Path("b.wav"), vt::test::SpeechLikeSamples(500)));
    const Outcome o = RunVanplay("--to-mp3 '" + Path("a call.vrc").string() + "' '" +
                                 Path("b.wav").string() + "' '" + Path("gone.vrc").string() + "'");
    EXPECT_EQ(o.status, 1) << o.out;
    EXPECT_NEAR(Mp3Ms("a call.mp3"), 800.0, 30.0);
    EXPECT_NEAR(Mp3Ms("b.mp3"), 500.0, 30.0);
    EXPECT_NE(o.out.find("a call.vrc: Convert Mp3 : 100.00%"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("b.wav: Convert Mp3 : 100.00%"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("gone.vrc: 그런 파일이 없습니다"), std::string::npos) << o.out;
    EXPECT_FALSE(fs::exists(Path("a call.wav"))) << "decoded privately, not beside";
    EXPECT_TRUE(fs::is_empty(env_.Root() / "tmp")) << "the temporary file is removed";
}

TEST_F(BatchExportTest, AllGoodIsExitZero) {
    ASSERT_TRUE(vt::test::WriteMuLawWav(Path("line.wav"), vt::test::SpeechLikeSamples(300)));
    const Outcome o = RunVanplay("--to-mp3 '" + Path("line.wav").string() + "'");
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_NEAR(Mp3Ms("line.mp3"), 300.0, 30.0);
}

TEST_F(BatchExportTest, ReasonsNameTheFailure) {
    std::ofstream(Path("notes.wav")) << "some text, not sound";
    vanplay::BatchExport batch(stdout, stdout);
    ::testing::internal::CaptureStdout();
    const int status = batch.Run({Path("notes.wav").string()});
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("WAV 파일이 아닙니다"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(Path("notes.mp3")));
    EXPECT_EQ(RunVanplay("--to-mp3").status, 2);
}

}  // namespace
