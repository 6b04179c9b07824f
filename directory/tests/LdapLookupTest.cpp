// Caller look-ups against a real slapd of the test's own.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <condition_variable>
#include <fstream>
#include <mutex>

#include "directory/LdapClient.h"
#include "directory/LdapLookup.h"
#include "directory/NameCache.h"
#include "testsupport/LdapTestServer.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"

namespace directory {
namespace {

using namespace std::chrono_literals;
using Outcome = LdapAnswer::Outcome;

class LdapLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_.Add({"kim", "Kim Chulsoo", "김철수", {"+82 2-765-4321"}, {}, {}});
        server_.Add({"lee", "Lee Younghee", "", {}, {"010.2222.3333"}, {}});
        server_.Add({"park", "Park", "박민수", {"(031) 765-4321"}, {}, {"02)555-0101"}});
        settings_.server = server_.Url();
        settings_.base = vt::test::LdapTestServer::kBase;
    }
    // A generous deadline: these checks are about answers, not speed.
    LdapAnswer Find(LdapClient& client, const std::string& number) {
        return client.Find(number, std::chrono::steady_clock::now() + 10s);
    }

    vt::test::TestEnvironment env_;
    vt::test::LdapTestServer server_{env_.Root() / "slapd"};
    LdapSettings settings_;
};

TEST_F(LdapLookupTest, AnEntryNamesTheCallerWhateverWayItWritesTheNumber) {
    LdapClient client(settings_, "");
    struct Case {
        const char* caller;
        Outcome outcome;
        const char* name;
    };
    const Case cases[] = {
        {"027654321", Outcome::Found, "김철수"},          // written +82 2-765-4321
        {"01022223333", Outcome::Found, "Lee Younghee"},  // no displayName: cn
        {"0317654321", Outcome::Found, "박민수"},         // same last digits, another area
        {"025550101", Outcome::Found, "박민수"},          // homePhone
        {"027654322", Outcome::NotFound, ""},
        {"0517654321", Outcome::NotFound, ""},  // ends alike, is not the number
    };
    for (const Case& c : cases) {
        const LdapAnswer answer = Find(client, c.caller);
        EXPECT_EQ(answer.outcome, c.outcome) << c.caller << ": " << answer.error;
        EXPECT_EQ(answer.name, c.name) << c.caller;
    }
    // Only the attributes the settings name are searched.
    settings_.numberAttributes = {"telephoneNumber"};
    LdapClient telephoneOnly(settings_, "");
    EXPECT_EQ(Find(telephoneOnly, "01022223333").outcome, Outcome::NotFound);
    EXPECT_EQ(Find(telephoneOnly, "027654321").name, "김철수");
}

TEST_F(LdapLookupTest, ANumberWithFilterCharactersMatchesNothing) {
    LdapClient client(settings_, "");
    for (const char* crafted : {"*", "*)(uid=*", "4321)(|(cn=*", "\\2a", "*4321", "(*)"}) {
        const LdapAnswer answer = Find(client, crafted);
        EXPECT_EQ(answer.outcome, Outcome::NotFound) << crafted << ": " << answer.error;
        EXPECT_EQ(answer.name, "") << crafted;
    }
    EXPECT_EQ(Find(client, "027654321").name, "김철수") << "the connection still serves";
}

TEST_F(LdapLookupTest, ABindWithThePasswordFileAndAWrongPasswordSaysWhy) {
    settings_.bindDn = vt::test::LdapTestServer::kAdminDn;
    LdapClient bound(settings_, vt::test::LdapTestServer::kAdminPassword);
    EXPECT_EQ(Find(bound, "027654321").name, "김철수");
    LdapClient wrong(settings_, "not-the-password");
    const LdapAnswer refused = Find(wrong, "027654321");
    EXPECT_EQ(refused.outcome, Outcome::Failed);
    EXPECT_NE(refused.error.find("bind as cn=admin"), std::string::npos) << refused.error;
    EXPECT_NE(refused.error.find("Invalid credentials"), std::string::npos) << refused.error;

    // Through the look-up thread, the password comes from the 0600 file.
    const auto file = env_.Root() / "ldap.pw";
    std::ofstream(file) << vt::test::LdapTestServer::kAdminPassword << "\n";
    ::chmod(file.c_str(), 0600);
    settings_.passwordFile = file;
    std::mutex mutex;
    std::condition_variable done;
    std::vector<LdapAnswer> answers;
    {
        LdapLookup lookup(settings_, [&](const std::string&, const LdapAnswer& answer) {
            std::lock_guard lock(mutex);
            answers.push_back(answer);
            done.notify_all();
        });
        lookup.Ask("027654321");
        std::unique_lock lock(mutex);
        ASSERT_TRUE(done.wait_for(lock, 30s, [&] { return !answers.empty(); }));
    }
    EXPECT_EQ(answers[0].name, "김철수") << answers[0].error;
}

TEST_F(LdapLookupTest, AServerThatIsAwayOrSilentIsAFailureOfOneLine) {
    vt::test::SilentServer silent;
    const std::pair<std::string, std::string> away[] = {
        {silent.LdapUrl(), "제때 응답이 없습니다"},
        {"ldap://127.0.0.1:" + std::to_string(vt::test::FreeLoopbackPort()), "Can't contact"},
    };
    for (const auto& [url, why] : away) {
        settings_.server = url;
        LdapClient client(settings_, "");
        const LdapAnswer answer =
            client.Find("027654321", std::chrono::steady_clock::now() + kLookupBudget);
        EXPECT_EQ(answer.outcome, Outcome::Failed) << url;
        EXPECT_NE(answer.error.find(why), std::string::npos) << answer.error;
        EXPECT_EQ(answer.error.find('\n'), std::string::npos) << answer.error;
    }
}

TEST(NameCacheTest, AnswersLastTheDay) {
    NameCache cache;
    EXPECT_FALSE(cache.Find("027654321", "2026-12-09"));
    cache.Keep("027654321", "김철수", "2026-12-09");
    cache.Keep("0311112222", "", "2026-12-09");  // nobody: asked, not again today
    EXPECT_EQ(cache.Find("+82 2-765-4321", "2026-12-09"), "김철수") << "any writing";
    EXPECT_EQ(cache.Find("0311112222", "2026-12-09"), "");
    EXPECT_FALSE(cache.Find("027654321", "2026-12-10")) << "a new day asks again";
    EXPECT_FALSE(cache.Find("0311112222", "2026-12-10"));
}

}  // namespace
}  // namespace directory
