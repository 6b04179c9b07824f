// Which callers the screening rules keep out, and the rules' store.

#include <gtest/gtest.h>

#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/Screening.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

ScreeningRule Block(std::string pattern, BlockAction action = BlockAction::HangUp) {
    ScreeningRule r;
    r.pattern = std::move(pattern);
    r.action = action;
    return r;
}
ScreeningRule Permit(std::string pattern) {
    ScreeningRule r;
    r.pattern = std::move(pattern);
    r.kind = RuleKind::Permit;
    return r;
}
ScreenedCaller Number(std::string n) {
    return {std::move(n), false, false};
}
const ScreenedCaller kWithheld{"", true, false};
const ScreenedCaller kUnknown{"", false, true};

TEST(ScreeningTest, PatternsMatchDigitsRunsAndTheTwoWords) {
    struct Row {
        const char* pattern;
        ScreenedCaller caller;
        bool matches;
    };
    const Row rows[] = {
        {"0212345678", Number("0212345678"), true},
        {"0212345678", Number("02123456789"), false},  // whole number only
        {"070*", Number("07012345678"), true},
        {"070*", Number("0212345678"), false},
        {"*5678", Number("0212345678"), true},
        {"02?2345678", Number("0212345678"), true},
        {"02?2345678", Number("022345678"), false},  // '?' is exactly one digit
        {"*", Number("1"), true},
        {"*", kWithheld, false},  // a digit pattern needs a number
        {"withheld", kWithheld, true},
        {"withheld", kUnknown, false},
        {"unknown", kUnknown, true},
        {"unknown", Number("0212345678"), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PatternMatches(row.pattern, row.caller), row.matches)
            << row.pattern << " / " << row.caller.number;
}

TEST(ScreeningTest, APermitBeatsEveryBlockAndTheLongestBlockDecides) {
    const std::vector<ScreeningRule> rules = {
        Block("070*", BlockAction::Ignore), Block("0701234*", BlockAction::Greeting),
        Permit("07012345678"), Block("withheld"), Block("*9999", BlockAction::HangUp)};
    struct Row {
        ScreenedCaller caller;
        bool blocked;
        BlockAction action;
        const char* pattern;
    };
    const Row rows[] = {
        {Number("07099990000"), true, BlockAction::Ignore, "070*"},
        {Number("07012340000"), true, BlockAction::Greeting, "0701234*"},
        {Number("07012345678"), false, BlockAction::HangUp, "07012345678"},  // permitted
        {Number("0212349999"), true, BlockAction::HangUp, "*9999"},
        {Number("0212345678"), false, BlockAction::HangUp, ""},
        {kWithheld, true, BlockAction::HangUp, "withheld"},
        {kUnknown, false, BlockAction::HangUp, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caller.number);
        const ScreeningDecision d = Decide(rules, row.caller);
        EXPECT_EQ(d.blocked, row.blocked);
        if (d.blocked) {
            EXPECT_EQ(d.action, row.action);
        }
        EXPECT_EQ(d.pattern, row.pattern);
    }
}

TEST(ScreeningTest, PatternsThatCannotBeStoredSayWhy) {
    EXPECT_EQ(PatternProblem("02*"), "");
    EXPECT_EQ(PatternProblem("withheld"), "");
    EXPECT_EQ(PatternProblem(""), "패턴이 비어 있습니다");
    EXPECT_EQ(PatternProblem(std::string(33, '1')), "패턴이 32자보다 깁니다");
    const std::string onlyDigits =
        "패턴에는 숫자, * 와 ? 만 쓸 수 있습니다 (또는 withheld, unknown): ";
    EXPECT_EQ(PatternProblem("02-123"), onlyDigits + "02-123");
    EXPECT_EQ(PatternProblem("Withheld"), onlyDigits + "Withheld");
    EXPECT_EQ(ActionNamed("ignore"), BlockAction::Ignore);
    EXPECT_FALSE(ActionNamed("drop").has_value());
}

TEST(ScreeningTest, EachFaultOfAPatternIsNamed) {
    const std::pair<std::string, PatternFault> rows[] = {
        {"02*", PatternFault::None},
        {"withheld", PatternFault::None},
        {"unknown", PatternFault::None},
        {std::string(32, '1'), PatternFault::None},
        {"", PatternFault::Empty},
        {std::string(33, '1'), PatternFault::TooLong},
        {"02-123", PatternFault::BadCharacter},
        {"02 123", PatternFault::BadCharacter},
        {"Withheld", PatternFault::BadCharacter},
    };
    for (const auto& [pattern, fault] : rows) {
        EXPECT_EQ(PatternFaultOf(pattern), fault) << pattern;
        EXPECT_EQ(PatternProblem(pattern).empty(), fault == PatternFault::None) << pattern;
    }
}

TEST(ScreeningTest, AChangedRuleKeepsItsHitsAndIsReadOneAtATime) {
    vt::test::TestEnvironment env;
    vt::FixedClock clock = vt::FixedClock::At(2026, 12, 9, 10, 0, 0);
    const auto db = env.AppHome() / kDatabaseFileName;
    ASSERT_TRUE(PrepareDatabase(clock, db).ok());
    CRSBlockList list(db);
    for (const char* p : {"070*", "0212345678", "withheld"}) ASSERT_TRUE(list.Add(Block(p)).ok());
    ASSERT_TRUE(list.RecordHit("0212345678", clock.NowLocal()).ok());

    ScreeningRule permit = Permit("0212345678");
    permit.note = "거래처";
    ASSERT_TRUE(list.Change(permit).ok());
    ScreeningRule greeting = Block("070*", BlockAction::Greeting);
    ASSERT_TRUE(list.Change(greeting).ok());
    EXPECT_EQ(list.Change(Block("031*")).code(), storage::ErrorCode::NoCurrentRecord);

    CRSBlockList reader(db);
    ASSERT_TRUE(reader.ShowAll().ok());
    ASSERT_EQ(reader.GetRecordCount(), 3);
    ASSERT_TRUE(reader.SetAbsolutePosition(1).ok());
    const ScreeningRule second = reader.CurrentRule();
    EXPECT_EQ(second.pattern, "0212345678");
    EXPECT_EQ(second.kind, RuleKind::Permit);
    EXPECT_EQ(second.note, "거래처");
    EXPECT_EQ(second.hits, 1);
    ASSERT_TRUE(second.lastHit.has_value());
    ASSERT_TRUE(reader.SetAbsolutePosition(0).ok());
    EXPECT_EQ(reader.CurrentRule().action, BlockAction::Greeting);
    EXPECT_EQ(reader.CurrentRule().kind, RuleKind::Block);
    ASSERT_TRUE(reader.SetAbsolutePosition(2).ok());
    EXPECT_EQ(reader.CurrentRule().pattern, "withheld");
    // The set is re-read on demand: a rule added elsewhere shows.
    ASSERT_TRUE(list.Add(Block("1588*")).ok());
    ASSERT_TRUE(reader.ShowAll().ok());
    EXPECT_EQ(reader.GetRecordCount(), 4);
}

TEST(ScreeningTest, TheStoreKeepsRulesRefusesBadOnesAndCountsHits) {
    vt::test::TestEnvironment env;
    vt::FixedClock clock = vt::FixedClock::At(2026, 12, 9, 10, 0, 0);
    const auto db = env.AppHome() / kDatabaseFileName;
    ASSERT_TRUE(PrepareDatabase(clock, db).ok());
    CRSBlockList list(db);
    ScreeningRule spam = Block("070*", BlockAction::Ignore);
    spam.note = "광고";
    ASSERT_TRUE(list.Add(spam).ok());
    ASSERT_TRUE(list.Add(Permit("07012345678")).ok());
    const storage::Status twice = list.Add(Block("070*"));
    EXPECT_EQ(twice.code(), storage::ErrorCode::InvalidArgument);
    EXPECT_EQ(twice.message(), "070*에 대한 규칙이 이미 있습니다");
    EXPECT_EQ(list.Add(Block("02-1")).code(), storage::ErrorCode::InvalidArgument);
    ASSERT_TRUE(list.RecordHit("070*", clock.NowLocal()).ok());
    ASSERT_TRUE(list.RecordHit("070*", clock.NowLocal()).ok());

    CRSBlockList again(db);  // another user of the file sees the same
    auto rules = again.Rules();
    ASSERT_TRUE(rules.ok());
    ASSERT_EQ(rules.value().size(), 2u);
    EXPECT_EQ(rules.value()[0].pattern, "070*");
    EXPECT_EQ(rules.value()[0].action, BlockAction::Ignore);
    EXPECT_EQ(rules.value()[0].note, "광고");
    EXPECT_EQ(rules.value()[0].hits, 2);
    ASSERT_TRUE(rules.value()[0].lastHit.has_value());
    EXPECT_EQ(rules.value()[0].lastHit->hour, 10);
    EXPECT_EQ(rules.value()[1].kind, RuleKind::Permit);
    EXPECT_TRUE(again.Remove("070*").ok());
    EXPECT_EQ(again.Remove("070*").code(), storage::ErrorCode::NoCurrentRecord);
    EXPECT_EQ(again.Rules().value().size(), 1u);
}

}  // namespace
}  // namespace vantelo
