// vtdb's call screening rules, run as a program on a private application
// folder and read back through the phone's own record set.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "VtdbRun.h"
#include "testsupport/DatabaseFixture.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/Screening.h"

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

using Output = vt::test::VtdbOutput;

class VtdbBlockTest : public ::testing::Test {
protected:
    // The exact texts below are the English ones (VtdbTest holds both).
    VtdbBlockTest() { env_.SetLocale("en_US.UTF-8"); }

    Output Vtdb(const Args& args) { return vt::test::RunVtdb(args, env_.Root() / "stderr"); }

    std::string List() { return Vtdb({"block", "list"}).out; }
    fs::path Database() const { return env_.AppHome() / "VanteloDB1.db"; }

    vt::test::TestEnvironment env_;
};

struct Case {
    Args args;
    int code;
    std::string out;
    std::string err;
};

TEST_F(VtdbBlockTest, InvocationsGiveTheirExactOutputs) {
    const Output help = Vtdb({"--help"});
    ASSERT_EQ(help.code, 0);
    for (const char* line :
         {"vtdb block add PATTERN [--permit] [--action hangup|ignore|greeting] [--note TEXT]\n",
          "vtdb block list\n", "vtdb block remove PATTERN\n"})
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    const std::string usage = help.out;
    const std::string digits32(32, '1'), digits33(33, '1');

    // In order, on one database: the bad rows must leave the rules as they were.
    const std::vector<Case> cases = {
        {{"block", "add", "0212345678"}, 0, "", ""},
        {{"block", "add", "02*", "--action", "ignore", "--note", "tab\there"}, 0, "", ""},
        {{"block", "add", "--permit", "withheld", "--note", "friend"}, 0, "", ""},
        {{"block", "add", "0?0*", "--action", "greeting"}, 0, "", ""},
        {{"block", "add", "unknown", "--action", "hangup", "--note", "--permit"}, 0, "", ""},
        {{"block", "add", digits32}, 0, "", ""},
        {{"block", "add", "0212345678"}, 1, "", "vtdb: a rule for 0212345678 exists already\n"},
        {{"block", "add", "withheld", "--permit"},
         1,
         "",
         "vtdb: a rule for withheld exists already\n"},
        {{"block", "add", ""}, 1, "", "vtdb: the pattern is empty\n"},
        {{"block", "add", digits33}, 1, "", "vtdb: the pattern is longer than 32 characters\n"},
        {{"block", "add", "12a"},
         1,
         "",
         "vtdb: the pattern may hold only digits, * and ? (or be withheld or unknown): 12a\n"},
        {{"block", "add", "Withheld"},
         1,
         "",
         "vtdb: the pattern may hold only digits, * and ? (or be withheld or unknown): Withheld\n"},
        {{"block", "add", "02 1234"},
         1,
         "",
         "vtdb: the pattern may hold only digits, * and ? (or be withheld or unknown): 02 1234\n"},
        {{"block", "add", "5", "--permit", "--action", "ignore"},
         1,
         "",
         "vtdb: --action cannot go with --permit: a permit rule lets the call through\n"},
        {{"block", "add", "5", "--action", "drop"},
         1,
         "",
         "vtdb: --action needs hangup, ignore or greeting\n"},
        {{"block", "add", "5", "--action"}, 1, "", "vtdb: --action needs 1 value(s)\n"},
        {{"block", "add", "5", "--note"}, 1, "", "vtdb: --note needs 1 value(s)\n"},
        {{"block", "add"}, 1, "", "vtdb: block add needs one PATTERN\n"},
        {{"block", "add", "--permit"}, 1, "", "vtdb: block add needs one PATTERN\n"},
        {{"block", "add", "5", "6"}, 1, "", "vtdb: unexpected argument '6'\n"},
        {{"block", "remove"}, 1, "", "vtdb: block remove needs one PATTERN\n"},
        {{"block", "remove", "5", "6"}, 1, "", "vtdb: unexpected argument '6'\n"},
        {{"block", "remove", "999"}, 1, "", "vtdb: no rule for 999\n"},
        {{"block", "remove", "02"}, 1, "", "vtdb: no rule for 02\n"},
        {{"block", "list", "extra"}, 1, "", "vtdb: unexpected argument 'extra'\n"},
        {{"block"}, 2, "", "vtdb: block needs add, list or remove\n" + usage},
        {{"block", "drop", "5"}, 2, "", "vtdb: unknown command 'block drop'\n" + usage},
        {{"block", "list"},
         0,
         "0212345678\tblock\thangup\t0\t-\t\n"
         "02*\tblock\tignore\t0\t-\ttab here\n"
         "withheld\tpermit\t-\t0\t-\tfriend\n"
         "0?0*\tblock\tgreeting\t0\t-\t\n"
         "unknown\tblock\thangup\t0\t-\t--permit\n" +
             digits32 + "\tblock\thangup\t0\t-\t\n",
         ""},
    };
    for (const Case& c : cases) {
        std::string name;
        for (const auto& a : c.args) name += " " + a;
        const Output o = Vtdb(c.args);
        EXPECT_EQ(o.code, c.code) << name;
        EXPECT_EQ(o.out, c.out) << name;
        EXPECT_EQ(o.err, c.err) << name;
    }
}

TEST_F(VtdbBlockTest, ListFollowsAddAndRemove) {
    EXPECT_EQ(List(), "");
    for (const char* pattern : {"111", "222", "333"})
        ASSERT_EQ(Vtdb({"block", "add", pattern}).code, 0) << pattern;
    EXPECT_EQ(List(),
              "111\tblock\thangup\t0\t-\t\n"
              "222\tblock\thangup\t0\t-\t\n"
              "333\tblock\thangup\t0\t-\t\n");
    const Output removed = Vtdb({"block", "remove", "222"});
    EXPECT_EQ(removed.code, 0);
    EXPECT_EQ(removed.out + removed.err, "");
    EXPECT_EQ(List(),
              "111\tblock\thangup\t0\t-\t\n"
              "333\tblock\thangup\t0\t-\t\n");
    EXPECT_EQ(Vtdb({"block", "remove", "222"}).code, 1);
    // A removed pattern may be added again, as a rule of another kind.
    ASSERT_EQ(Vtdb({"block", "add", "222", "--permit", "--note", "a\r\nb"}).code, 0);
    ASSERT_EQ(Vtdb({"block", "remove", "111"}).code, 0);
    EXPECT_EQ(List(),
              "333\tblock\thangup\t0\t-\t\n"
              "222\tpermit\t-\t0\t-\ta  b\n");
    ASSERT_EQ(Vtdb({"block", "remove", "333"}).code, 0);
    ASSERT_EQ(Vtdb({"block", "remove", "222"}).code, 0);
    EXPECT_EQ(List(), "");
}

TEST_F(VtdbBlockTest, RulesAreTheOnesThePhoneReads) {
    ASSERT_EQ(Vtdb({"block", "add", "070*", "--action", "greeting", "--note", "ads\tcalls"}).code,
              0);
    ASSERT_EQ(Vtdb({"block", "add", "0701234*", "--permit"}).code, 0);
    ASSERT_EQ(Vtdb({"block", "add", "withheld", "--action", "ignore"}).code, 0);
    {
        vantelo::CRSBlockList set(Database());
        auto rules = set.Rules();
        ASSERT_TRUE(rules.ok()) << rules.status().ToString();
        ASSERT_EQ(rules.value().size(), 3u);
        const vantelo::ScreeningRule& ads = rules.value()[0];
        EXPECT_EQ(ads.pattern, "070*");
        EXPECT_EQ(ads.kind, vantelo::RuleKind::Block);
        EXPECT_EQ(ads.action, vantelo::BlockAction::Greeting);
        EXPECT_EQ(ads.note, "ads\tcalls");  // stored as given; only the listing flattens it
        EXPECT_EQ(ads.hits, 0);
        EXPECT_FALSE(ads.lastHit);
        EXPECT_EQ(rules.value()[1].pattern, "0701234*");
        EXPECT_EQ(rules.value()[1].kind, vantelo::RuleKind::Permit);
        EXPECT_EQ(rules.value()[2].action, vantelo::BlockAction::Ignore);

        struct Decision {
            vantelo::ScreenedCaller caller;
            bool blocked;
            std::string pattern;
        };
        for (const Decision& d :
             std::vector<Decision>{{{"07055550000", false, false}, true, "070*"},
                                   {{"07012345678", false, false}, false, "0701234*"},
                                   {{"", true, false}, true, "withheld"},
                                   {{"", false, true}, false, ""},
                                   {{"0212345678", false, false}, false, ""}}) {
            const auto decision = vantelo::Decide(rules.value(), d.caller);
            EXPECT_EQ(decision.blocked, d.blocked) << d.caller.number;
            EXPECT_EQ(decision.pattern, d.pattern) << d.caller.number;
        }

        // What the phone writes, vtdb shows.
        ASSERT_TRUE(set.RecordHit("070*", vt::LocalTime{2024, 2, 29, 9, 5, 7}).ok());
        ASSERT_TRUE(set.RecordHit("070*", vt::LocalTime{2024, 3, 1, 23, 59, 0}).ok());
        vantelo::ScreeningRule added;
        added.pattern = "unknown";
        added.action = vantelo::BlockAction::Ignore;
        added.note = "no caller ID";
        ASSERT_TRUE(set.Add(added).ok());
    }
    EXPECT_EQ(List(),
              "070*\tblock\tgreeting\t2\t2024-03-01 23:59:00\tads calls\n"
              "0701234*\tpermit\t-\t0\t-\t\n"
              "withheld\tblock\tignore\t0\t-\t\n"
              "unknown\tblock\tignore\t0\t-\tno caller ID\n");
    ASSERT_EQ(Vtdb({"block", "remove", "070*"}).code, 0);
    const Output dup = Vtdb({"block", "add", "unknown"});
    EXPECT_EQ(dup.code, 1);
    EXPECT_EQ(dup.err, "vtdb: a rule for unknown exists already\n");
    {
        vantelo::CRSBlockList set(Database());
        auto rules = set.Rules();
        ASSERT_TRUE(rules.ok()) << rules.status().ToString();
        std::vector<std::string> patterns;
        for (const auto& r : rules.value()) patterns.push_back(r.pattern);
        EXPECT_EQ(patterns, (std::vector<std::string>{"0701234*", "withheld", "unknown"}));
    }
}

TEST_F(VtdbBlockTest, RecoveredFileKeepsTheRules) {
    ASSERT_EQ(Vtdb({"block", "add", "0212345678", "--note", "x"}).code, 0);
    ASSERT_EQ(Vtdb({"block", "add", "withheld", "--permit"}).code, 0);
    const std::string before = List();
    const fs::path saved = env_.Root() / "saved.db";
    const Output recover = Vtdb({"recover", saved.string()});
    ASSERT_EQ(recover.code, 0) << recover.err;
    EXPECT_NE(recover.out.find("BlockList: 2 copied, 0 could not be read\n"), std::string::npos)
        << recover.out;
    fs::rename(Database(), env_.Root() / "old.db");
    fs::remove(Database().string() + "-wal");
    fs::remove(Database().string() + "-shm");
    fs::rename(saved, Database());
    EXPECT_EQ(List(), before);
    EXPECT_EQ(Vtdb({"check"}).code, 0);
}

TEST_F(VtdbBlockTest, ReadOnlyFolderListsAndRefusesChangesInOneLine) {
    ASSERT_EQ(Vtdb({"block", "add", "0212345678"}).code, 0);
    const std::string before = vt::test::ReadText(Database());
    vt::test::ReadOnlyFolder readOnly(env_.AppHome(), vt::test::ReadOnlyFolder::Kind::Folder);
    if (!readOnly.Active())
        GTEST_SKIP() << readOnly.Why();
    EXPECT_EQ(List(), "0212345678\tblock\thangup\t0\t-\t\n");
    for (const Args& args : {Args{"block", "add", "123"}, Args{"block", "remove", "0212345678"}}) {
        const Output o = Vtdb(args);
        EXPECT_EQ(o.code, 1) << args[1];
        EXPECT_EQ(o.out, "") << args[1];
        EXPECT_EQ(o.err.rfind("vtdb: read-only", 0), 0u) << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    }
    EXPECT_EQ(vt::test::ReadText(Database()), before);
}

}  // namespace
