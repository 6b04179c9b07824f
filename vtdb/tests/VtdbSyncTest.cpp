// "vtdb sync" against a real address-book server (Radicale) of the test's
// own: what changed is printed line by line, and each problem is one line
// that does not stop the rest.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "VtdbRun.h"
#include "platform/IniStore.h"
#include "testsupport/RadicaleTestServer.h"
#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;
using Output = vt::test::VtdbOutput;

size_t Lines(const std::string& text) {
    size_t n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

class VtdbSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Set("DBUS_SESSION_BUS_ADDRESS", "");
        server_ = std::make_unique<vt::test::RadicaleTestServer>(env_.Root() / "radicale");
        url_ = server_->CreateAddressBook("contacts");
    }

    void Settings(const std::string& password) {
        const fs::path file = env_.Root() / "carddav.pw";
        std::ofstream(file) << password << "\n";
        ::chmod(file.c_str(), 0600);
        vt::IniStore store(vt::SettingsFilePath());
        store.SetString("CardDav", "Url", url_);
        store.SetString("CardDav", "User", server_->User());
        store.SetString("CardDav", "PasswordFile", file.string());
        ASSERT_TRUE(store.Save());
    }

    void Put(const std::string& name, const std::string& text) {
        const auto r = server_->Curl("PUT", url_ + name, text, {"Content-Type: text/vcard"});
        ASSERT_EQ(r.status / 100, 2) << r.status;
    }

    Output Vtdb(const std::vector<std::string>& args) {
        return vt::test::RunVtdb(args, env_.Root() / "stderr");
    }

    vt::test::TestEnvironment env_;
    std::unique_ptr<vt::test::RadicaleTestServer> server_;
    std::string url_;
};

TEST_F(VtdbSyncTest, OneSyncPrintsWhatChangedAndTheNextCallerIsNamed) {
    Settings("s3cret");
    Put("kim.vcf",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:kim\r\nFN:김철수\r\nTEL;TYPE=CELL:01022223333\r\n"
        "END:VCARD\r\n");
    ASSERT_EQ(Vtdb({"add-contact", "Name=이영희", "HomePhone=0212345678"}).code, 0);
    const Output sync = Vtdb({"sync"});
    EXPECT_EQ(sync.code, 0) << sync.err;
    EXPECT_NE(sync.out.find("추가됨(서버에서): 김철수\n"), std::string::npos) << sync.out;
    EXPECT_NE(sync.out.find("서버에 추가함: 이영희\n"), std::string::npos) << sync.out;
    EXPECT_NE(sync.out.find("주소록 동기화: 받음 1, 보냄 1, 충돌 0\n"), std::string::npos);
    EXPECT_EQ(Vtdb({"lookup", "01022223333"}).out, "김철수\n");

    const Output again = Vtdb({"sync"});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, "주소록 동기화: 바뀐 것 없음\n");
}

TEST_F(VtdbSyncTest, EachProblemIsOneLine) {
    struct Case {
        const char* what;
        std::string password;
        std::string url;
        const char* inError;
    };
    const std::vector<Case> cases = {
        {"wrong password", "wrong", "", "(401)"},
        {"no server there", "s3cret", "http://127.0.0.1:1/desk/contacts/", "연결할 수 없습니다"},
        {"not configured", "s3cret", "-", "[CardDav] Url"},
    };
    for (const Case& c : cases) {
        Settings(c.password);
        if (!c.url.empty()) {
            vt::IniStore store(vt::SettingsFilePath());
            ASSERT_TRUE(store.Load());
            store.SetString("CardDav", "Url", c.url == "-" ? "" : c.url);
            ASSERT_TRUE(store.Save());
        }
        const Output r = Vtdb({"sync"});
        EXPECT_EQ(r.code, 1) << c.what;
        EXPECT_EQ(Lines(r.err), 1u) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find(c.inError), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.what;
    }
    // In English with the user's language set so.
    Settings("wrong");
    env_.Set("LANGUAGE", "en");
    env_.Set("LANG", "en_US.UTF-8");
    env_.Set("LC_ALL", "en_US.UTF-8");
    const Output english = Vtdb({"sync"});
    EXPECT_NE(english.err.find("401"), std::string::npos) << english.err;
    EXPECT_EQ(english.err.find("로그인"), std::string::npos) << english.err;
}

}  // namespace
