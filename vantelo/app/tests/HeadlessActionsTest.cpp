// The actions the headless program takes from standard input, on the phone
// of the controller tests (manual clock, scriptable line, real call log).

#include <cstdio>

#include "PhoneFixture.h"
#include "vantelo/app/HeadlessProgram.h"
#include "vantelo/app/HeadlessView.h"

namespace vantelo::test {
namespace {

class HeadlessActions : public Phone {
protected:
    bool Act(const std::string& line) {
        error_.clear();
        const bool ok = HeadlessProgram::Perform(*phone_, headlessView_, line, error_);
        Deliver();
        return ok;
    }

    std::FILE* sink_ = std::tmpfile();
    HeadlessView headlessView_{sink_};
    std::string error_;

    void TearDown() override { std::fclose(sink_); }
};

TEST_F(HeadlessActions, EachActionReachesThePhone) {
    StartPhone([](PhoneSettings& s) { s.StrReceive = "*8"; });
    EXPECT_TRUE(Act("number 02-1234-5678"));
    EXPECT_EQ(phone_->State().dialledNumber, "0212345678");
    EXPECT_TRUE(Act("hook"));
    EXPECT_EQ(line_.Last("AutoDialThread").rfind("AutoDialThread 0212345678", 0), 0u);
    EXPECT_TRUE(Act("key #"));
    EXPECT_EQ(line_.Last("SendNumber"), "SendNumber # 160 8");
    EXPECT_TRUE(Act("flash"));
    EXPECT_EQ(line_.Last("SendFlash"), "SendFlash 250");
    EXPECT_TRUE(Act("mute"));
    EXPECT_TRUE(line_.Called("ToggleMute"));
    EXPECT_TRUE(Act("record"));
    EXPECT_TRUE(line_.Called("StartRecord"));
    EXPECT_TRUE(Act("record"));
    EXPECT_TRUE(Act("play " + MakeGreeting()));
    EXPECT_EQ(line_.Last("WaveOut"), "WaveOut greeting.wav raw=0");
    EXPECT_TRUE(Act("memo call back"));
    EXPECT_EQ(headlessView_.MemoText(), "call back");
    EXPECT_TRUE(Act("hook"));
    EXPECT_FALSE(line_.OffHook());
    EXPECT_TRUE(Act("redial"));
    EXPECT_EQ(line_.Count("AutoDialThread 0212345678"), 2);
    EXPECT_TRUE(Act("hook"));
    EXPECT_TRUE(Act("pickup"));
    EXPECT_EQ(line_.Last("AutoDialThread").rfind("AutoDialThread *8", 0), 0u);
    EXPECT_TRUE(Act("ars"));
    EXPECT_EQ(view_.status, "환경설정에 부재중 설정이 되어 있지 않습니다.");
    EXPECT_TRUE(Act("")) << "an empty line is no error";
}

TEST_F(HeadlessActions, BadLinesGetOneClearReason) {
    StartPhone();
    EXPECT_FALSE(Act("key 12"));
    EXPECT_EQ(error_, "key에는 0-9, *, # 중 하나가 필요합니다");
    EXPECT_FALSE(Act("key x"));
    EXPECT_FALSE(Act("play"));
    EXPECT_EQ(error_, "play에는 파일이 필요합니다");
    EXPECT_FALSE(Act("dance"));
    EXPECT_EQ(error_.rfind("알 수 없는 동작: dance (", 0), 0u);
    EXPECT_FALSE(line_.Called("SendNumber"));
}

}  // namespace
}  // namespace vantelo::test
