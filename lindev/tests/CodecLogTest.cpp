// Conversions on an open, logging slot: they write their log lines and
// never send the adapter a request.
#include <gtest/gtest.h>

#include "AdapterFixture.h"
#include "CodecFixture.h"

using lindev::test::Bytes;
using lindev::test::WriteAll;

namespace {

class CodecLog : public lindev::test::AdapterFixture {
protected:
    std::filesystem::path Dir() const { return env_->Root(); }
    long Done() {
        auto done = window_.WaitFor(WM_TY_CODECDONE, std::chrono::seconds(30));
        return done ? static_cast<long>(done->lParam) : -1;
    }
    std::string P(const char* name) const { return (Dir() / name).string(); }

    vt::QueueMessageWindow window_;
};

}  // namespace

TEST_F(CodecLog, ConversionsLogTheirStartAndEveryFailure) {
    ASSERT_EQ(TY_StartService(&window_, 0), 0);
    WriteAll(Dir() / "ok.vrc", Bytes{0xE0, 0x04});
    WriteAll(Dir() / "ok.wav", lindev::test::MakeWav(std::vector<std::int16_t>(800, 0)));

    lindev::SetCodecLibraryPath(P("absent.so"));
    ASSERT_EQ(TY_Decoder1(P("ok.vrc").c_str(), P("a.wav").c_str(), 1024, 100, 0), 1);
    EXPECT_EQ(Done(), 1);
    EXPECT_TRUE(Logged("Decoder1()."));
    EXPECT_TRUE(Logged("Decoder1 Failed...1.."));
    lindev::SetCodecLibraryPath("");

    ASSERT_EQ(TY_Decoder1(P("none.vrc").c_str(), P("a.wav").c_str(), 1024, 100, 0), 1);
    EXPECT_EQ(Done(), 1);
    EXPECT_TRUE(Logged("Decoder1 Failed...7.."));
    ASSERT_EQ(TY_Decoder1(P("ok.vrc").c_str(), P("no/a.wav").c_str(), 1024, 100, 0), 1);
    EXPECT_EQ(Done(), 1);
    EXPECT_TRUE(Logged("Decoder1 Failed...8.."));

    ASSERT_EQ(TY_Decoder(P("ok.vrc").c_str(), P("b.wav").c_str(), 1024, 100, 0), 1);
    EXPECT_EQ(Done(), 0);
    EXPECT_TRUE(Logged("Decoder()."));
    ASSERT_EQ(TY_Encoder(P("ok.vrc").c_str(), P("c.vrc").c_str(), 1024, 0, 1, 100, 0), 1);
    EXPECT_EQ(Done(), 2);
    EXPECT_TRUE(Logged("Encoder()."));
    EXPECT_NE(LogText().find("파일이 너무 짧아 WAV 파일이 아닙니다"), std::string::npos)
        << "the reason is logged";

    EXPECT_EQ(TY_Decoder(std::string(600, 'x').c_str(), P("d.wav").c_str(), 1024, 100, 0), 0);
    EXPECT_NE(LogText().find("Decoder() refused: the source path is missing or longer than 511"),
              std::string::npos);

    EXPECT_TRUE(Requests().empty()) << "a conversion sent the adapter a request";
    TY_StopService(0);
}
