// What the call log keeps of a call that has just ended, road by road.

#include <gtest/gtest.h>

#include "vantelo/core/CallRecord.h"
#include "vantelo/core/FinishedCall.h"

namespace vantelo {
namespace {

struct Row {
    const char* road;
    CallFacts facts;
    OutsideLine line;
    FinishedCall expected;
};

FinishedCall Kept(int mode, std::string number, bool innerLine = false) {
    FinishedCall f;
    f.mode = mode;
    f.number = std::move(number);
    f.innerLine = innerLine;
    return f;
}
FinishedCall WithDtmf(FinishedCall f, std::string dtmf) {
    f.setDtmf = true;
    f.dtmf = std::move(dtmf);
    return f;
}
FinishedCall WithInner(FinishedCall f, bool inner) {
    f.setInner = true;
    f.inner = inner;
    return f;
}

const OutsideLine kNoCode{};
const OutsideLine kCode9{true, "9", ""};
const OutsideLine kCode9PickUp{true, "9", "*8"};

TEST(FinishedCallTest, EveryRoadOfTheRule) {
    FinishedCall nothing;
    nothing.logged = false;
    const Row rows[] = {
        {"received: caller and keys",
         {kCallReceived, "", "12#", "0212345678"},
         kNoCode,
         WithDtmf(Kept(kCallReceived, "0212345678"), "12#")},
        {"missed without caller ID",
         {kCallMissed, "", "", ""},
         kNoCode,
         WithDtmf(Kept(kCallMissed, ""), "")},
        {"machine: the caller's keys",
         {kCallAnswered, "55", "7", "0311112222"},
         kCode9,
         WithDtmf(Kept(kCallAnswered, "0311112222"), "7")},
        {"greeting recording",
         {kCallGreeting, "", "", ""},
         kNoCode,
         WithDtmf(Kept(kCallGreeting, ""), "")},
        {"lifted and put down", {kCallOutgoing, "", "", ""}, kCode9, nothing},
        {"dialled by the program",
         {kCallOutgoing, "0212345678", "", "", true},
         kCode9,
         Kept(kCallOutgoing, "0212345678")},
        {"dialled, digits after",
         {kCallOutgoing, "0212345678", "123", "", true},
         kNoCode,
         WithDtmf(Kept(kCallOutgoing, "0212345678"), "123")},
        {"keyed, no outside-line code set",
         {kCallOutgoing, "0212345678", "", ""},
         kNoCode,
         Kept(kCallOutgoing, "0212345678")},
        {"keyed with the outside-line code",
         {kCallOutgoing, "90212345678", "", ""},
         kCode9,
         Kept(kCallOutgoing, "0212345678")},
        {"keyed without the code: an inner line",
         {kCallOutgoing, "2345", "", ""},
         kCode9,
         WithInner(Kept(kCallOutgoing, "2345", true), true)},
        {"keyed pick-up code",
         {kCallOutgoing, "*8", "", ""},
         kCode9PickUp,
         Kept(kCallReceived, "*8", true)},
        {"handset: digits with the code",
         {kCallOutgoing, "", "90311112222", ""},
         kCode9,
         Kept(kCallOutgoing, "0311112222")},
        {"handset: digits without the code",
         {kCallOutgoing, "", "2345", ""},
         kCode9,
         WithInner(Kept(kCallOutgoing, "2345", true), true)},
        {"handset, program-dialled inner flag kept",
         {kCallOutgoing, "", "2345", "", true, false},
         kNoCode,
         WithInner(Kept(kCallOutgoing, "2345", false), false)},
        {"handset, inner line dialled by the program",
         {kCallOutgoing, "", "2345", "", true, true},
         kNoCode,
         WithInner(Kept(kCallOutgoing, "2345", true), true)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.road);
        const FinishedCall got = DecideFinishedCall(row.facts, row.line);
        EXPECT_EQ(got.logged, row.expected.logged);
        if (!got.logged)
            continue;
        EXPECT_EQ(got.mode, row.expected.mode);
        EXPECT_EQ(got.number, row.expected.number);
        EXPECT_EQ(got.setDtmf, row.expected.setDtmf);
        EXPECT_EQ(got.dtmf, row.expected.dtmf);
        EXPECT_EQ(got.setInner, row.expected.setInner);
        EXPECT_EQ(got.inner, row.expected.inner);
        EXPECT_EQ(got.innerLine, row.expected.innerLine);
    }
}

}  // namespace
}  // namespace vantelo
