// `vtdb add-contact` on an office's shared store while the server is away:
// the contact goes into this desk's copy of the book and its add into the
// desk's spool; the next vtdb run that reaches the server hands it over,
// once.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "VtdbRun.h"
#include "platform/Clock.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/OfflineCopy.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace {

using Args = std::vector<std::string>;

class VtdbSharedStore : public ::testing::Test {
protected:
    static vt::test::PostgresServer& Server() {
        static vt::test::PostgresServer server;  // its own: the test stops it
        return server;
    }
    void SetUp() override {
        vantelo::PhoneSettings s;
        s.DatabaseUrl = uri_;
        ASSERT_TRUE(vantelo::SaveSettings(s));
        ASSERT_TRUE(vantelo::PrepareDatabase(vt::SystemClock::Instance(), uri_).ok());
    }
    void TearDown() override { Server().Resume(); }

    vt::test::VtdbOutput Vtdb(const Args& args) {
        return vt::test::RunVtdb(args, env_.Root() / "stderr");
    }

    vt::test::TestEnvironment env_;
    std::string uri_ = Server().NewDatabase();
};

TEST_F(VtdbSharedStore, AContactAddedWhileAwayReachesTheServerOnceAtTheNextRun) {
    ASSERT_EQ(Vtdb({"add-contact", "Name=홍길동", "HomePhone=0212345678"}).out, "1\n");
    Server().Halt();
    for (const char* name : {"Name=박민수", "Name=최지우"}) {
        const auto away = Vtdb({"add-contact", name, "HomePhone=0233334444"});
        EXPECT_EQ(away.code, 0) << away.err;
        EXPECT_EQ(away.out, "");  // no server ID yet
        EXPECT_EQ(away.err,
                  "vtdb: 공유 저장소에 연결할 수 없어 이 자리의 연락처 사본에 추가했습니다. 다시 "
                  "연결되면 서버로 옮깁니다\n");
    }
    // The desk's copy has them meanwhile, not yet with a server ID.
    vantelo::CRSAddressList copy;
    ASSERT_TRUE(copy.Open(env_.AppHome() / vantelo::OfflineCopy::kFileName).ok());
    ASSERT_EQ(copy.GetRecordCount(), 2);
    EXPECT_NE(Vtdb({"contacts"}).code, 0) << "listing needs the server, as before";

    Server().Resume();
    const auto back = Vtdb({"contacts"});
    EXPECT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(back.err, "vtdb: 이 자리에 남겨 둔 연락처 변경 2건을 서버로 옮겼습니다\n");
    EXPECT_EQ(back.out, "1\t홍길동\t\t0212345678" + std::string(15, '\t') + "\n" +
                            "2\t박민수\t\t0233334444" + std::string(15, '\t') + "\n" +
                            "3\t최지우\t\t0233334444" + std::string(15, '\t') + "\n");
    const auto again = Vtdb({"contacts"});
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(again.out, back.out);
}

}  // namespace
