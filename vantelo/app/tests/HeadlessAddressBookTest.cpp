// The running phone (headless, on the simulated line) with an address book
// on a real CardDAV server (Radicale) of the test's own: its sync runs on a
// thread of its own, a card put on the server names the next caller, and a
// server that goes away is one line while the phone keeps working.
// Numbers are in national digits: other ways of writing them are matched by
// the phone-number normalisation, not by the sync.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "HeadlessProcess.h"
#include "linesim/ScopedDaemon.h"
#include "platform/IniStore.h"
#include "testsupport/RadicaleTestServer.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

class HeadlessAddressBook : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Set("DBUS_SESSION_BUS_ADDRESS", "");
        ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance(), database_).ok());
        server_ = std::make_unique<vt::test::RadicaleTestServer>(env_.Root() / "radicale");
        url_ = server_->CreateAddressBook("contacts");
        const fs::path password = env_.Root() / "carddav.pw";
        std::ofstream(password) << server_->Password() << "\n";
        ::chmod(password.c_str(), 0600);
        vt::IniStore store(vt::SettingsFilePath());
        store.SetString("CardDav", "Url", url_);
        store.SetString("CardDav", "User", server_->User());
        store.SetString("CardDav", "PasswordFile", password.string());
        ASSERT_TRUE(store.Save());
        ASSERT_EQ(daemon_.Command("speed 20").rfind("OK", 0), 0u);
    }

    void Put(const std::string& name, const std::string& fn, const std::string& cell) {
        const auto r = server_->Curl("PUT", url_ + name,
                                     "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + name + "\r\nFN:" + fn +
                                         "\r\nTEL;TYPE=CELL:" + cell + "\r\nEND:VCARD\r\n",
                                     {"Content-Type: text/vcard"});
        ASSERT_EQ(r.status / 100, 2);
    }

    vt::test::TestEnvironment env_;
    linesim::test::ScopedDaemon daemon_{0};
    fs::path database_ = env_.AppHome() / kDatabaseFileName;
    std::unique_ptr<vt::test::RadicaleTestServer> server_;
    std::string url_;
};

TEST_F(HeadlessAddressBook, ACardOnTheServerNamesTheNextCallerAndAnAbsentServerIsOneLine) {
    Put("kim.vcf", "김철수", "01022223333");
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    ASSERT_TRUE(phone.WaitFor("주소록 동기화: 받음 1, 보냄 0, 충돌 0", 20s))
        << Story(phone, env_.AppHome());

    ASSERT_EQ(daemon_.Command("ring 1000 1000").rfind("OK", 0), 0u);
    ASSERT_TRUE(phone.WaitFor("status: 전화가 왔습니다.")) << Story(phone, env_.AppHome());
    daemon_.Command("cid 01022223333");
    ASSERT_TRUE(phone.WaitFor("number: 김철수\\n01022223333")) << Story(phone, env_.AppHome());

    // On demand: a second card arrives with the next sync asked for.
    Put("lee.vcf", "이영희", "01044445555");
    phone.Send("sync");
    ASSERT_TRUE(phone.WaitFor("주소록 동기화: 받음 1, 보냄 0, 충돌 0", 20s))
        << Story(phone, env_.AppHome());

    // The server goes away: one line, said once however often it is asked.
    server_.reset();
    phone.Send("sync");
    const auto away = [](const std::string& l) {
        return l.find("주소록 서버에 연결할 수 없습니다") != std::string::npos;
    };
    ASSERT_TRUE(phone.WaitForLine(away, 20s)) << Story(phone, env_.AppHome());
    phone.Send("sync");
    phone.Send("memo 아직 살아 있음");
    ASSERT_TRUE(phone.WaitFor("memo: 아직 살아 있음")) << Story(phone, env_.AppHome());
    EXPECT_EQ(phone.Terminate(), 0);
    const std::string all = phone.Transcript();
    size_t lines = 0;
    for (size_t at = all.find("주소록 서버에 연결할 수 없습니다"); at != std::string::npos;
         at = all.find("주소록 서버에 연결할 수 없습니다", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << all;
}

}  // namespace
}  // namespace vantelo
