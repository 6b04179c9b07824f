// The current call and its reset rule.

#include <gtest/gtest.h>

#include "vantelo/core/CallRecord.h"

namespace vantelo {
namespace {

TEST(CallRecord, ResetClearsEverythingAndStampsTheStart) {
    CallRecord call;
    call.CallMode = 3;
    call.CallName = "n";
    call.CallNum = "1";
    call.CallCompressMode = 2;
    call.CallTime = 9;
    call.CallRecDirectory = "d";
    call.CallRecFileName = "f";
    call.CallRec = true;
    call.CallDtmf = "1";
    call.CallbInner = true;
    call.CallMemo = "m";
    call.Reset(vt::FixedClock::At(2007, 3, 12, 9, 5, 7));
    EXPECT_EQ(call.CallMode, 0);
    EXPECT_EQ(call.CallCompressMode, 0);
    EXPECT_EQ(call.CallTime, 0);
    EXPECT_FALSE(call.CallRec);
    EXPECT_FALSE(call.CallbInner);
    for (const std::string* text : {&call.CallName, &call.CallNum, &call.CallRecDirectory,
                                    &call.CallRecFileName, &call.CallDtmf, &call.CallMemo})
        EXPECT_TRUE(text->empty());
    EXPECT_EQ(call.CallDate.year, 2007);
    EXPECT_EQ(call.CallDate.month, 3);
    EXPECT_EQ(call.CallDate.day, 12);
    EXPECT_EQ(call.CallDate.hour, 9);
    EXPECT_EQ(call.CallDate.minute, 5);
    EXPECT_EQ(call.CallDate.second, 7);
}

TEST(CallRecord, KindLabels) {
    EXPECT_EQ(CallKindLabel(0), "발신");
    EXPECT_EQ(CallKindLabel(1), "수신");
    EXPECT_EQ(CallKindLabel(2), "부재");
    EXPECT_EQ(CallKindLabel(3), "응답");
    EXPECT_EQ(CallKindLabel(4), "녹음");
    EXPECT_EQ(CallKindLabel(5), "차단");  // kept out by a screening rule
    EXPECT_EQ(CallKindLabel(6), "");
    EXPECT_EQ(CallKindLabel(-1), "");
}

}  // namespace
}  // namespace vantelo
