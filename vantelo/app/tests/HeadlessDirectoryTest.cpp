// The headless phone names callers from an LDAP directory: the real program
// on the simulated line, a slapd of the test's own on loopback, and a
// server that never answers.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "HeadlessProcess.h"
#include "linesim/ScopedDaemon.h"
#include "platform/Clock.h"
#include "platform/IniStore.h"
#include "testsupport/LdapTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

class HeadlessDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SaveSettings(PhoneSettings{}));
        ASSERT_TRUE(PrepareDatabase(clock_, database_).ok());
        CRSAddressList contacts;
        ASSERT_TRUE(contacts.Open(database_).ok());
        ContactRecord hong;
        *hong.Field("Name") = "홍길동";
        *hong.Field("CellPhone") = "+82 10-1234-5678";
        ASSERT_TRUE(contacts.AddContact(hong).ok());
        ASSERT_EQ(daemon_.Command("speed 20").rfind("OK", 0), 0u);
    }
    void UseDirectory(const std::string& url) {
        vt::IniStore ini(vt::SettingsFilePath());
        ASSERT_TRUE(ini.Load());
        ini.SetString("Ldap", "Server", url);
        ini.SetString("Ldap", "Base", vt::test::LdapTestServer::kBase);
        ASSERT_TRUE(ini.Save());
    }
    std::string Sim(const std::string& command) { return daemon_.Command(command); }
    std::string Story(HeadlessProcess& phone) { return vantelo::Story(phone, env_.AppHome()); }

    vt::test::TestEnvironment env_;
    linesim::test::ScopedDaemon daemon_{0};
    vt::SystemClock clock_;
    fs::path database_ = env_.AppHome() / kDatabaseFileName;
};

TEST_F(HeadlessDirectory, AnEntryNamesACallerNoContactBookKnows) {
    vt::test::LdapTestServer directory(env_.Root() / "slapd");
    directory.Add({"park", "Park Minsu", "박민수", {"(031) 765-4321"}, {}, {}});
    // The contact book comes first, whatever the directory says.
    directory.Add({"other", "Other", "다른사람", {}, {"010.1234.5678"}, {}});
    UseDirectory(directory.Url());
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());

    // 1. A caller only the directory knows: the number at once, then the name.
    ASSERT_EQ(Sim("ring 1000 1000 1").rfind("OK", 0), 0u);
    ASSERT_TRUE(phone.WaitFor("status: 전화가 왔습니다.")) << Story(phone);
    Sim("cid 0317654321");
    ASSERT_TRUE(phone.WaitFor("number: 0317654321")) << Story(phone);
    ASSERT_TRUE(phone.WaitFor("number: 박민수\\n0317654321")) << Story(phone);
    auto rows = CallRows(database_, 1);
    ASSERT_EQ(rows.size(), 1u) << Story(phone);
    EXPECT_EQ(rows[0].CallNum, "0317654321");
    EXPECT_EQ(rows[0].CallName, "박민수");

    // 2. A caller the book knows is named by the book.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(Sim("ring 1000 1000 1").rfind("OK", 0), 0u);
    Sim("cid 01012345678");
    ASSERT_TRUE(phone.WaitFor("number: 홍길동\\n01012345678")) << Story(phone);
    rows = CallRows(database_, 2);
    ASSERT_EQ(rows.size(), 2u) << Story(phone);
    EXPECT_EQ(rows[1].CallName, "홍길동");
    EXPECT_EQ(phone.Transcript().find("다른사람"), std::string::npos) << Story(phone);
    EXPECT_EQ(phone.Terminate(), 0) << Story(phone);
}

TEST_F(HeadlessDirectory, ADirectoryThatNeverAnswersCostsOneLineAndNothingElse) {
    vt::test::SilentServer silent;
    UseDirectory(silent.LdapUrl());
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    std::size_t calls = 0;
    for (const char* number : {"0317654321", "0311112222"}) {
        ASSERT_EQ(Sim("ring 1000 1000 1").rfind("OK", 0), 0u);
        ASSERT_TRUE(phone.WaitFor("popup: Vantelo\\n Ring")) << Story(phone);
        Sim(std::string("cid ") + number);
        ASSERT_TRUE(phone.WaitFor(std::string("number: ") + number)) << Story(phone);
        ASSERT_TRUE(phone.WaitFor("popup: closed")) << Story(phone);
        ASSERT_EQ(CallRows(database_, ++calls).size(), calls) << Story(phone);
    }
    const auto rows = CallRows(database_, calls);
    for (const auto& row : rows) EXPECT_EQ(row.CallName, "");
    const std::string story = phone.Transcript();
    const auto first = story.find("디렉터리 서버에 물을 수 없어");
    ASSERT_NE(first, std::string::npos) << story;
    EXPECT_NE(story.find("제때 응답이 없습니다", first), std::string::npos) << story;
    EXPECT_EQ(story.find("디렉터리 서버에 물을 수 없어", first + 1), std::string::npos)
        << "said once, not at every call:\n"
        << story;
    EXPECT_EQ(phone.Terminate(), 0) << Story(phone);
}

}  // namespace
}  // namespace vantelo
