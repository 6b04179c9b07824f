// Calls that the screening rules keep out, through the phone controller on
// the scripted line and the real database.

#include <filesystem>

#include "PhoneFixture.h"
#include "lindev/Messages.h"
#include "vantelo/core/AnsweringMachine.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo::test {
namespace {

class Screened : public Phone {
protected:
    void AddRule(const std::string& pattern, RuleKind kind,
                 BlockAction action = BlockAction::HangUp) {
        ScreeningRule rule;
        rule.pattern = pattern;
        rule.kind = kind;
        rule.action = action;
        CRSBlockList list(env_.AppHome() / kDatabaseFileName);
        ASSERT_TRUE(list.Add(rule).ok());
    }
    // A ring whose caller-ID message has a date and no number.
    void RingWithheld() {
        Post(WM_TY_RINGDETECTED);
        line_.cid = "12080900";
        line_.cid.push_back('\0');
        Post(WM_TY_CIDREDAY);
    }
    // A blocked caller rings with absence mode on: the rule's action runs,
    // the machine stays out, and the call is logged as blocked.
    void KeptOut(BlockAction action, bool answered) {
        StartPhone([](PhoneSettings& s) {
            s.ModeAbsence = kAbsenceCallerChooses;
            s.IntAbsenceRingTime = 1000;
        });
        phone_->MutableSettings().StrAbsenceFile = MakeGreeting();
        MakeAllPrompts();
        MakePrompt(kScreeningPromptFile);
        phone_->ArsButton();
        AddRule("070*", RuleKind::Block, action);

        Ring("07011112222");
        EXPECT_FALSE(view_.popupShown) << "no pop-up for a blocked caller";
        EXPECT_FALSE(timers_.IsRunning(kTimerAutoAnswer));
        EXPECT_EQ(line_.Called("HookOff"), answered);
        if (action == BlockAction::Greeting) {
            EXPECT_EQ(std::filesystem::path(line_.playingPath).filename(), kScreeningPromptFile);
            EXPECT_TRUE(line_.OffHook()) << "held while the prompt plays";
            line_.FinishPlayback();
            Deliver();
        }
        if (!answered)
            RingEnd();
        EXPECT_FALSE(line_.OffHook());
        Advance(10000);
        EXPECT_FALSE(phone_->State().engaged);
        CallRecord row = OnlyRow();
        EXPECT_EQ(row.CallMode, kCallBlocked);
        EXPECT_EQ(CallKindLabel(row.CallMode), "차단");
        EXPECT_EQ(row.CallNum, "07011112222");
        EXPECT_EQ(row.CallTime, 0);
        EXPECT_FALSE(row.CallRec);
        const auto rules = StoredRules();
        ASSERT_EQ(rules.size(), 1u);
        EXPECT_EQ(rules[0].hits, 1);
    }
    std::vector<ScreeningRule> StoredRules() {
        CRSBlockList list(env_.AppHome() / kDatabaseFileName);
        return list.Rules().value_or(std::vector<ScreeningRule>{});
    }
};

TEST_F(Screened, HangUpAnswersAndReleasesAtOnce) {
    KeptOut(BlockAction::HangUp, true);
}

TEST_F(Screened, IgnoreLetsItRingOut) {
    KeptOut(BlockAction::Ignore, false);
}

TEST_F(Screened, GreetingPlaysTheScreeningPromptThenReleases) {
    KeptOut(BlockAction::Greeting, true);
}

TEST_F(Screened, APermittedNumberInsideABlockedRangeRingsAsUsual) {
    StartPhone();
    AddRule("070*", RuleKind::Block);
    AddRule("07012345678", RuleKind::Permit);
    Ring("07012345678");
    EXPECT_TRUE(view_.popupShown);
    EXPECT_FALSE(line_.Called("HookOff"));
    RingEnd();
    EXPECT_EQ(OnlyRow().CallMode, kCallMissed);
    // The next caller of the range is kept out, and the phone is usable after.
    Ring("07099998888");
    EXPECT_FALSE(line_.OffHook());
    ASSERT_EQ(Rows().size(), 2u);
    EXPECT_EQ(Rows()[1].CallMode, kCallBlocked);
    Ring("0212345678");
    EXPECT_TRUE(view_.popupShown);
    phone_->HookButton();
    Deliver();
    phone_->HookButton();
    Deliver();
    ASSERT_EQ(Rows().size(), 3u);
    EXPECT_EQ(Rows()[2].CallMode, kCallReceived);
}

TEST_F(Screened, AWithheldCallerIsKeptOutByTheWord) {
    StartPhone();
    AddRule("withheld", RuleKind::Block);
    RingWithheld();
    EXPECT_FALSE(line_.OffHook());
    EXPECT_TRUE(line_.Called("HookOff"));
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallBlocked);
    EXPECT_EQ(row.CallNum, "");
}

TEST_F(Screened, ACallerWithoutCallerIdByTheSecondRingIsUnknown) {
    StartPhone();
    AddRule("unknown", RuleKind::Block, BlockAction::Ignore);
    // A caller ID that comes in time is no unknown caller.
    Ring("0212345678");
    Advance(kSecondRingMs);
    EXPECT_TRUE(view_.popupShown);
    RingEnd();
    EXPECT_EQ(OnlyRow().CallMode, kCallMissed);

    Post(WM_TY_RINGDETECTED);  // no caller-ID message at all
    Advance(kSecondRingMs - 1);
    EXPECT_TRUE(view_.popupShown);
    Advance(1);
    EXPECT_FALSE(view_.popupShown) << "kept out at the second ring";
    RingEnd();
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].CallMode, kCallBlocked);
    EXPECT_EQ(rows[1].CallNum, "");
}

}  // namespace
}  // namespace vantelo::test
